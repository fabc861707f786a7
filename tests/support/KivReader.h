// Test support: reads a KIV file bit by bit, independently of the library's writers.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

#include "support/TempDir.h"

namespace kiv_test {

// One item. f5, f6, f7 are the fields after reserved1 in file order: video (types 1 and 5)
// sequence_end_code, closed_gop, picture_structure; graphics (type 3) enc_sub_item_type,
// first_in_sequence_flag, last_in_sequence_flag; audio none. f9, f10: MVC offset_metadata_pos, _size.
struct KivItem {
    uint64_t type = 0, size = 0, dts = 0, pts = 0;
    uint64_t f5 = 0, f6 = 0, f7 = 0, f9 = 0, f10 = 0;
    auto Tie() const { return std::tie(type, size, dts, pts, f5, f6, f7, f9, f10); }
    bool operator==(const KivItem& o) const { return Tie() == o.Tie(); }
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

inline Kiv ReadKiv(const std::string& path) {
    const std::vector<uint8_t> bytes = TempDir::Read(path);
    Kiv kiv;
    if (bytes.size() < 4) return kiv;
    kiv.fileType = static_cast<int64_t>(KivBits(bytes.data(), 0, 32));
    const size_t sizes[] = {0, 15, 14, 15, 0, 23}, itemSize = kiv.fileType < 6 ? sizes[kiv.fileType] : 0;
    EXPECT_NE(itemSize, 0u) << "kiv_file_type " << kiv.fileType;
    const unsigned w5 = kiv.fileType == 3 ? 2 : 1;  // graphics: a 2-bit enc_sub_item_type, then two flags
    size_t at = 4;
    for (; itemSize != 0 && at + itemSize <= bytes.size(); at += itemSize) {
        const uint8_t* b = bytes.data() + at;
        KivItem i{KivBits(b, 0, 8), KivBits(b, 8, 32), KivBits(b, 40, 33), KivBits(b, 73, 33)};
        if (itemSize > 14) i.f5 = KivBits(b, 112, w5), i.f6 = KivBits(b, 112 + w5, 1), i.f7 = KivBits(b, 113 + w5, 3 - w5);
        if (itemSize == 23) i.f9 = KivBits(b, 120, 32), i.f10 = KivBits(b, 152, 32);
        EXPECT_EQ(KivBits(b, 106, 6) | (itemSize > 14 ? KivBits(b, 116, 4) : 0), 0u) << "reserved bits of item " << kiv.items.size();
        kiv.items.push_back(i);
    }
    EXPECT_TRUE(itemSize == 0 || at == bytes.size()) << "bytes after the last whole item";
    return kiv;
}

}  // namespace kiv_test
