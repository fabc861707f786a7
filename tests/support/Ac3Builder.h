// Test support: AC-3 and E-AC-3 sync frames written field by field.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "support/BitWriter.h"

namespace kiv_test {

// Words per AC-3 sync frame at 48, 44.1 and 32 kHz for frame-size codes 0 to 37 (from the bit rates).
inline uint32_t Ac3FrameWords(uint32_t fscod, uint32_t frmsizecod) {
    static const uint16_t kBitRates[19] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 448, 512, 576, 640};
    const uint32_t rate = kBitRates[frmsizecod / 2];
    if (fscod == 0) return rate * 2;  // 1536 samples at 48 kHz: kbit/s * 4 bytes = 2 words
    if (fscod == 2) return rate * 3;
    return rate * 1536000u / 44100u / 16u + (frmsizecod % 2);  // 44.1 kHz: the odd code one word longer
}

// Optional groups of a bsi; a group switched on is written with its payload all ones.
enum Ac3Group : uint32_t {
    kCompr = 1, kCompr2 = 2, kLang = 4, kLang2 = 8, kProd = 16, kProd2 = 32, kChanmap = 64, kMix = 128,
    kLfeMix = 256, kPgm = 512, kPgm2 = 1024, kExtPgm = 2048, kPan = 4096, kPan2 = 8192, kFrmMix = 16384,
    kBlkMix = 32768, kInfo = 65536, kAddBsi = 131072
};

// One AC-3 sync frame, padded with zero bytes to its length (lengthBytes, else the frame-size table's).
struct Ac3Frame {
    uint32_t acmod = 2, lfeon = 0, fscod = 0, frmsizecod = 28, bsid = 8, bsmod = 0, dsurmod = 0, groups = 0;
    uint32_t langcod = 9, langcod2 = 10, lengthBytes = 0;

    std::vector<uint8_t> Build() const {
        const auto on = [this](uint32_t g) { return (groups & g) != 0; };
        BitWriter w;
        w.Put(0x0B77, 16).Put(0, 16).Put(fscod, 2).Put(frmsizecod, 6).Put(bsid, 5).Put(bsmod, 3).Put(acmod, 3);
        w.Put(3, (acmod & 1) && acmod != 1 ? 2 : 0).Put(3, acmod & 4 ? 2 : 0).Put(dsurmod, acmod == 2 ? 2 : 0);
        w.Put(lfeon, 1).Put(31, 5).Put(on(kCompr), 1).Put(0xFF, on(kCompr) ? 8 : 0).Put(on(kLang), 1);
        w.Put(langcod, on(kLang) ? 8 : 0).Put(on(kProd), 1).Put(0x7F, on(kProd) ? 7 : 0);
        if (acmod == 0) {
            w.Put(31, 5).Put(on(kCompr2), 1).Put(0xFF, on(kCompr2) ? 8 : 0).Put(on(kLang2), 1);
            w.Put(langcod2, on(kLang2) ? 8 : 0).Put(on(kProd2), 1).Put(0x7F, on(kProd2) ? 7 : 0);
        }
        std::vector<uint8_t> bytes = w.Align().Take();
        const uint32_t length = lengthBytes ? lengthBytes : fscod < 3 && frmsizecod < 38 ? 2 * Ac3FrameWords(fscod, frmsizecod) : 0;
        if (bytes.size() < length) bytes.resize(length, 0);
        return bytes;
    }
};

// One E-AC-3 sync frame of frmsiz + 1 words (pad: frames shorter than their bsi keep the bsi's length).
struct Eac3Frame {
    uint32_t strmtyp = 0, acmod = 2, lfeon = 0, groups = 0, numblkscod = 3, bsmod = 0, dsurmod = 0, mixdef = 0;
    uint32_t fscod = 0, substreamid = 0, chanmap = 0, blkid = 0, frmsizecod = 0, addbsil = 0, frmsiz = 767;
    bool pad = true;

    std::vector<uint8_t> Build() const {
        const auto on = [this](uint32_t g) { return (groups & g) != 0; };
        const uint32_t nbc = fscod == 3 ? 3 : numblkscod;
        BitWriter w;
        w.Put(0x0B77, 16).Put(strmtyp, 2).Put(substreamid, 3).Put(frmsiz, 11).Put(fscod, 2).Put(fscod == 3 ? 3 : nbc, 2);
        w.Put(acmod, 3).Put(lfeon, 1).Put(16, 5).Put(31, 5).Put(on(kCompr), 1).Put(0xFF, on(kCompr) ? 8 : 0);
        if (acmod == 0) w.Put(31, 5).Put(on(kCompr2), 1).Put(0xFF, on(kCompr2) ? 8 : 0);
        if (strmtyp == 1) w.Put(on(kChanmap), 1).Put(chanmap, on(kChanmap) ? 16 : 0);
        w.Put(on(kMix), 1);
        if (on(kMix)) {
            w.Put(3, acmod > 2 ? 2 : 0).Put(63, (acmod & 1) && acmod > 2 ? 6 : 0).Put(63, acmod & 4 ? 6 : 0);
            if (lfeon) w.Put(on(kLfeMix), 1).Put(31, on(kLfeMix) ? 5 : 0);
            if (strmtyp == 0) {
                w.Put(on(kPgm), 1).Put(63, on(kPgm) ? 6 : 0);
                if (acmod == 0) w.Put(on(kPgm2), 1).Put(63, on(kPgm2) ? 6 : 0);
                w.Put(on(kExtPgm), 1).Put(63, on(kExtPgm) ? 6 : 0).Put(mixdef, 2).Put(~0ull, mixdef == 1 ? 5 : mixdef == 2 ? 12 : 0);
                if (mixdef == 3) w.Put(4, 5).Fill(0xFF, 6);
                if (acmod < 2) w.Put(on(kPan), 1).Put(0x3FFF, on(kPan) ? 14 : 0);
                if (acmod == 0) w.Put(on(kPan2), 1).Put(0x3FFF, on(kPan2) ? 14 : 0);
                w.Put(on(kFrmMix), 1).Put(31, on(kFrmMix) && nbc == 0 ? 5 : 0);
                for (uint32_t b = 0; on(kFrmMix) && nbc != 0 && b < (nbc == 3 ? 6 : nbc + 1); ++b) w.Put(on(kBlkMix), 1).Put(31, on(kBlkMix) ? 5 : 0);
            }
        }
        w.Put(on(kInfo), 1);
        if (on(kInfo)) {
            w.Put(bsmod, 3).Put(3, 2).Put(dsurmod, acmod == 2 ? 2 : 0).Put(3, acmod == 2 ? 2 : 0).Put(3, acmod >= 6 ? 2 : 0);
            w.Put(on(kProd), 1).Put(0xFF, on(kProd) ? 8 : 0);
            if (acmod == 0) w.Put(on(kProd2), 1).Put(0xFF, on(kProd2) ? 8 : 0);
            w.Put(1, fscod < 3);
        }
        w.Put(1, strmtyp == 0 && nbc != 3).Put(blkid, strmtyp == 2 && nbc != 3).Put(frmsizecod, strmtyp == 2 && (nbc == 3 || blkid) ? 6 : 0);
        w.Put(on(kAddBsi), 1).Put(addbsil, on(kAddBsi) ? 6 : 0).Fill(0x5A, on(kAddBsi) ? addbsil + 1 : 0);
        std::vector<uint8_t> bytes = w.Align().Take();
        if (pad && bytes.size() < 2 * size_t{frmsiz} + 2) bytes.resize(2 * size_t{frmsiz} + 2, 0);
        return bytes;
    }
};

// Reverses the bytes of every 16-bit word (a trailing odd byte stays).
inline std::vector<uint8_t> SwapWords(std::vector<uint8_t> bytes) {
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

}  // namespace kiv_test
