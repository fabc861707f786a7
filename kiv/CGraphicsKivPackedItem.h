// Graphics item that a writer sets whole: every field packed into the item's two words at once.
#pragma once

#include <cstdint>

#include "kiv/CGraphicsKivItem.h"

namespace ts_comp {
namespace kiv {

// The display-set writers set every field of every item; packing them here spares the lookup by id of
// each field. The item is for writing: GetValue, GetBytes and ReadFrom see the base item, not these fields.
class CGraphicsKivPackedItem final : public CGraphicsKivItem {
public:
    // Sets every field (reserved1 and reserved2 are 0); each value is cut to its field's width.
    void Set(uint64_t type, uint64_t size, uint64_t dts, uint64_t pts, uint64_t sub, uint64_t first, uint64_t last) {
        PackCommonValues(type, size, dts, pts, m_words);
        // After pts: reserved1 (6 bits), sub_item_type (2), the first and last flags, reserved2 (4).
        m_words[1] |= (sub & 3) << 14 | (first & 1) << 13 | (last & 1) << 12;
    }
    bool WriteTo(PRIVATE_LIBRARY::CL_CFile& file) override { return WritePacked(file, m_words, kGraphicsItemSize); }

private:
    uint64_t m_words[2] = {0, 0};
};

}  // namespace kiv
}  // namespace ts_comp
