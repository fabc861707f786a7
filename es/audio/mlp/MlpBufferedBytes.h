// Big-endian reads of an MLP access unit straight out of bytes held in memory.
#pragma once

#include <cstdint>
#include <cstring>

#include "es/audio/mlp/MlpConstants.h"

namespace ts_comp {
namespace es {
namespace mlp {

// The reads of the unit parse over buffered bytes that hold every byte the parse reads (no check is made).
class BufferedBytes {
public:
    BufferedBytes(const uint8_t* data, int64_t position) : m_start(data), m_p(data), m_position(position) {}
    // The next count bytes (1 to 8) as a big-endian number; 8 bytes are loaded.
    uint64_t Bytes(uint32_t count) {
        uint64_t word;
        std::memcpy(&word, m_p, sizeof word);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        word = __builtin_bswap64(word);
#endif
        m_p += count;
        return word >> (64 - 8 * count);
    }
    bool MajorSyncAhead() const { return m_p[0] == kMajorSyncByte0 && m_p[1] == kMajorSyncByte1; }
    int64_t Tell() const { return m_position + (m_p - m_start); }
    void Seek(int64_t position) { m_p = m_start + (position - m_position); }

private:
    const uint8_t* m_start;
    const uint8_t* m_p;
    int64_t m_position;  // file position of m_start
};

}  // namespace mlp
}  // namespace es
}  // namespace ts_comp
