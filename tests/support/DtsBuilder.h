// Test support: DTS core frames and DTS-HD extension substreams written field by field.
#pragma once

#include <cstdint>
#include <vector>

#include "support/BitWriter.h"

namespace kiv_test {

// A core frame: the header, then zero bytes up to FSIZE + 1 bytes.
inline std::vector<uint8_t> DtsCore(uint32_t amode = 9, uint32_t lff = 1, uint32_t sfreq = 13, uint32_t extAudio = 0,
                                    uint32_t extAudioId = 0, uint32_t fsize = 2012) {
    BitWriter w;
    w.Put(0x7FFE8001, 32).Put(1, 1).Put(31, 5).Put(0, 1).Put(15, 7).Put(fsize, 14).Put(amode, 6).Put(sfreq, 4);
    w.Put(15, 5).Put(0, 5).Put(extAudioId, 3).Put(extAudio, 1).Put(0, 1).Put(lff, 2);
    return w.Align().Fill(0, fsize + 1 - w.ByteCount()).Take();
}

// An extension substream: header, the word that follows it, zero payload up to `bytes` bytes in all. A rich
// header has a time stamp, mix metadata, three presentations over three substream indexes and three assets,
// the first with an info text.
struct DtsExtensionSubstream {
    uint32_t headerSizeType = 0, refClockCode = 2, durationCode = 0, channels = 8, mask = 0x004F, bytes = 1000;
    bool staticFields = true, rich = false;

    std::vector<uint8_t> Build() const {
        BitWriter w;
        w.Bytes(Header(static_cast<uint32_t>(Header(1).size()) + 2)).Put(0, 16).Put(0x41A29547, 32);
        return w.Align().Fill(0, bytes - w.ByteCount()).Take();
    }
    std::vector<uint8_t> Header(uint32_t headerBytes) const {
        const unsigned sizeBits = headerSizeType ? 20 : 16;
        const uint32_t index = rich ? 2 : 0, presentations = rich ? 3 : 1, assets = staticFields && rich ? 3 : 1;
        BitWriter w;
        w.Put(0x64582025, 32).Put(0, 8).Put(index, 2).Put(headerSizeType, 1).Put(headerBytes - 1, sizeBits - 8);
        w.Put(bytes - 1, sizeBits).Put(staticFields, 1);
        if (staticFields) {
            w.Put(refClockCode, 2).Put(durationCode, 3).Put(rich, 1).Put(0x12345678, rich ? 36 : 0);
            w.Put(presentations - 1, 3).Put(assets - 1, 3);
            for (uint32_t p = 0; p < presentations; ++p) w.Put((2u << index) - 1, index + 1);
            for (uint32_t p = 0; p < presentations * (index + 1); ++p) w.Put(1, 8);
            w.Put(rich, 1).Put(0x1DFFFF0F0F, rich ? 38 : 0);  // level, 16-bit masks, 2 configurations, the masks
        }
        for (uint32_t a = 0; a < assets; ++a) w.Put(100, sizeBits);
        for (uint32_t a = 0; a < assets; ++a) {
            w.Put(40, 9).Put(a, 3);
            if (!staticFields) continue;
            w.Put(1, 1).Put(2, 4).Put(1, 1).Put(0x656E67, 24).Put(rich && a == 0, 1);
            if (rich && a == 0) w.Put(4, 10).Fill('t', 5);
            w.Put(23, 5).Put(12, 4).Put(channels - 1, 8).Put(1, 1).Put(1, channels > 2).Put(0, channels > 6);
            w.Put(1, 1).Put(3, 2).Put(mask, 16);
        }
        return w.Put(0, 7).Align().Take();
    }
};

inline std::vector<uint8_t> DtsExt(uint32_t bytes = 1000, uint32_t duration = 0, uint32_t clock = 2, uint32_t channels = 8,
                                   void (*edit)(DtsExtensionSubstream&) = nullptr) {
    DtsExtensionSubstream s;
    s.bytes = bytes, s.durationCode = duration, s.refClockCode = clock, s.channels = channels;
    if (edit != nullptr) edit(s);
    return s.Build();
}

}  // namespace kiv_test
