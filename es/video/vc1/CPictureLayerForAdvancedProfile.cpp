#include "es/video/vc1/CPictureLayerForAdvancedProfile.h"

#include "es/video/vc1/CSequenceHeader.h"
#include "es/video/vc1/Vc1Constants.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

namespace {
// Reads bits into field; false (field unchanged) when fewer than asked remain.
template <typename T>
bool Read(CBinaryBuffer& b, T& field, uint32_t bits) {
    uint64_t value = 0;
    if (b.ReadBits(&value, bits) != bits) return false;
    field = static_cast<T>(value);
    return true;
}
}  // namespace

CPictureLayerForAdvancedProfile::CPictureLayerForAdvancedProfile() : CBitstreamDataUnit(kBduFrame) {}

std::unique_ptr<CBitstreamDataUnit> CPictureLayerForAdvancedProfile::Clone() const {
    return std::make_unique<CPictureLayerForAdvancedProfile>(*this);
}

bool CPictureLayerForAdvancedProfile::ParseWithSequenceHeader(CBinaryBuffer& b, const CSequenceHeader* sh) {
    if (sh == nullptr) return false;
    bool fieldPair = false;
    if (sh->INTERLACE == 1) {
        uint8_t first = 0;
        if (!Read(b, first, 1)) return false;
        FCM = first;
        if (first == 1) {
            uint8_t second = 0;
            if (!Read(b, second, 1)) return false;
            FCM = static_cast<uint8_t>(2 * first + second);
        }
        if (FCM == kFcmFieldInterlace) {
            if (!Read(b, FPTYPE, 3)) return false;
            fieldPair = true;
        }
    }
    if (!fieldPair) {
        // Up to four bits, a further bit only after a 1; the code is padded with zeros to 4 bits.
        uint8_t bit = 0;
        if (!Read(b, bit, 1)) return false;
        uint8_t code = bit;
        for (int i = 0; i < 3; ++i) {
            code = static_cast<uint8_t>(code << 1);
            if (bit == 1) {
                if (!Read(b, bit, 1)) return false;
                code = static_cast<uint8_t>(code + bit);
            }
        }
        PTYPE = code;
    }
    if (PTYPE != kPtypeSkipped && sh->TFCNTRFLAG == 1 && !Read(b, TFCNTR, 8)) return false;
    if (sh->PULLDOWN == 1) {
        if (sh->INTERLACE == 0 || sh->PSF == 1) return Read(b, RPTFRM, 2);
        return Read(b, TFF, 1) && Read(b, RFF, 1);
    }
    return true;
}

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
