#include "foundation/CL_CObList.h"

namespace PRIVATE_LIBRARY {

CL_CObListItem::CL_CObListItem(CL_CObj* object, bool owned) : m_object(object), m_owned(owned) {}

CL_CObListItem::~CL_CObListItem() {
    if (m_owned) delete m_object;
}

CL_CObList::~CL_CObList() { RemoveAll(); }

void CL_CObList::Link(CL_CObListItem* item, CL_CObListItem* before) {
    item->m_next = before;
    item->m_previous = before != nullptr ? before->m_previous : m_tail;
    if (item->m_previous != nullptr) item->m_previous->m_next = item;
    else m_head = item;
    if (before != nullptr) before->m_previous = item;
    else m_tail = item;
    ++m_count;
}

// The current position moves to the next item when its own item leaves.
void CL_CObList::Unlink(CL_CObListItem* item) {
    if (m_current == item) m_current = item->m_next;
    if (item->m_previous != nullptr) item->m_previous->m_next = item->m_next;
    else m_head = item->m_next;
    if (item->m_next != nullptr) item->m_next->m_previous = item->m_previous;
    else m_tail = item->m_previous;
    item->m_previous = item->m_next = nullptr;
    --m_count;
}

CL_CObListItem* CL_CObList::ItemAt(int index) const {
    if (index < 0 || index >= m_count) return nullptr;
    CL_CObListItem* item;
    if (index <= m_count / 2) {
        item = m_head;
        for (int i = 0; i < index; ++i) item = item->m_next;
    } else {
        item = m_tail;
        for (int i = m_count - 1; i > index; --i) item = item->m_previous;
    }
    return item;
}

bool CL_CObList::AddTail(CL_CObj* object, bool owned) { return InsertAt(m_count, object, owned); }

bool CL_CObList::AddHead(CL_CObj* object, bool owned) { return InsertAt(0, object, owned); }

bool CL_CObList::InsertAt(int index, CL_CObj* object, bool owned) {
    if (object == nullptr || m_count >= kMaxCount || index < 0 || index > m_count) return false;
    CL_CObListItem* before = index == m_count ? nullptr : ItemAt(index);
    Link(new CL_CObListItem(object, owned), before);
    return true;
}

bool CL_CObList::RemoveAt(int index) {
    CL_CObListItem* item = ItemAt(index);
    if (item == nullptr) return false;
    Unlink(item);
    delete item;
    return true;
}

CL_CObj* CL_CObList::DetachAt(int index) {
    CL_CObListItem* item = ItemAt(index);
    if (item == nullptr) return nullptr;
    Unlink(item);
    CL_CObj* object = item->m_object;
    item->m_owned = false;
    delete item;
    return object;
}

void CL_CObList::RemoveAll() {
    CL_CObListItem* item = m_head;
    while (item != nullptr) {
        CL_CObListItem* next = item->m_next;
        delete item;
        item = next;
    }
    m_head = m_tail = m_current = nullptr;
    m_count = 0;
}

CL_CObj* CL_CObList::GetAt(int index) const {
    CL_CObListItem* item = ItemAt(index);
    return item != nullptr ? item->m_object : nullptr;
}

CL_CObj* CL_CObList::GetHead() const { return m_head != nullptr ? m_head->m_object : nullptr; }

CL_CObj* CL_CObList::GetTail() const { return m_tail != nullptr ? m_tail->m_object : nullptr; }

CL_CObj* CL_CObList::MoveFirst() {
    m_current = m_head;
    return GetCurrent();
}

CL_CObj* CL_CObList::MoveLast() {
    m_current = m_tail;
    return GetCurrent();
}

CL_CObj* CL_CObList::MoveNext() {
    if (m_current != nullptr) m_current = m_current->m_next;
    return GetCurrent();
}

CL_CObj* CL_CObList::MovePrevious() {
    if (m_current != nullptr) m_current = m_current->m_previous;
    return GetCurrent();
}

CL_CObj* CL_CObList::GetCurrent() const { return m_current != nullptr ? m_current->m_object : nullptr; }

}  // namespace PRIVATE_LIBRARY
