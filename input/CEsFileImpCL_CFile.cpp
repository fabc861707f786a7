#include "input/CEsFileImpCL_CFile.h"

#include <algorithm>

#include "foundation/CL_CString.h"
#include "input/InputMessages.h"

namespace ts_comp {
namespace es {

CEsFileImpCL_CFile::CEsFileImpCL_CFile() : m_file(input_messages::kEsFileBufferSize) {}

CEsFileImpCL_CFile::~CEsFileImpCL_CFile() { m_file.Close(); }

// Read-only: "r" without "+".
bool CEsFileImpCL_CFile::IsReadable() {
    return m_file.IsOpen() && (m_file.GetOpenFlags() & (PRIVATE_LIBRARY::CL_CFile::kFlagRead |
                                                        PRIVATE_LIBRARY::CL_CFile::kFlagUpdate)) ==
                                  PRIVATE_LIBRARY::CL_CFile::kFlagRead;
}

PRIVATE_LIBRARY::CL_CString& CEsFileImpCL_CFile::GetFileName(PRIVATE_LIBRARY::CL_CString& out) {
    return m_file.GetPath(out);
}

int64_t CEsFileImpCL_CFile::Tell() { return m_file.Tell(); }

bool CEsFileImpCL_CFile::Rewind() { return m_file.Rewind() != 0; }

int64_t CEsFileImpCL_CFile::GetLength() { return m_file.GetLength(); }

bool CEsFileImpCL_CFile::IsOpen() { return m_file.IsOpen(); }

uint32_t CEsFileImpCL_CFile::Read(void* buffer, uint32_t size) { return m_file.Read(buffer, size, size); }

bool CEsFileImpCL_CFile::Seek(int64_t offset, int origin) {
    if (origin != 1 && origin != 2) origin = 0;
    return m_file.Seek(offset, origin) != 0;
}

bool CEsFileImpCL_CFile::Open(const char* path) {
    m_file.Close();
    return m_file.Open(path, input_messages::kEsFileOpenMode) != 0;
}

void CEsFileImpCL_CFile::Close() { m_file.Close(); }

int CEsFileImpCL_CFile::GetLastErrorNumber() { return m_file.GetLastErrorNumber(); }

const char* CEsFileImpCL_CFile::GetLastErrorText() { return m_file.GetLastErrorText(); }

uint32_t CEsFileImpCL_CFile::PeekBuffered(const uint8_t** data) { return m_file.PeekBuffered(data); }

void CEsFileImpCL_CFile::ConsumeBuffered(uint32_t count) { m_file.ConsumeBuffered(count); }

}  // namespace es
}  // namespace ts_comp
