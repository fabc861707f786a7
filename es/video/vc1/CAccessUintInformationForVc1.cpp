#include "es/video/vc1/CAccessUintInformationForVc1.h"

#include "es/video/vc1/CEndOfSequence.h"
#include "es/video/vc1/CEntrypointHeader.h"
#include "es/video/vc1/Vc1Constants.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

void CAccessUintInformationForVc1::AddBdu(std::unique_ptr<CBitstreamDataUnit> bdu) {
    m_bdus.push_back(std::move(bdu));
}

uint32_t CAccessUintInformationForVc1::GetSize() const {
    uint32_t size = 0;
    for (const auto& bdu : m_bdus) size += bdu->GetSize();
    return size;
}

uint32_t CAccessUintInformationForVc1::GetPictureType() const {
    if (IsHeaderUnit()) return kPictureNone;
    const CPictureLayerForAdvancedProfile* picture = Find<CPictureLayerForAdvancedProfile>();
    if (picture == nullptr) return kPictureNone;
    if (picture->FCM == kFcmFieldInterlace) {
        // I/I and I/P open with an I field, P/I and P/P with a P field; the rest hold B or BI fields.
        if (picture->FPTYPE <= 1) return kPictureI;
        if (picture->FPTYPE <= 3) return kPictureP;
        return kPictureB;
    }
    switch (picture->PTYPE) {
        case kPtypeI: return kPictureI;
        case kPtypeP:
        case kPtypeSkipped: return kPictureP;
        case kPtypeB:
        case kPtypeBI: return kPictureB;
        default: return kPictureNone;
    }
}

bool CAccessUintInformationForVc1::IsHeaderUnit() const { return HasSequenceHeader() || HasEntrypointHeader(); }

bool CAccessUintInformationForVc1::HasEndOfSequence() const { return Find<CEndOfSequence>() != nullptr; }

bool CAccessUintInformationForVc1::HasSequenceHeader() const { return Find<CSequenceHeader>() != nullptr; }

bool CAccessUintInformationForVc1::HasEntrypointHeader() const { return Find<CEntrypointHeader>() != nullptr; }

std::unique_ptr<CSequenceHeader> CAccessUintInformationForVc1::GetSequenceHeader() const {
    const CSequenceHeader* header = Find<CSequenceHeader>();
    return header != nullptr ? std::make_unique<CSequenceHeader>(*header) : nullptr;
}

std::unique_ptr<CPictureLayerForAdvancedProfile> CAccessUintInformationForVc1::GetPictureLayer() const {
    const CPictureLayerForAdvancedProfile* picture = Find<CPictureLayerForAdvancedProfile>();
    return picture != nullptr ? std::make_unique<CPictureLayerForAdvancedProfile>(*picture) : nullptr;
}

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
