// ES file implementation over a buffered CL_CFile.
#pragma once

#include "foundation/CL_CFile.h"
#include "input/CAbstractEsFile.h"

namespace ts_comp {
namespace es {

// Reads an ordinary file read-only through a 262144-byte CL_CFile buffer.
class CEsFileImpCL_CFile : public CAbstractEsFile {
public:
    CEsFileImpCL_CFile();
    ~CEsFileImpCL_CFile() override;

    bool IsReadable() override;
    PRIVATE_LIBRARY::CL_CString& GetFileName(PRIVATE_LIBRARY::CL_CString& out) override;
    int64_t Tell() override;
    bool Rewind() override;
    int64_t GetLength() override;
    bool IsOpen() override;
    uint32_t Read(void* buffer, uint32_t size) override;
    bool Seek(int64_t offset, int origin) override;
    bool Open(const char* path) override;
    void Close() override;
    int GetLastErrorNumber() override;
    const char* GetLastErrorText() override;

    uint32_t PeekBuffered(const uint8_t** data) override;
    void ConsumeBuffered(uint32_t count) override;

private:
    PRIVATE_LIBRARY::CL_CFile m_file;
};

}  // namespace es
}  // namespace ts_comp
