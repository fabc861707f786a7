#include "es/video/vc1/CAccessUintInformationForVc1.h"

#include "es/video/vc1/Vc1Constants.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

namespace {

// True when bdu is of class B; the first such BDU moves into slot, later ones are dropped.
template <typename B>
bool Keep(std::unique_ptr<CBitstreamDataUnit>& bdu, std::unique_ptr<B>& slot) {
    B* typed = dynamic_cast<B*>(bdu.get());
    if (typed == nullptr) return false;
    if (slot == nullptr) slot.reset(static_cast<B*>(bdu.release()));
    return true;
}

}  // namespace

void CAccessUintInformationForVc1::AddBdu(std::unique_ptr<CBitstreamDataUnit> bdu) {
    m_size += bdu->GetSize();
    ++m_count;
    Keep(bdu, m_sequenceHeader) || Keep(bdu, m_entryPoint) || Keep(bdu, m_picture) || Keep(bdu, m_endOfSequence);
}

uint32_t CAccessUintInformationForVc1::GetPictureType() const {
    if (IsHeaderUnit()) return kPictureNone;
    const CPictureLayerForAdvancedProfile* picture = m_picture.get();
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

std::unique_ptr<CSequenceHeader> CAccessUintInformationForVc1::GetSequenceHeader() const {
    return m_sequenceHeader != nullptr ? std::make_unique<CSequenceHeader>(*m_sequenceHeader) : nullptr;
}

std::unique_ptr<CPictureLayerForAdvancedProfile> CAccessUintInformationForVc1::GetPictureLayer() const {
    return m_picture != nullptr ? std::make_unique<CPictureLayerForAdvancedProfile>(*m_picture) : nullptr;
}

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
