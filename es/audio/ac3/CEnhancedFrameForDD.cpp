#include "es/audio/ac3/CEnhancedFrameForDD.h"

#include "es/audio/ac3/Ac3Constants.h"
#include "input/CBinaryBuffer.h"

namespace ts_comp {
namespace es {
namespace dolby_digital_audio {

namespace {

uint32_t Bits(CBinaryBuffer& buffer, uint32_t count) { return static_cast<uint32_t>(buffer.GetBits(count)); }

// Passes count bits in reads of at most 32.
void SkipBits(CBinaryBuffer& buffer, uint32_t count) {
    while (count > 0) {
        const uint32_t take = count < 32 ? count : 32;
        buffer.GetBits(take);
        count -= take;
    }
}

}  // namespace

CEnhancedFrameForDD::~CEnhancedFrameForDD() = default;

bool CEnhancedFrameForDD::Parse(CBinaryBuffer& buffer) {
    try {
        const int64_t start = buffer.Tell();
        Bits(buffer, 16);  // syncword
        strmtyp = static_cast<uint8_t>(Bits(buffer, 2));
        substreamid = static_cast<uint8_t>(Bits(buffer, 3));
        frmsiz = static_cast<uint16_t>(Bits(buffer, 11));
        fscod = static_cast<uint8_t>(Bits(buffer, 2));
        uint8_t numblkscod = 3;
        if (fscod == 3) {
            Bits(buffer, 2);  // fscod2
        } else {
            numblkscod = static_cast<uint8_t>(Bits(buffer, 2));
        }
        acmod = static_cast<uint8_t>(Bits(buffer, 3));
        lfeon = static_cast<uint8_t>(Bits(buffer, 1));
        bsid = static_cast<uint8_t>(Bits(buffer, 5));
        Bits(buffer, 5);  // dialnorm
        compre = static_cast<uint8_t>(Bits(buffer, 1));
        if (compre) Bits(buffer, 8);  // compr
        if (acmod == 0) {
            Bits(buffer, 5);                   // dialnorm2
            if (Bits(buffer, 1)) Bits(buffer, 8);  // compr2e, compr2
        }
        if (strmtyp == kStreamTypeDependent) {
            chanmape = static_cast<uint8_t>(Bits(buffer, 1));
            if (chanmape) chanmap = static_cast<uint16_t>(Bits(buffer, 16));
        }
        if (Bits(buffer, 1)) ParseMixingMetadata(buffer, numblkscod);  // mixmdate
        if (Bits(buffer, 1)) ParseInformationalMetadata(buffer);      // infomdate
        if (strmtyp == kStreamTypeIndependent && numblkscod != 3) Bits(buffer, 1);  // convsync
        if (strmtyp == kStreamTypeConverted) {
            const uint32_t blkid = numblkscod == 3 ? 1 : Bits(buffer, 1);
            if (blkid) frmsizecod = static_cast<uint8_t>(Bits(buffer, 6));
        }
        if (Bits(buffer, 1)) {  // addbsie
            const uint32_t addbsil = Bits(buffer, 6);
            SkipBits(buffer, (addbsil + 1) * 8);  // addbsi
        }
        buffer.Seek(start + 2 * static_cast<int64_t>(frmsiz) + 2, 0);
        return true;
    } catch (const CBinaryBuffer::BinaryBufferException&) {
        return false;
    }
}

void CEnhancedFrameForDD::ParseMixingMetadata(CBinaryBuffer& buffer, uint8_t numblkscod) {
    if (acmod > 2) Bits(buffer, 2);                        // dmixmod
    if ((acmod & 1) != 0 && acmod > 2) Bits(buffer, 6);    // ltrtcmixlev, lorocmixlev
    if ((acmod & 4) != 0) Bits(buffer, 6);                 // ltrtsurmixlev, lorosurmixlev
    if (lfeon && Bits(buffer, 1)) Bits(buffer, 5);         // lfemixlevcode, lfemixlevcod
    if (strmtyp != kStreamTypeIndependent) return;
    if (Bits(buffer, 1)) Bits(buffer, 6);                  // pgmscle, pgmscl
    if (acmod == 0 && Bits(buffer, 1)) Bits(buffer, 6);    // pgmscl2e, pgmscl2
    if (Bits(buffer, 1)) Bits(buffer, 6);                  // extpgmscle, extpgmscl
    const uint32_t mixdef = Bits(buffer, 2);
    if (mixdef == 1) {
        Bits(buffer, 5);  // premixcmpsel, drcsrc, premixcmpscl
    } else if (mixdef == 2) {
        Bits(buffer, 12);  // mixdata
    } else if (mixdef == 3) {
        const uint32_t mixdeflen = Bits(buffer, 5);
        SkipBits(buffer, 8 * (mixdeflen + 2));  // mixdata
    }
    if (acmod < 2) {
        if (Bits(buffer, 1)) Bits(buffer, 14);                  // paninfoe: panmean, paninfo
        if (acmod == 0 && Bits(buffer, 1)) Bits(buffer, 14);    // paninfo2e: panmean2, paninfo2
    }
    if (Bits(buffer, 1)) {  // frmmixcfginfoe
        if (numblkscod == 0) {
            Bits(buffer, 5);  // blkmixcfginfo[0]
        } else {
            for (uint8_t blk = 0; blk < kBlocksPerFrame[numblkscod]; ++blk) {
                if (Bits(buffer, 1)) Bits(buffer, 5);  // blkmixcfginfoe, blkmixcfginfo[blk]
            }
        }
    }
}

void CEnhancedFrameForDD::ParseInformationalMetadata(CBinaryBuffer& buffer) {
    bsmod = static_cast<uint8_t>(Bits(buffer, 3));
    Bits(buffer, 2);  // copyrightb, origbs
    if (acmod == 2) {
        dsurmod = static_cast<uint8_t>(Bits(buffer, 2));
        Bits(buffer, 2);  // dheadphonmod
    }
    if (acmod >= 6) Bits(buffer, 2);                       // dsurexmod
    if (Bits(buffer, 1)) Bits(buffer, 8);                  // audprodie: mixlevel, roomtyp, adconvtyp
    if (acmod == 0 && Bits(buffer, 1)) Bits(buffer, 8);    // audprodi2e: mixlevel2, roomtyp2, adconvtyp2
    if (fscod < 3) Bits(buffer, 1);                        // sourcefscod
}

}  // namespace dolby_digital_audio
}  // namespace es
}  // namespace ts_comp
