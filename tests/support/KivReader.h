// Test support: reads a KIV file bit by bit, independently of the library's writers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace kiv_test {

// One item. f5, f6, f7 are the fields after reserved1 in file order: video (types 1 and 5)
// sequence_end_code, closed_gop, picture_structure; graphics (type 3) enc_sub_item_type,
// first_in_sequence_flag, last_in_sequence_flag; audio none. f9, f10: MVC offset_metadata_pos, _size.
struct KivItem {
    uint64_t type = 0, size = 0, dts = 0, pts = 0;
    uint64_t f5 = 0, f6 = 0, f7 = 0, f9 = 0, f10 = 0;
    bool operator==(const KivItem& o) const {
        return type == o.type && size == o.size && dts == o.dts && pts == o.pts && f5 == o.f5 && f6 == o.f6 &&
               f7 == o.f7 && f9 == o.f9 && f10 == o.f10;
    }
    bool operator!=(const KivItem& o) const { return !(*this == o); }
};

inline std::ostream& operator<<(std::ostream& os, const KivItem& i) {
    return os << "{" << i.type << ", " << i.size << ", " << i.dts << ", " << i.pts << ", " << i.f5 << ", " << i.f6
              << ", " << i.f7 << ", " << i.f9 << ", " << i.f10 << "}";
}

// kiv_file_type (-1: missing or shorter than 4 bytes) and the items. Reading fails the running test
// when the type is unknown, a reserved field is not 0 or bytes are left after the last whole item.
struct Kiv {
    int64_t fileType = -1;
    std::vector<KivItem> items;
};

// Bits [offset, offset + width) of `item`, most significant first.
inline uint64_t KivBits(const uint8_t* item, unsigned offset, unsigned width) {
    uint64_t v = 0;
    for (unsigned bit = offset; bit < offset + width; ++bit) v = (v << 1) | ((item[bit / 8] >> (7 - bit % 8)) & 1u);
    return v;
}

inline Kiv ParseKiv(const std::vector<uint8_t>& bytes) {
    Kiv kiv;
    if (bytes.size() < 4) return kiv;
    kiv.fileType = static_cast<int64_t>(KivBits(bytes.data(), 0, 32));
    const size_t itemSize = kiv.fileType == 1 || kiv.fileType == 3 ? 15 : kiv.fileType == 2 ? 14 : kiv.fileType == 5 ? 23 : 0;
    if (itemSize == 0) {
        ADD_FAILURE() << "kiv_file_type " << kiv.fileType;
        return kiv;
    }
    size_t at = 4;
    for (; at + itemSize <= bytes.size(); at += itemSize) {
        const uint8_t* b = bytes.data() + at;
        KivItem i{KivBits(b, 0, 8), KivBits(b, 8, 32), KivBits(b, 40, 33), KivBits(b, 73, 33)};
        uint64_t reserved = KivBits(b, 106, 6);
        if (itemSize > 14) {
            const bool graphics = kiv.fileType == 3;
            i.f5 = KivBits(b, 112, graphics ? 2 : 1);
            i.f6 = KivBits(b, graphics ? 114 : 113, 1);
            i.f7 = KivBits(b, graphics ? 115 : 114, graphics ? 1 : 2);
            reserved |= KivBits(b, 116, 4);
        }
        if (itemSize == 23) {
            i.f9 = KivBits(b, 120, 32);
            i.f10 = KivBits(b, 152, 32);
        }
        EXPECT_EQ(reserved, 0u) << "reserved bits of item " << kiv.items.size();
        kiv.items.push_back(i);
    }
    EXPECT_EQ(at, bytes.size()) << "bytes after the last whole item";
    return kiv;
}

inline Kiv ReadKiv(const std::string& path) { return ParseKiv(TempDir::Read(path)); }

}  // namespace kiv_test
