// Root of the utility library's class tree.
#pragma once

namespace PRIVATE_LIBRARY {

// Common base of the CL_ classes: a virtual destructor and nothing else.
class CL_CObj {
public:
    CL_CObj() = default;
    CL_CObj(const CL_CObj&) = default;
    CL_CObj& operator=(const CL_CObj&) = default;
    virtual ~CL_CObj();
};

}  // namespace PRIVATE_LIBRARY
