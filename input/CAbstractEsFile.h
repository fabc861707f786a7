// Abstract access to one elementary-stream file.
#pragma once

#include <cstdint>

namespace PRIVATE_LIBRARY {
class CL_CString;
}

namespace ts_comp {
namespace es {

// Interface of an ES file implementation; origins: 0 start, 1 current, 2 end, anything else 0.
class CAbstractEsFile {
public:
    virtual ~CAbstractEsFile() = default;
    virtual bool IsReadable() = 0;
    virtual PRIVATE_LIBRARY::CL_CString& GetFileName(PRIVATE_LIBRARY::CL_CString& out) = 0;
    virtual int64_t Tell() = 0;
    virtual bool Rewind() = 0;
    virtual int64_t GetLength() = 0;
    virtual bool IsOpen() = 0;
    virtual uint32_t Read(void* buffer, uint32_t size) = 0;
    virtual bool Seek(int64_t offset, int origin) = 0;
    virtual bool Open(const char* path) = 0;
    virtual void Close() = 0;
    virtual int GetLastErrorNumber() = 0;
    virtual const char* GetLastErrorText() = 0;

    // Bulk access (additions after the operations above).
    // Points *data at the buffered bytes not yet consumed and returns their count, refilling once if
    // none are buffered; 0 at end of file or on error. The view stays valid until the next other call.
    virtual uint32_t PeekBuffered(const uint8_t** data) = 0;
    // Consumes count bytes of the last view (count <= its size) without a system call.
    virtual void ConsumeBuffered(uint32_t count) = 0;
    // Advances by count bytes as Read would, without copying; returns the bytes passed (fewer at end of file).
    // By default consumes successive bulk views.
    virtual uint64_t Skip(uint64_t count);
};

}  // namespace es
}  // namespace ts_comp
