// Inline bit reads over bytes held in memory, for headers that lie wholly in a buffer's bytes.
#pragma once

#include <cstdint>

#include "input/CBitView.h"

namespace ts_comp {

// The reads of CBitView, MSB first, over memory where each read may load 8 bytes from the byte that holds its
// first bit (no check is made), so that one header syntax reads either.
class CBitViewOfBytes {
public:
    explicit CBitViewOfBytes(const uint8_t* data) : m_p(data) {}

    // The next count bits (1 to 57).
    uint64_t Bits(uint32_t count) {
        const uint64_t value = (CBitView::LoadWord(m_p) << m_bit) >> (64 - count);
        const uint32_t bit = m_bit + count;
        m_p += bit >> 3;
        m_bit = bit & 7;
        return value;
    }
    CBitView::Fields Read(uint32_t count) { return CBitView::Fields(Bits(count), count); }

private:
    const uint8_t* m_p;
    uint32_t m_bit = 0;  // bits of *m_p already read, 0 to 7
};

}  // namespace ts_comp
