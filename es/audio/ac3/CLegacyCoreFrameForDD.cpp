#include "es/audio/ac3/CLegacyCoreFrameForDD.h"

#include "es/audio/ac3/Ac3Constants.h"
#include "input/CBinaryBuffer.h"

namespace ts_comp {
namespace es {
namespace dolby_digital_audio {

CLegacyCoreFrameForDD::~CLegacyCoreFrameForDD() = default;

bool CLegacyCoreFrameForDD::Parse(CBinaryBuffer& buffer) {
    try {
        const int64_t start = buffer.Tell();
        auto bits = [&buffer](uint32_t count) { return static_cast<uint8_t>(buffer.GetBits(count)); };
        buffer.GetBits(16);  // syncword
        buffer.GetBits(16);  // crc1
        fscod = bits(2);
        frmsizecod = bits(6);
        bsid = bits(5);
        if (bsid > kMaxLegacyBsid) return false;
        bsmod = bits(3);
        acmod = bits(3);
        if ((acmod & 1) != 0 && acmod != 1) bits(2);  // cmixlev
        if ((acmod & 4) != 0) bits(2);                // surmixlev
        if (acmod == 2) dsurmod = bits(2);
        lfeon = bits(1);
        bits(5);  // dialnorm
        compre = bits(1);
        if (compre) bits(8);  // compr
        langcode = bits(1);
        if (langcode) langcod = bits(8);
        audprodie = bits(1);
        if (audprodie) bits(7);  // mixlevel, roomtyp
        if (acmod == 0) {
            bits(5);  // dialnorm2
            compr2e = bits(1);
            if (compr2e) compr2 = bits(8);
            langcod2e = bits(1);
            if (langcod2e) langcod2 = bits(8);
            if (bits(1)) bits(7);  // audprodi2e: mixlevel2, roomtyp2
        }
        // Reserved sampling-rate and frame-size codes have no length: the frame is refused.
        const uint32_t words = LegacyFrameWords(fscod, frmsizecod);
        if (words == 0) return false;
        buffer.Seek(start + 2 * static_cast<int64_t>(words), 0);
        return true;
    } catch (const CBinaryBuffer::BinaryBufferException&) {
        return false;
    }
}

}  // namespace dolby_digital_audio
}  // namespace es
}  // namespace ts_comp
