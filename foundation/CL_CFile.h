// Buffered file over the POSIX low-level file functions.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "foundation/CL_CObj.h"
#include "foundation/CL_CString.h"

namespace PRIVATE_LIBRARY {

// File with one transfer buffer used either as read-ahead or as write buffer; failures are
// reported by results and a recorded errno and text, never by exceptions.
class CL_CFile : public CL_CObj {
public:
    static constexpr uint32_t kDefaultBufferSize = 262144;
    // Open flag bits.
    static constexpr uint32_t kFlagRead = 0x001;
    static constexpr uint32_t kFlagWrite = 0x002;
    static constexpr uint32_t kFlagAppend = 0x004;
    static constexpr uint32_t kFlagUpdate = 0x100;
    static constexpr uint32_t kFlagBinary = 0x200;
    // Buffer modes.
    static constexpr int kBufferIdle = 0;
    static constexpr int kBufferReadAhead = 1;
    static constexpr int kBufferUnwritten = 2;

    explicit CL_CFile(uint32_t bufferSize = 0);
    CL_CFile(const char* path, const char* mode, uint32_t bufferSize = 0);
    ~CL_CFile() override;
    CL_CFile(const CL_CFile&) = delete;
    CL_CFile& operator=(const CL_CFile&) = delete;

    int Open(const char* path, const char* mode);  // 1 success, 0 failure
    void Close();

    // Delivers up to count bytes (at most destSize); a short count at end of file or on error.
    uint32_t Read(void* dest, uint32_t destSize, uint32_t count) {
        if (m_bufferMode == kBufferReadAhead && count <= destSize && count <= m_bufferFill - m_bufferPosition) {
            std::memcpy(dest, m_buffer.get() + m_bufferPosition, count);
            m_bufferPosition += count;
            return count;
        }
        return ReadSlow(static_cast<uint8_t*>(dest), destSize, count);
    }
    // Writes count bytes; short on error. Inline while they fit the pending write buffer.
    uint32_t Write(const void* data, uint32_t count) {
        if (m_bufferMode == kBufferUnwritten && count < m_bufferSize - m_bufferPosition) {
            std::memcpy(m_buffer.get() + m_bufferPosition, data, count);
            m_bufferPosition += count;
            return count;
        }
        return WriteSlow(data, count);
    }
    // Small records written in place: room for count bytes at the end of the pending write data (more than
    // the record needs may be filled, only what CommitWrite takes is written), or null when a Write must
    // take the record.
    uint8_t* ReserveWrite(uint32_t count) {
        if (m_bufferMode != kBufferUnwritten || count >= m_bufferSize - m_bufferPosition) return nullptr;
        return m_buffer.get() + m_bufferPosition;
    }
    void CommitWrite(uint32_t count) { m_bufferPosition += count; }
    bool WriteLine(const char* text);
    int Seek(int64_t offset, int origin);  // origin 0 start, 1 current, 2 end; 1 success, 0 failure
    int64_t Tell() const {
        if (m_state != 1) return -1;
        if (m_bufferMode == kBufferReadAhead) return m_descriptorPosition - (m_bufferFill - m_bufferPosition);
        if (m_bufferMode == kBufferUnwritten) return m_descriptorPosition + m_bufferPosition;
        return m_descriptorPosition;
    }
    int64_t GetLength();
    int Rewind();
    // Ends the file at the current position, pending writes going out first; 1 success, 0 failure.
    int Truncate();

    bool IsOpen() const { return m_state == 1; }
    // Update modes ("r+", "w+", "a+") are not readable: only a read flag without the update flag is.
    bool IsReadable() const { return m_state == 1 && (m_openFlags & (kFlagRead | kFlagUpdate)) == kFlagRead; }
    bool IsWritable() const {
        return m_state == 1 && (m_openFlags & (kFlagWrite | kFlagAppend | kFlagUpdate)) != 0;
    }
    CL_CString& GetPath(CL_CString& out) const;
    uint32_t GetOpenFlags() const { return m_openFlags; }
    uint32_t GetBufferSize() const { return m_bufferSize; }

    const char* GetLastErrorText() const { return m_errorText.GetString(); }
    int GetLastErrorNumber() const { return m_errorNumber; }

    // Bulk reading: points *data at the buffered bytes not yet handed out and returns their
    // count; with none buffered, refills the buffer with one read first. 0 at end of file or on
    // error (recorded as Read records it). The view stays valid until the next call on the file.
    uint32_t PeekBuffered(const uint8_t** data) {
        if (m_bufferMode == kBufferReadAhead && m_bufferPosition < m_bufferFill) {
            *data = m_buffer.get() + m_bufferPosition;
            return m_bufferFill - m_bufferPosition;
        }
        return PeekSlow(data);
    }
    // Hands out count bytes of the last PeekBuffered view (count beyond the view is cut to it).
    void ConsumeBuffered(uint32_t count) {
        if (m_bufferMode != kBufferReadAhead) return;
        const uint32_t left = m_bufferFill - m_bufferPosition;
        m_bufferPosition += count < left ? count : left;
    }

private:
    uint32_t ReadSlow(uint8_t* dest, uint32_t destSize, uint32_t count);
    uint32_t WriteSlow(const void* data, uint32_t count);
    uint32_t PeekSlow(const uint8_t** data);
    // Fills the empty buffer with one read; the byte count, 0 at end of file, -1 on error.
    int64_t Refill();
    // Makes the descriptor position equal the logical position and empties the buffer.
    bool Flush();
    bool WriteOut(const uint8_t* data, uint32_t count);
    void RecordErrno(int errorNumber);
    void RecordEndOfFile();

    int m_descriptor = -1;
    int m_state = 0;
    int64_t m_lengthAtOpen = 0;
    CL_CString m_path;
    uint32_t m_openFlags = 0;
    // Page-aligned, one 64-byte line longer than the transfer size: read-ahead starts at the file offset's
    // place in a line, the write buffer at its start.
    struct PageAlignedDelete {
        void operator()(uint8_t* p) const;
    };
    std::unique_ptr<uint8_t[], PageAlignedDelete> m_buffer;
    uint32_t m_bufferSize = 0;
    uint32_t m_bufferStart = 0;  // where the read-ahead begins in the buffer
    uint32_t m_bufferPosition = 0;
    uint32_t m_bufferFill = 0;
    int m_bufferMode = kBufferIdle;
    // Where the descriptor stands, kept so that Tell and Seek inside the buffer need no system call.
    int64_t m_descriptorPosition = 0;
    CL_CString m_errorText;
    int m_errorNumber = 0;
};

}  // namespace PRIVATE_LIBRARY
