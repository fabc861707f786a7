// Inline bit reads straight out of the bytes a CBinaryBuffer holds.
#pragma once

#include <cstdint>
#include <cstring>

#include "input/CBinaryBuffer.h"

namespace ts_comp {

// Reads fields of a header MSB first over the buffer's bytes with 64-bit loads; where fewer than 8 bytes
// are buffered (or bytes are delivered with emulation prevention) it calls the buffer's own GetBits,
// PeekBits and Seek, so values, positions and end-of-file exceptions are those of the buffer. The buffer
// must not be used directly while a view lives (but between Release and Resume); the view hands its
// position back when destroyed.
class CBitView {
public:
    explicit CBitView(CBinaryBuffer& buffer) : m_buffer(buffer) { Load(); }
    ~CBitView() { Store(); }
    CBitView(const CBitView&) = delete;
    CBitView& operator=(const CBitView&) = delete;

    // As CBinaryBuffer::GetBits (count up to 64).
    uint64_t Bits(uint32_t count) {
        if (count - 1 < kFastBits && m_end - m_p >= 8) {
            const uint64_t value = (Word() << m_bit) >> (64 - count);
            Advance(count);
            return value;
        }
        return SlowBits(count);
    }
    // Fields that follow each other without a choice between them, read at once (count up to 64) and taken
    // MSB first. A file that ends inside them throws as reading them one by one would.
    class Fields {
    public:
        Fields(uint64_t value, uint32_t count) : m_value(count == 0 ? 0 : value << (64 - count)) {}
        // The next count bits (1 to 63).
        uint64_t Take(uint32_t count) {
            const uint64_t field = m_value >> (64 - count);
            m_value <<= count;
            return field;
        }

    private:
        uint64_t m_value;  // the bits not taken yet, at the top
    };
    Fields Read(uint32_t count) { return Fields(Bits(count), count); }
    // The 8 bytes at p as a big-endian number.
    static uint64_t LoadWord(const uint8_t* p) {
        uint64_t word;
        std::memcpy(&word, p, sizeof word);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        word = __builtin_bswap64(word);
#endif
        return word;
    }

    // As CBinaryBuffer::PeekBits: the next count bits without moving; returns the bits found.
    uint32_t Peek(uint64_t* out, uint32_t count) {
        if (count - 1 < kFastBits && m_end - m_p >= 8) {
            *out = (Word() << m_bit) >> (64 - count);
            return count;
        }
        return SlowPeek(out, count);
    }
    // As CBinaryBuffer::Tell: the byte position, past the current byte while bits of it remain.
    int64_t Tell() const {
        if (m_p == nullptr) return m_buffer.Tell();
        return m_winPos + (m_p - m_winStart) + (m_bit != 0 ? 1 : 0);
    }
    // As CBinaryBuffer::Seek from the start of the file.
    bool Seek(int64_t position) { return SeekBuffered(position) || SlowSeek(position); }
    // Seeks when every byte before the position is buffered (so that the file holds them); else false,
    // nothing moved.
    bool SeekBuffered(int64_t position) {
        if (m_p == nullptr || position < m_winPos || position - m_winPos > m_end - m_winStart) return false;
        m_p = m_winStart + (position - m_winPos);
        m_bit = 0;
        return true;
    }

    // As CBinaryBuffer::SkipBytes: passes count bytes from the next whole byte on; returns the bytes passed.
    uint64_t Skip(uint64_t count) {
        if (m_p != nullptr && m_bit == 0 && static_cast<uint64_t>(m_end - m_p) >= count) {
            m_p += count;
            return count;
        }
        return SlowSkip(count);
    }
    // The bytes the view holds from its position on, without a read: none unless the position is a whole
    // byte. Skip passes those that were used.
    uint32_t Buffered(const uint8_t** data) const {
        if (m_p == nullptr || m_bit != 0) return 0;
        *data = m_p;
        return static_cast<uint32_t>(m_end - m_p);
    }
    // Hands the position back to the buffer, which may be used directly until Resume takes it again.
    void Release() {
        Store();
        m_p = m_end = nullptr;
    }
    void Resume() { Load(); }

private:
    // Widest read of the inline path: the 8 bytes loaded always hold the field.
    static constexpr uint32_t kFastBits = 57;

    uint64_t Word() const { return LoadWord(m_p); }
    void Advance(uint32_t count) {
        const uint32_t bit = m_bit + count;
        m_p += bit >> 3;
        m_bit = bit & 7;
    }
    // Takes the buffer's position; m_p null means that every read goes through the buffer. The buffer keeps
    // its current byte just before m_cur while bits of it remain, except right after a window change that
    // loaded nothing; then, and with emulation prevention, the view reads through the buffer.
    void Load() {
        const CBinaryBuffer& b = m_buffer;
        m_p = m_end = nullptr;
        m_bit = 0;
        if (b.m_removeEmulation || b.m_winStart == nullptr) return;
        if (b.m_bitPos >= 8) {
            m_p = b.m_cur;
        } else if (b.m_bitPos > 0 && b.m_cur > b.m_winStart) {
            m_p = b.m_cur - 1;
            m_bit = static_cast<uint32_t>(b.m_bitPos);
        } else {
            return;
        }
        m_end = b.m_end;
        m_winStart = b.m_winStart;
        m_winPos = b.m_winPos;
    }
    // Hands the position back to the buffer.
    void Store() {
        if (m_p == nullptr) return;
        CBinaryBuffer& b = m_buffer;
        if (m_bit == 0) {
            b.m_cur = m_p;
            b.m_bitPos = 8;
        } else {
            b.m_cur = m_p + 1;
            b.m_currentByte = *m_p;
            b.m_bitPos = static_cast<int>(m_bit);
        }
    }
    uint64_t SlowBits(uint32_t count);
    uint32_t SlowPeek(uint64_t* out, uint32_t count);
    bool SlowSeek(int64_t position);
    uint64_t SlowSkip(uint64_t count);

    CBinaryBuffer& m_buffer;
    const uint8_t* m_p = nullptr;    // byte holding the next bit
    const uint8_t* m_end = nullptr;  // end of the buffered bytes
    const uint8_t* m_winStart = nullptr;
    int64_t m_winPos = 0;  // file position of m_winStart
    uint32_t m_bit = 0;    // bits of *m_p already read, 0 to 7
};

}  // namespace ts_comp
