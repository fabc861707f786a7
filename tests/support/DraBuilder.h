// Test support: DRA frames written field by field.
#pragma once

#include <cstdint>
#include <vector>

#include "support/BitWriter.h"

namespace kiv_test {

// One frame: its header, then filler without sync words up to `bytes`; a negative numWord declares the
// real length in 32-bit words.
struct DraFrame {
    unsigned extended = 0, blockCode = 3, rateIndex = 8, normalCh = 2, lfeCh = 0, aux = 0;
    unsigned sumDiff = 0, jic = 0, jicCb = 0;
    unsigned bytes = 64;
    int numWord = -1;

    void AppendTo(std::vector<uint8_t>& out) const {
        BitWriter w;
        w.Put(0x7FFF, 16).Put(extended, 1).Put(numWord < 0 ? bytes / 4 : unsigned(numWord), extended ? 13 : 10);
        w.Put(blockCode, 2).Put(rateIndex, 4).Put(normalCh, extended ? 6 : 3).Put(lfeCh, extended ? 2 : 1).Put(aux, 1);
        if (!extended && normalCh >= 2) w.Put(sumDiff, 1).Put(jic, 1);
        if (!extended && normalCh >= 2 && jic) w.Put(jicCb, 5);
        w.Align().Fill(0x55, bytes - w.ByteCount());
        out.insert(out.end(), w.Data().begin(), w.Data().end());
    }
};

}  // namespace kiv_test
