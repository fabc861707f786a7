// One VC-1 access unit: the BDUs that form a header unit or a picture unit, in stream order.
#pragma once

#include <cstdint>
#include <memory>

#include "es/video/vc1/CBitstreamDataUnit.h"
#include "es/video/vc1/CEndOfSequence.h"
#include "es/video/vc1/CEntrypointHeader.h"
#include "es/video/vc1/CPictureLayerForAdvancedProfile.h"
#include "es/video/vc1/CSequenceHeader.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

// Owns the BDUs its queries answer with: the first of each decoded class. Other BDUs count only by their
// size and number, so a unit of countless small BDUs takes no more memory than one of a few.
class CAccessUintInformationForVc1 {
public:
    CAccessUintInformationForVc1() = default;
    CAccessUintInformationForVc1(const CAccessUintInformationForVc1&) = delete;
    CAccessUintInformationForVc1& operator=(const CAccessUintInformationForVc1&) = delete;
    virtual ~CAccessUintInformationForVc1() = default;

    virtual void AddBdu(std::unique_ptr<CBitstreamDataUnit> bdu);
    virtual uint32_t GetSize() const { return m_size; }
    // The enc_item_type of the unit's picture; 0 for a header unit or a unit without a picture header.
    virtual uint32_t GetPictureType() const;
    virtual bool IsHeaderUnit() const;
    virtual bool HasEndOfSequence() const { return m_endOfSequence != nullptr; }
    virtual bool HasSequenceHeader() const { return m_sequenceHeader != nullptr; }
    virtual bool HasEntrypointHeader() const { return m_entryPoint != nullptr; }
    virtual std::unique_ptr<CSequenceHeader> GetSequenceHeader() const;
    virtual std::unique_ptr<CPictureLayerForAdvancedProfile> GetPictureLayer() const;
    virtual size_t GetBduCount() const { return m_count; }

private:
    std::unique_ptr<CSequenceHeader> m_sequenceHeader;
    std::unique_ptr<CEntrypointHeader> m_entryPoint;
    std::unique_ptr<CPictureLayerForAdvancedProfile> m_picture;
    std::unique_ptr<CEndOfSequence> m_endOfSequence;
    uint32_t m_size = 0;
    size_t m_count = 0;
};

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
