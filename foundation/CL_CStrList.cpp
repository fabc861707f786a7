#include "foundation/CL_CStrList.h"

#include <memory>

namespace PRIVATE_LIBRARY {

namespace {

template <class Add>
bool AddCopy(const CL_CString& text, Add add) {
    auto copy = std::make_unique<CL_CString>(text);
    if (!add(copy.get())) return false;
    copy.release();
    return true;
}

}  // namespace

bool CL_CStrList::AddTail(const CL_CString& text) {
    return AddCopy(text, [this](CL_CObj* object) { return CL_CObList::AddTail(object, true); });
}

bool CL_CStrList::AddTail(const char* text) { return AddTail(CL_CString(text)); }

bool CL_CStrList::AddHead(const CL_CString& text) {
    return AddCopy(text, [this](CL_CObj* object) { return CL_CObList::AddHead(object, true); });
}

const CL_CString* CL_CStrList::GetStringAt(int index) const { return static_cast<const CL_CString*>(GetAt(index)); }

}  // namespace PRIVATE_LIBRARY
