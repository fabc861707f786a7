// Test support: AC-3 and E-AC-3 sync frames written field by field.
#pragma once

#include <cstdint>
#include <vector>

#include "support/BitWriter.h"

namespace kiv_test {

// Words per AC-3 sync frame at 48, 44.1 and 32 kHz for frame-size codes 0 to 37 (ATSC A/52 table).
inline uint32_t Ac3FrameWords(uint32_t fscod, uint32_t frmsizecod) {
    static const uint16_t kBitRates[19] = {32,  40,  48,  56,  64,  80,  96,  112, 128, 160,
                                           192, 224, 256, 320, 384, 448, 512, 576, 640};
    const uint32_t rate = kBitRates[frmsizecod / 2];
    if (fscod == 0) return rate * 2;  // 1536 samples at 48 kHz: kbit/s * 4 bytes = 2 words
    if (fscod == 2) return rate * 3;
    // 44.1 kHz: 1536 * rate * 1000 / 44100 / 16 words, the odd code one word longer.
    return rate * 1536000u / 44100u / 16u + (frmsizecod % 2);
}

// Fields of one AC-3 sync frame's bsi; the frame is padded with zero bytes to its length.
struct Ac3Frame {
    uint32_t crc1 = 0;
    uint32_t fscod = 0;
    uint32_t frmsizecod = 28;
    uint32_t bsid = 8;
    uint32_t bsmod = 0;
    uint32_t acmod = 2;
    uint32_t cmixlev = 0;
    uint32_t surmixlev = 0;
    uint32_t dsurmod = 0;
    uint32_t lfeon = 0;
    uint32_t dialnorm = 27;
    uint32_t compre = 0, compr = 0;
    uint32_t langcode = 0, langcod = 0;
    uint32_t audprodie = 0, mixlevel = 0, roomtyp = 0;
    uint32_t dialnorm2 = 27;
    uint32_t compr2e = 0, compr2 = 0;
    uint32_t langcod2e = 0, langcod2 = 0;
    uint32_t audprodi2e = 0, mixlevel2 = 0, roomtyp2 = 0;
    // Total length in bytes; 0 takes it from the frame-size table.
    uint32_t lengthBytes = 0;

    std::vector<uint8_t> Build() const {
        BitWriter w;
        w.Put(0x0B77, 16).Put(crc1, 16).Put(fscod, 2).Put(frmsizecod, 6).Put(bsid, 5).Put(bsmod, 3).Put(acmod, 3);
        if ((acmod & 1) && acmod != 1) w.Put(cmixlev, 2);
        if (acmod & 4) w.Put(surmixlev, 2);
        if (acmod == 2) w.Put(dsurmod, 2);
        w.Put(lfeon, 1).Put(dialnorm, 5).Put(compre, 1);
        if (compre) w.Put(compr, 8);
        w.Put(langcode, 1);
        if (langcode) w.Put(langcod, 8);
        w.Put(audprodie, 1);
        if (audprodie) w.Put(mixlevel, 5).Put(roomtyp, 2);
        if (acmod == 0) {
            w.Put(dialnorm2, 5).Put(compr2e, 1);
            if (compr2e) w.Put(compr2, 8);
            w.Put(langcod2e, 1);
            if (langcod2e) w.Put(langcod2, 8);
            w.Put(audprodi2e, 1);
            if (audprodi2e) w.Put(mixlevel2, 5).Put(roomtyp2, 2);
        }
        w.Align();
        uint32_t length = lengthBytes;
        if (length == 0 && fscod < 3 && frmsizecod < 38) length = 2 * Ac3FrameWords(fscod, frmsizecod);
        std::vector<uint8_t> bytes = w.Take();
        if (bytes.size() < length) bytes.resize(length, 0);
        return bytes;
    }
};

// Fields of one E-AC-3 sync frame's bsi, with switches for each optional group.
struct Eac3Frame {
    uint32_t strmtyp = 0;
    uint32_t substreamid = 0;
    uint32_t frmsiz = 767;  // words - 1
    uint32_t fscod = 0, fscod2 = 0, numblkscod = 3;
    uint32_t acmod = 2, lfeon = 0, bsid = 16, dialnorm = 27;
    uint32_t compre = 0, compr = 0;
    uint32_t dialnorm2 = 27, compr2e = 0, compr2 = 0;
    uint32_t chanmape = 0, chanmap = 0;
    // Mixing metadata.
    uint32_t mixmdate = 0;
    uint32_t dmixmod = 0, ltrtcmixlev = 0, lorocmixlev = 0, ltrtsurmixlev = 0, lorosurmixlev = 0;
    uint32_t lfemixlevcode = 0, lfemixlevcod = 0;
    uint32_t pgmscle = 0, pgmscl = 0, pgmscl2e = 0, pgmscl2 = 0, extpgmscle = 0, extpgmscl = 0;
    uint32_t mixdef = 0, mixdefBits = 0, mixdeflen = 0;
    uint32_t paninfoe = 0, paninfo2e = 0;
    uint32_t frmmixcfginfoe = 0;
    uint32_t blkmixcfginfoe = 0;  // the flag written for every block
    // Informational metadata.
    uint32_t infomdate = 0;
    uint32_t bsmod = 0, copyrightb = 0, origbs = 0, dsurmod = 0, dheadphonmod = 0, dsurexmod = 0;
    uint32_t audprodie = 0, audprodi2e = 0, sourcefscod = 0;
    uint32_t convsync = 0;
    uint32_t blkid = 0, frmsizecod = 0;
    uint32_t addbsie = 0, addbsil = 0;
    // Pads the frame to 2 * frmsiz + 2 bytes (frames shorter than the bsi keep the bsi length).
    bool pad = true;

    std::vector<uint8_t> Build() const {
        static const unsigned kBlocks[4] = {1, 2, 3, 6};
        const uint32_t blocks = fscod == 3 ? 6 : kBlocks[numblkscod & 3];
        const uint32_t nbc = fscod == 3 ? 3 : numblkscod;
        BitWriter w;
        w.Put(0x0B77, 16).Put(strmtyp, 2).Put(substreamid, 3).Put(frmsiz, 11).Put(fscod, 2);
        w.Put(fscod == 3 ? fscod2 : numblkscod, 2);
        w.Put(acmod, 3).Put(lfeon, 1).Put(bsid, 5).Put(dialnorm, 5).Put(compre, 1);
        if (compre) w.Put(compr, 8);
        if (acmod == 0) {
            w.Put(dialnorm2, 5).Put(compr2e, 1);
            if (compr2e) w.Put(compr2, 8);
        }
        if (strmtyp == 1) {
            w.Put(chanmape, 1);
            if (chanmape) w.Put(chanmap, 16);
        }
        w.Put(mixmdate, 1);
        if (mixmdate) {
            if (acmod > 2) w.Put(dmixmod, 2);
            if ((acmod & 1) && acmod > 2) w.Put(ltrtcmixlev, 3).Put(lorocmixlev, 3);
            if (acmod & 4) w.Put(ltrtsurmixlev, 3).Put(lorosurmixlev, 3);
            if (lfeon) {
                w.Put(lfemixlevcode, 1);
                if (lfemixlevcode) w.Put(lfemixlevcod, 5);
            }
            if (strmtyp == 0) {
                w.Put(pgmscle, 1);
                if (pgmscle) w.Put(pgmscl, 6);
                if (acmod == 0) {
                    w.Put(pgmscl2e, 1);
                    if (pgmscl2e) w.Put(pgmscl2, 6);
                }
                w.Put(extpgmscle, 1);
                if (extpgmscle) w.Put(extpgmscl, 6);
                w.Put(mixdef, 2);
                if (mixdef == 1) w.Put(mixdefBits, 5);
                if (mixdef == 2) w.Put(mixdefBits, 12);
                if (mixdef == 3) {
                    w.Put(mixdeflen, 5);
                    for (uint32_t i = 0; i < mixdeflen + 2; ++i) w.Put(0xA5, 8);
                }
                if (acmod < 2) {
                    w.Put(paninfoe, 1);
                    if (paninfoe) w.Put(0x3FFF, 14);
                    if (acmod == 0) {
                        w.Put(paninfo2e, 1);
                        if (paninfo2e) w.Put(0x3FFF, 14);
                    }
                }
                w.Put(frmmixcfginfoe, 1);
                if (frmmixcfginfoe) {
                    if (nbc == 0) {
                        w.Put(0x1F, 5);
                    } else {
                        for (uint32_t b = 0; b < blocks; ++b) {
                            w.Put(blkmixcfginfoe, 1);
                            if (blkmixcfginfoe) w.Put(0x1F, 5);
                        }
                    }
                }
            }
        }
        w.Put(infomdate, 1);
        if (infomdate) {
            w.Put(bsmod, 3).Put(copyrightb, 1).Put(origbs, 1);
            if (acmod == 2) w.Put(dsurmod, 2).Put(dheadphonmod, 2);
            if (acmod >= 6) w.Put(dsurexmod, 2);
            w.Put(audprodie, 1);
            if (audprodie) w.Put(0xFF, 8);
            if (acmod == 0) {
                w.Put(audprodi2e, 1);
                if (audprodi2e) w.Put(0xFF, 8);
            }
            if (fscod < 3) w.Put(sourcefscod, 1);
        }
        if (strmtyp == 0 && nbc != 3) w.Put(convsync, 1);
        if (strmtyp == 2) {
            const uint32_t id = nbc == 3 ? 1 : blkid;
            if (nbc != 3) w.Put(blkid, 1);
            if (id) w.Put(frmsizecod, 6);
        }
        w.Put(addbsie, 1);
        if (addbsie) {
            w.Put(addbsil, 6);
            for (uint32_t i = 0; i < addbsil + 1; ++i) w.Put(0x5A, 8);
        }
        w.Align();
        std::vector<uint8_t> bytes = w.Take();
        const size_t length = 2 * size_t{frmsiz} + 2;
        if (pad && bytes.size() < length) bytes.resize(length, 0);
        return bytes;
    }
};

// Concatenates frames into one stream.
inline std::vector<uint8_t> JoinFrames(const std::vector<std::vector<uint8_t>>& frames) {
    std::vector<uint8_t> out;
    for (const auto& f : frames) out.insert(out.end(), f.begin(), f.end());
    return out;
}

// Reverses the bytes of every 16-bit word (a trailing odd byte stays).
inline std::vector<uint8_t> SwapWords(std::vector<uint8_t> bytes) {
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

}  // namespace kiv_test
