#include "input/CEsFileReader.h"

#include <cstring>

#include "foundation/CL_CString.h"
#include "input/CEsFileImpCL_CFile.h"
#include "input/CEsFileImpVNLDLL.h"
#include "input/InputMessages.h"

namespace ts_comp {
namespace es {

CEsFileReader::CEsFileReader() = default;

CEsFileReader::~CEsFileReader() { Close(); }

const char* CEsFileReader::GetLastErrorText() {
    return m_implementation ? m_implementation->GetLastErrorText() : nullptr;
}

int CEsFileReader::GetLastErrorNumber() { return m_implementation ? m_implementation->GetLastErrorNumber() : 0; }

bool CEsFileReader::IsReadable() { return m_implementation && m_implementation->IsReadable(); }

PRIVATE_LIBRARY::CL_CString& CEsFileReader::GetFileName(PRIVATE_LIBRARY::CL_CString& out) {
    if (m_implementation) return m_implementation->GetFileName(out);
    out = "";
    return out;
}

int64_t CEsFileReader::Tell() { return m_implementation ? m_implementation->Tell() : 0; }

bool CEsFileReader::Rewind() { return m_implementation && m_implementation->Rewind(); }

int64_t CEsFileReader::GetLength() { return m_implementation ? m_implementation->GetLength() : 0; }

bool CEsFileReader::IsOpen() { return m_implementation && m_implementation->IsOpen(); }

uint32_t CEsFileReader::Read(void* buffer, uint32_t size) {
    return m_implementation ? m_implementation->Read(buffer, size) : 0;
}

bool CEsFileReader::Seek(int64_t offset, int origin) {
    return m_implementation && m_implementation->Seek(offset, origin);
}

// The implementation stays attached after a failed open so that the error accessors describe it.
bool CEsFileReader::Open(const char* path) {
    Close();
    if (IsVarnelPath(path)) {
        m_implementation = std::make_unique<CEsFileImpVNLDLL>();
    } else {
        m_implementation = std::make_unique<CEsFileImpCL_CFile>();
    }
    return m_implementation->Open(path);
}

void CEsFileReader::Close() {
    if (!m_implementation) return;
    m_implementation->Close();
    m_implementation.reset();
}

bool CEsFileReader::IsVarnelPath(const char* path) {
    if (path == nullptr) return false;
    const size_t length = std::strlen(path);
    const size_t suffixLength = std::strlen(input_messages::kVarnelSuffix);
    return length > suffixLength && std::memcmp(path + length - suffixLength, input_messages::kVarnelSuffix, suffixLength) == 0;
}

}  // namespace es
}  // namespace ts_comp
