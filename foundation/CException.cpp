#include "foundation/CException.h"

#include <utility>

namespace FMT_LIBRARY {

using PRIVATE_LIBRARY::CL_CString;

CException::CException(CL_CString message, const char* sourceFile, int line)
    : m_message(std::move(message)), m_sourceFile(sourceFile), m_line(line) {}

CException::~CException() = default;

// The message alone: no source name, line or code.
CL_CString& CException::GetErrorMessage(CL_CString& out) const { return GetMessage(out); }

CL_CString& CException::GetMessage(CL_CString& out) const {
    out = m_message;
    return out;
}

}  // namespace FMT_LIBRARY
