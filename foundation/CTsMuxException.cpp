#include "foundation/CTsMuxException.h"

#include <cstring>
#include <utility>

namespace ts_comp {

namespace {

// A text longer than the limit is not copied at all; null or empty leaves the array empty.
void CopyLimited(char (&array)[CTsMuxException::kTextArraySize], const char* text) {
    std::memset(array, 0, sizeof(array));
    if (text == nullptr) return;
    const size_t length = std::strlen(text);
    if (length >= 1 && length <= static_cast<size_t>(CTsMuxException::kMaxTextLength)) {
        std::memcpy(array, text, length);
    }
}

}  // namespace

CTsMuxException::CTsMuxException(int code, PRIVATE_LIBRARY::CL_CString message, const char* sourceFile, int line,
                                 const char* fileName, const char* detail)
    : CException(std::move(message), sourceFile, line), m_code(code) {
    CopyLimited(m_fileName, fileName);
    CopyLimited(m_detail, detail);
}

CTsMuxException::~CTsMuxException() = default;

const char* CTsMuxException::GetDetail() const { return m_detail; }

const char* CTsMuxException::GetFileName() const { return m_fileName; }

int CTsMuxException::GetErrorCode() const { return m_code; }

}  // namespace ts_comp
