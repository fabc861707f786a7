// Test support of the LPCM tests: expected audio KIV files packed independently of the writer.
#pragma once

#include <cstdint>
#include <vector>

#include "support/BitWriter.h"

namespace kiv_test {

// One audio item as the tests expect it.
struct ExpectedAudioItem {
    uint64_t type;
    uint64_t size;
    uint64_t dts;
    uint64_t pts;
};

// The file an audio KIV writer should leave: kiv_file_type 2, then the 112-bit items.
inline std::vector<uint8_t> AudioKivBytes(const std::vector<ExpectedAudioItem>& items) {
    BitWriter w;
    w.Put(2, 32);
    for (const ExpectedAudioItem& i : items) {
        w.Put(i.type, 8).Put(i.size, 32).Put(i.dts, 33).Put(i.pts, 33).Put(0, 6);
    }
    return w.Take();
}

// Items of frames of the given total sizes from startPts, 450 ticks apart, closed by the end item.
inline std::vector<ExpectedAudioItem> LpcmItems(const std::vector<uint64_t>& frameSizes, uint64_t startPts) {
    std::vector<ExpectedAudioItem> items;
    uint64_t pts = startPts;
    for (uint64_t size : frameSizes) {
        items.push_back({0, size, pts, pts});
        pts += 450;
    }
    items.push_back({255, 0, 0, pts});
    return items;
}

}  // namespace kiv_test
