// Audio item that a writer sets whole: the four fields packed into the item's two words at once.
#pragma once

#include <cstdint>

#include "kiv/CAudioKivItem.h"

namespace ts_comp {
namespace kiv {

// The audio item loop sets every field of every item; packing them at once spares the windows of each field
// and the generic store. The item is for writing: GetValue, GetBytes and ReadFrom see the base item.
class CAudioKivPackedItem final : public CAudioKivItem {
public:
    // Sets enc_item_type, enc_item_size, dts and pts; reserved1 is 0. Each value is cut to its field's width.
    void Set(uint64_t type, uint64_t size, uint64_t dts, uint64_t pts) {
        PackCommonValues(type, size, dts, pts, m_words);
    }
    bool WriteTo(PRIVATE_LIBRARY::CL_CFile& file) override { return WritePacked(file, m_words, kAudioItemSize); }

private:
    uint64_t m_words[2] = {0, 0};
};

}  // namespace kiv
}  // namespace ts_comp
