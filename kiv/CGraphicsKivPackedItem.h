// Graphics item that a writer sets whole: every field packed into the item's two words at once.
#pragma once

#include <cstdint>
#include <cstring>

#include "kiv/CGraphicsKivItem.h"

namespace ts_comp {
namespace kiv {

// The display-set writers set every field of every item; packing them here spares the lookup by id of
// each field. The item is for writing: GetValue, GetBytes and ReadFrom see the base item, not these fields.
class CGraphicsKivPackedItem final : public CGraphicsKivItem {
public:
    // Sets every field (reserved1 and reserved2 are 0); each value is cut to its field's width.
    void Set(uint64_t type, uint64_t size, uint64_t dts, uint64_t pts, uint64_t sub, uint64_t first, uint64_t last) {
        constexpr uint64_t k33 = (uint64_t{1} << 33) - 1;
        m_high = (type & 0xFF) << 56 | (size & 0xFFFFFFFF) << 24 | ((dts & k33) >> 9);
        m_low = (dts & 0x1FF) << 55 | (pts & k33) << 22 | (sub & 3) << 14 | (first & 1) << 13 | (last & 1) << 12;
    }
    bool WriteTo(PRIVATE_LIBRARY::CL_CFile& file) override {
        uint8_t* room = file.ReserveWrite(16);
        if (room == nullptr) return WriteCopy(file);
        Store(room);
        file.CommitWrite(kGraphicsItemSize);
        return true;
    }

private:
    // Items are 8 + 33 + 33 + 6 + 2 + 1 + 1 + 4 bits after the 32-bit size: the two words above hold them.
    static_assert(kGraphicsItemSize == 15, "a graphics item is 15 bytes");
    void Store(uint8_t* out) const {
        uint64_t w[2] = {m_high, m_low};
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        w[0] = __builtin_bswap64(w[0]);
        w[1] = __builtin_bswap64(w[1]);
#endif
        std::memcpy(out, w, sizeof w);
    }
    bool WriteCopy(PRIVATE_LIBRARY::CL_CFile& file) const;

    uint64_t m_high = 0;
    uint64_t m_low = 0;
};

}  // namespace kiv
}  // namespace ts_comp
