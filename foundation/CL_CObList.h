// Doubly linked list of CL_CObj pointers with a current position.
#pragma once

#include <cstdint>

#include "foundation/CL_CObj.h"

namespace PRIVATE_LIBRARY {

// One link of a CL_CObList; deletes its object on destruction when it owns it.
class CL_CObListItem : public CL_CObj {
public:
    CL_CObListItem(CL_CObj* object, bool owned);
    ~CL_CObListItem() override;
    CL_CObListItem(const CL_CObListItem&) = delete;
    CL_CObListItem& operator=(const CL_CObListItem&) = delete;

    CL_CObListItem* m_previous = nullptr;
    CL_CObListItem* m_next = nullptr;
    CL_CObj* m_object;
    bool m_owned;
};

// List of objects, each owned by its item or only referenced; at most kMaxCount items.
class CL_CObList : public CL_CObj {
public:
    static constexpr int kMaxCount = 2147483646;

    CL_CObList() = default;
    ~CL_CObList() override;
    CL_CObList(const CL_CObList&) = delete;
    CL_CObList& operator=(const CL_CObList&) = delete;

    // Both return false (object untouched) when the list is full or the object is null.
    bool AddTail(CL_CObj* object, bool owned = true);
    bool AddHead(CL_CObj* object, bool owned = true);
    // Inserts before the item at index (index == count appends); false for a bad index.
    bool InsertAt(int index, CL_CObj* object, bool owned = true);
    // Deletes the item (and its object when owned); false for a bad index.
    bool RemoveAt(int index);
    // Unlinks the item without deleting its object and returns the object; null for a bad index.
    CL_CObj* DetachAt(int index);
    void RemoveAll();

    int GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    CL_CObj* GetAt(int index) const;
    CL_CObj* GetHead() const;
    CL_CObj* GetTail() const;

    // Current position: MoveFirst/MoveLast/MoveNext/MovePrevious return the object there (null past the ends).
    CL_CObj* MoveFirst();
    CL_CObj* MoveLast();
    CL_CObj* MoveNext();
    CL_CObj* MovePrevious();
    CL_CObj* GetCurrent() const;

private:
    CL_CObListItem* ItemAt(int index) const;
    void Link(CL_CObListItem* item, CL_CObListItem* before);
    void Unlink(CL_CObListItem* item);

    CL_CObListItem* m_head = nullptr;
    CL_CObListItem* m_tail = nullptr;
    CL_CObListItem* m_current = nullptr;
    int m_count = 0;
};

}  // namespace PRIVATE_LIBRARY
