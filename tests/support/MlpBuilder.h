// Test support: MLP access units written field by field.
#pragma once

#include <cstdint>
#include <vector>

#include "support/BitWriter.h"

namespace kiv_test {

// Start of one substream (block and restart header flags, output_timing, max_chan), `words` words long.
struct MlpSubstream {
    unsigned block = 1, restart = 1, outputTiming = 0, maxChan = 1, words = 40;
};

// One access unit; a zero lengthWords writes the real length.
struct MlpUnit {
    unsigned inputTiming = 0;
    bool majorSync = true;
    uint32_t formatInfo = 0;
    std::vector<MlpSubstream> subs = {MlpSubstream{}};
    unsigned lengthWords = 0;

    void AppendTo(std::vector<uint8_t>& out) const {
        BitWriter b;
        if (majorSync) {
            b.Put(0xF8726FBA, 32).Put(formatInfo, 32).Put(0xB752, 16).Put(0x8000, 48).Put(subs.size(), 4);
            b.Put(0, 46).Put(0, 46);  // reserved, substream_info, channel meaning, CRC
        }
        unsigned end = 0;
        for (const MlpSubstream& s : subs) b.Put(end += s.words, 16);
        for (const MlpSubstream& s : subs) {
            const size_t from = b.ByteCount();
            b.Put(s.block, 1);
            if (s.block) b.Put(s.restart, 1);
            if (s.block && s.restart) b.Put(0x31EA, 14).Put(s.outputTiming, 16).Put(s.maxChan << 4, 12);
            b.Align().Fill(0, from + 2 * s.words - b.ByteCount());
        }
        BitWriter head;
        head.Put(lengthWords ? lengthWords : b.ByteCount() / 2 + 2, 16).Put(inputTiming, 16).Bytes(b.Data());
        out.insert(out.end(), head.Data().begin(), head.Data().end());
    }
};

}  // namespace kiv_test
