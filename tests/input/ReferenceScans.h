// Byte-at-a-time models of the bit buffer's scans, for comparing the bulk forms against.
#pragma once

#include <cstdint>
#include <vector>

namespace kiv_test {

// Outcome of a pair search: found, the file position afterwards and the examination counter.
struct SearchOutcome {
    bool found = false;
    int64_t position = 0;
    uint64_t counter = 0;  // examinations before the one that ended the search
};

// The one-byte automaton over raw bytes, starting at position start with the given limit.
inline SearchOutcome ReferenceSearch(const std::vector<uint8_t>& bytes, size_t start, uint16_t code, uint64_t limit) {
    const auto hi = static_cast<uint8_t>(code >> 8);
    const auto lo = static_cast<uint8_t>(code & 0xFF);
    size_t pos = start;
    if (pos >= bytes.size()) return {false, static_cast<int64_t>(bytes.size())};
    uint8_t b = bytes[pos++];
    bool hiSeen = false;
    uint64_t counter = 0;
    for (;;) {
        if (counter >= limit) return {false, static_cast<int64_t>(pos), counter};
        if (!hiSeen) {
            if (b == hi) hiSeen = true;
        } else {
            if (b == lo) return {true, static_cast<int64_t>(pos - 2), counter};
            pos -= 1;
            hiSeen = false;
        }
        ++counter;
        if (pos >= bytes.size()) return {false, static_cast<int64_t>(bytes.size()), counter};
        b = bytes[pos++];
    }
}

// Outcome of a start-code prefix scan.
struct PrefixOutcome {
    bool found = false;
    int64_t position = 0;
    uint32_t zeros = 0;
    uint8_t value = 0;
};

inline PrefixOutcome ReferencePrefixScan(const std::vector<uint8_t>& bytes, size_t start, uint32_t zeros) {
    for (size_t pos = start; pos < bytes.size(); ++pos) {
        const uint8_t c = bytes[pos];
        if (c == 0) {
            ++zeros;
        } else if (zeros >= 2) {
            return {true, static_cast<int64_t>(pos + 1), zeros, c};
        } else {
            zeros = 0;
        }
    }
    return {false, static_cast<int64_t>(bytes.size()), zeros, 0};
}

// Emulation-prevention removal of a whole byte vector.
inline std::vector<uint8_t> ReferenceUnescape(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> out;
    uint32_t zeros = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        uint8_t b = bytes[i];
        if (b == 0) {
            ++zeros;
        } else if (zeros >= 2 && b == 3) {
            if (++i == bytes.size()) break;
            b = bytes[i];
            zeros = b == 0 ? 1 : 0;
        } else {
            zeros = 0;
        }
        out.push_back(b);
    }
    return out;
}

}  // namespace kiv_test
