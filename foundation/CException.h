// Base exception of the library.
#pragma once

#include "foundation/CL_CString.h"

namespace FMT_LIBRARY {

// Message, throwing source unit and line; the message is what the user sees.
class CException {
public:
    CException(PRIVATE_LIBRARY::CL_CString message, const char* sourceFile, int line);
    CException(const CException& other) = default;
    CException& operator=(const CException& other) = default;

    virtual PRIVATE_LIBRARY::CL_CString& GetErrorMessage(PRIVATE_LIBRARY::CL_CString& out) const;
    virtual PRIVATE_LIBRARY::CL_CString& GetMessage(PRIVATE_LIBRARY::CL_CString& out) const;
    virtual ~CException();

    const char* GetSourceFile() const { return m_sourceFile.GetString(); }
    int GetLine() const { return m_line; }

protected:
    PRIVATE_LIBRARY::CL_CString m_message;
    PRIVATE_LIBRARY::CL_CString m_sourceFile;
    int m_line;
};

}  // namespace FMT_LIBRARY
