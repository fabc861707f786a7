// The handle through which analysers read their ES file.
#pragma once

#include <cstdint>
#include <memory>

#include "input/CAbstractEsFile.h"

namespace ts_comp {
namespace es {

// Owns one CAbstractEsFile chosen by the name: Varnel for names longer than 3 ending in "VES", else a plain file.
class CEsFileReader {
public:
    CEsFileReader();
    virtual ~CEsFileReader();
    CEsFileReader(const CEsFileReader&) = delete;
    CEsFileReader& operator=(const CEsFileReader&) = delete;

    virtual const char* GetLastErrorText();
    virtual int GetLastErrorNumber();
    virtual bool IsReadable();
    virtual PRIVATE_LIBRARY::CL_CString& GetFileName(PRIVATE_LIBRARY::CL_CString& out);
    virtual int64_t Tell();
    virtual bool Rewind();
    virtual int64_t GetLength();
    virtual bool IsOpen();
    virtual uint32_t Read(void* buffer, uint32_t size);
    virtual bool Seek(int64_t offset, int origin);
    virtual bool Open(const char* path);
    virtual void Close();

    // Bulk access: view of the buffered unconsumed bytes (refills once if empty; 0 at end of file or
    // without implementation), valid until the next other call.
    uint32_t PeekBuffered(const uint8_t** data) {
        return m_implementation ? m_implementation->PeekBuffered(data) : 0;
    }
    // Consumes count bytes (at most the size of the last view) without a system call.
    void ConsumeBuffered(uint32_t count) {
        if (m_implementation) m_implementation->ConsumeBuffered(count);
    }
    // Advances by count bytes as Read would but without copying; returns the bytes passed.
    uint64_t Skip(uint64_t count) { return m_implementation ? m_implementation->Skip(count) : 0; }

    // True when a name of this text is served by Varnel.
    static bool IsVarnelPath(const char* path);

private:
    std::unique_ptr<CAbstractEsFile> m_implementation;
};

}  // namespace es
}  // namespace ts_comp
