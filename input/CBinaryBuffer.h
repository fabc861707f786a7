// Bit and byte reader of an ES file, most significant bit first.
#pragma once

#include <cstdint>
#include <exception>

#include "input/CEsFileReader.h"

namespace ts_comp {

// Reads bits and bytes out of the file buffer of its own CEsFileReader; end of file is an exception.
class CBinaryBuffer {
public:
    // Base of the end-of-file exceptions; ReadBit throws it.
    class BinaryBufferException : public std::exception {
    public:
        const char* what() const noexcept override;
    };
    // No byte left where one is required (ReadByte, GetBits, emulation-prevention reads).
    class BinaryBufferReadException : public BinaryBufferException {
    public:
        const char* what() const noexcept override;
    };

    CBinaryBuffer();
    virtual ~CBinaryBuffer();
    CBinaryBuffer(const CBinaryBuffer&) = delete;
    CBinaryBuffer& operator=(const CBinaryBuffer&) = delete;

    virtual bool Open(const char* path);
    virtual void Close();
    virtual int64_t Tell() { return m_winStart != nullptr ? m_winPos + (m_cur - m_winStart) : m_reader.Tell(); }
    virtual int64_t GetSize();
    virtual uint32_t ReadBytes(void* buffer, uint32_t count);
    virtual uint8_t ReadByte();
    virtual uint32_t PeekBytes(void* buffer, uint32_t count);
    virtual bool Seek(int64_t offset, int origin);
    virtual uint32_t ReadBits(uint64_t* out, uint32_t count);
    virtual uint8_t ReadBit();
    virtual uint64_t GetBits(uint32_t count);
    virtual uint32_t PeekBits(uint64_t* out, uint32_t count);
    virtual bool SearchCode(uint16_t code);
    virtual bool SearchCodeWithin(uint16_t code, uint64_t limit);
    virtual void ByteAlign();

    // Bulk access for scans. All of these work on raw file bytes (no emulation-prevention removal),
    // drop the unread bits of the current byte as every byte operation does, and leave m_zeroCount alone.
    // View of the unread file bytes; refills once if empty; 0 at end of file. Valid until the next call.
    uint32_t PeekBuffered(const uint8_t** data) {
        if (m_cur == m_end && !Refill()) {
            *data = nullptr;
            return 0;
        }
        *data = m_cur;
        return static_cast<uint32_t>(m_end - m_cur);
    }
    // Consumes count bytes of the last view (count <= its size).
    void ConsumeBuffered(uint32_t count) {
        const auto left = static_cast<uint32_t>(m_end - m_cur);
        m_cur += count < left ? count : left;
        m_bitPos = 8;
    }
    // Passes count bytes as the base ReadBytes would read them, without copying; returns the bytes passed.
    uint64_t SkipBytes(uint64_t count);
    // The base ReadBytes whatever the class: raw bytes, short count at end of file.
    uint32_t ReadRawBytes(void* buffer, uint32_t count);
    // Start-code scan over raw bytes: each 0x00 adds one to zeros (carried in); a non-zero byte after two
    // or more zeros ends the scan with true, that byte in value, the run before it in zeros and the file just
    // past it; a non-zero byte after fewer zeros sets zeros to 0. End of file: false, file at the end, zeros
    // the trailing run.
    bool ScanStartCodePrefix(uint32_t& zeros, uint8_t& value);

protected:
    friend class CBitView;

    // removeEmulationPrevention selects the byte delivery of the AVC and VC-1 buffers.
    explicit CBinaryBuffer(bool removeEmulationPrevention);

    // One byte as the class's ReadByte delivers it; false (state as before the throw) at end of file.
    bool TryFetch(uint8_t& b) {
        return m_removeEmulation ? TryFetchWithoutEmulation(b) : TryFetchRaw(b);
    }
    bool TryFetchRaw(uint8_t& b) {
        if (m_cur != m_end) {
            b = *m_cur++;
            m_bitPos = 8;
            return true;
        }
        return RefillAndFetch(b);
    }
    bool TryFetchWithoutEmulation(uint8_t& b) {
        if (!TryFetchRaw(b)) return false;
        if (b == 0) {
            ++m_zeroCount;
            return true;
        }
        if (m_zeroCount >= 2 && b == 3) {
            if (!TryFetchRaw(b)) return false;
            m_zeroCount = b == 0 ? 1 : 0;
            return true;
        }
        m_zeroCount = 0;
        return true;
    }
    // The emulation-prevention forms of ReadByte and ReadBytes (throwing at end of file).
    uint8_t ReadByteWithoutEmulation();
    uint32_t ReadBytesWithoutEmulation(void* buffer, uint32_t count);

    es::CEsFileReader m_reader;
    uint8_t m_currentByte = 0;
    int m_bitPos = 8;
    // Consecutive zero bytes just delivered; used by the emulation-prevention subclasses only.
    uint32_t m_zeroCount = 0;

private:
    uint32_t ReadBitsLoop(uint64_t* out, uint32_t count);
    bool RefillAndFetch(uint8_t& b);
    bool Refill();
    void Sync();
    void DropWindow();
    bool SeekInWindow(int64_t target);

    const bool m_removeEmulation;
    // Window on the reader's buffer: [m_winStart, m_end) holds file bytes from m_winPos on; the reader
    // itself stands at m_base, the buffer's logical position is m_cur.
    const uint8_t* m_winStart = nullptr;
    const uint8_t* m_base = nullptr;
    const uint8_t* m_cur = nullptr;
    const uint8_t* m_end = nullptr;
    int64_t m_winPos = 0;
    uint8_t m_spare = 0;
};

}  // namespace ts_comp
