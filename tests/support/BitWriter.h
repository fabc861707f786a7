// Test support: writes values most significant bit first into a byte vector.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace kiv_test {

// Builds a byte stream field by field, MSB first, the way the stream syntaxes are written.
class BitWriter {
public:
    // Appends the low `bits` bits of `value` (bits may be 0 to 64).
    BitWriter& Put(uint64_t value, unsigned bits) {
        for (unsigned i = bits; i-- > 0;) PutBit(static_cast<unsigned>((value >> i) & 1u));
        return *this;
    }
    BitWriter& PutBit(unsigned bit) {
        if (m_bitCount % 8 == 0) m_bytes.push_back(0);
        if (bit) m_bytes.back() |= static_cast<uint8_t>(0x80u >> (m_bitCount % 8));
        ++m_bitCount;
        return *this;
    }
    BitWriter& Bytes(const std::vector<uint8_t>& bytes) {
        for (uint8_t b : bytes) Put(b, 8);
        return *this;
    }
    // Appends `count` copies of `value`.
    BitWriter& Fill(uint8_t value, size_t count) { return Bytes(std::vector<uint8_t>(count, value)); }
    // Pads with zero bits up to the next byte boundary.
    BitWriter& Align() {
        while (m_bitCount % 8 != 0) PutBit(0);
        return *this;
    }
    size_t ByteCount() const { return m_bytes.size(); }
    const std::vector<uint8_t>& Data() const { return m_bytes; }
    std::vector<uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
    size_t m_bitCount = 0;
};

// `times` copies of the units in a row, cut to cutTo bytes when it is not 0.
inline std::vector<uint8_t> JoinUnits(const std::vector<std::vector<uint8_t>>& units, int times = 1, size_t cutTo = 0) {
    std::vector<uint8_t> out;
    for (int i = 0; i < times; ++i) {
        for (const auto& u : units) out.insert(out.end(), u.begin(), u.end());
    }
    if (cutTo != 0) out.resize(cutTo);
    return out;
}

}  // namespace kiv_test
