// ES file implementation over the Varnel service library.
#pragma once

#include <memory>

#include "input/CAbstractEsFile.h"

namespace ts_comp {
namespace es {

// Reads a stream served by Varnel; the bulk view reads chunks and keeps Varnel's position logical.
class CEsFileImpVNLDLL : public CAbstractEsFile {
public:
    CEsFileImpVNLDLL();
    ~CEsFileImpVNLDLL() override;

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

    // VNL_GetEsType of the handle; 0 when the call fails.
    virtual int GetEsType();

private:
    void DropChunk();

    int m_handle = -1;
    std::unique_ptr<uint8_t[]> m_chunk;
    uint32_t m_chunkPos = 0;
    uint32_t m_chunkFill = 0;
};

}  // namespace es
}  // namespace ts_comp
