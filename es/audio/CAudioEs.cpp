#include "es/audio/CAudioEs.h"

#include "foundation/CTsMuxException.h"
#include "foundation/Messages.h"

namespace ts_comp {
namespace es {

using PRIVATE_LIBRARY::CL_CString;

CAudioEs::CAudioEs(const CL_CString& esPath, const char* sourceName) : CEs(esPath), m_sourceName(sourceName) {}

void CAudioEs::ReadHead(uint8_t* head, uint32_t size) {
    if (m_reader.GetLength() < size) ThrowUnusable(messages::kEsFileIsShort, __LINE__);
    m_reader.Read(head, size);
    m_reader.Rewind();
}

void CAudioEs::ThrowUnusable(const char* message, int line) {
    CL_CString fileName;
    m_reader.GetFileName(fileName);
    throw CTsMuxException(error_code::kUnusableEs, CL_CString(message), m_sourceName, line, fileName.GetString(),
                          message);
}

void CAudioEs::Throw(int code, const char* message, const char* arg, int line) const {
    CL_CString text;
    text.Format(message, arg);
    throw CTsMuxException(code, text, m_sourceName, line, "", "");
}

}  // namespace es
}  // namespace ts_comp
