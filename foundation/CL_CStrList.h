// List of owned CL_CString copies.
#pragma once

#include "foundation/CL_CObList.h"
#include "foundation/CL_CString.h"

namespace PRIVATE_LIBRARY {

// CL_CObList that stores its own copy of every string added.
class CL_CStrList : public CL_CObList {
public:
    bool AddTail(const CL_CString& text);
    bool AddTail(const char* text);
    bool AddHead(const CL_CString& text);
    // Null for a bad index.
    const CL_CString* GetStringAt(int index) const;
};

}  // namespace PRIVATE_LIBRARY
