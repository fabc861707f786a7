// One VC-1 access unit: the BDUs that form a header unit or a picture unit, in stream order.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "es/video/vc1/CBitstreamDataUnit.h"
#include "es/video/vc1/CPictureLayerForAdvancedProfile.h"
#include "es/video/vc1/CSequenceHeader.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

// Owns its BDUs and answers queries by the run-time class of each.
class CAccessUintInformationForVc1 {
public:
    CAccessUintInformationForVc1() = default;
    CAccessUintInformationForVc1(const CAccessUintInformationForVc1&) = delete;
    CAccessUintInformationForVc1& operator=(const CAccessUintInformationForVc1&) = delete;
    virtual ~CAccessUintInformationForVc1() = default;

    virtual void AddBdu(std::unique_ptr<CBitstreamDataUnit> bdu);
    virtual uint32_t GetSize() const;
    // The enc_item_type of the unit's picture; 0 for a header unit or a unit without a picture header.
    virtual uint32_t GetPictureType() const;
    virtual bool IsHeaderUnit() const;
    virtual bool HasEndOfSequence() const;
    virtual bool HasSequenceHeader() const;
    virtual bool HasEntrypointHeader() const;
    virtual std::unique_ptr<CSequenceHeader> GetSequenceHeader() const;
    virtual std::unique_ptr<CPictureLayerForAdvancedProfile> GetPictureLayer() const;
    virtual size_t GetBduCount() const { return m_bdus.size(); }

private:
    template <typename B>
    const B* Find() const {
        for (const auto& bdu : m_bdus) {
            if (const B* found = dynamic_cast<const B*>(bdu.get())) return found;
        }
        return nullptr;
    }

    std::vector<std::unique_ptr<CBitstreamDataUnit>> m_bdus;
};

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
