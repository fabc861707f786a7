// One AVC access unit: its size and its NAL units in stream order, with the analyser's queries.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "es/video/avc/nal_unit.h"
#include "es/video/avc/sei_rbsp.h"
#include "es/video/avc/slice_layer.h"

namespace ts_comp {
namespace es {
namespace avc_video {

// Owns its NAL units; each query looks at the first unit that qualifies.
class CAccessUintInformation {
public:
    CAccessUintInformation() = default;
    CAccessUintInformation(const CAccessUintInformation&) = delete;
    CAccessUintInformation& operator=(const CAccessUintInformation&) = delete;
    virtual ~CAccessUintInformation();

    void AddNalUnit(std::unique_ptr<nal_unit> unit) { m_units.push_back(std::move(unit)); }
    void SetSize(uint32_t size) { m_size = size; }
    uint32_t GetSize() const { return m_size; }
    const std::vector<std::unique_ptr<nal_unit>>& GetNalUnits() const { return m_units; }

    bool HasSps() const { return HasType(kNalSps); }
    bool HasSubsetSps() const { return HasType(kNalSubsetSps); }
    bool HasAnySps() const { return FirstSps() != nullptr; }
    std::unique_ptr<seq_parameter_set_data> CloneSpsData() const;
    std::unique_ptr<subset_seq_parameter_set_rbsp> CloneSubsetSps() const;
    bool HasVuiParameters() const;
    uint32_t GetTimeScale() const;
    uint32_t GetNumUnitsInTick() const;
    bool HasBufferingPeriod() const { return FindSei<buffering_period>() != nullptr; }
    bool HasPicTiming() const { return FindSei<pic_timing>() != nullptr; }
    uint32_t GetCpbRemovalDelay() const;
    uint32_t GetDpbOutputDelay() const;
    uint32_t GetFieldCount() const;
    uint8_t GetSliceType() const;
    bool IsFieldPicture() const;
    bool HasEndOfSequence() const { return HasType(kNalEndOfSequence); }
    bool HasSei() const { return HasType(kNalSei); }
    bool HasPrefixNalUnit() const { return HasType(kNalPrefix); }
    bool HasDependentDelimiter() const { return HasType(kNalDependentDelimiter); }
    bool HasMvcExtensionHeader() const { return FirstMvcHeader() != nullptr; }
    std::unique_ptr<nal_unit_header_mvc_extension> CloneMvcExtensionHeader() const;
    uint32_t GetPictureType() const;
    bool IsIdrPicture() const;
    bool IsStillPicture() const;
    static bool IsStillFieldPair(const CAccessUintInformation& first, const CAccessUintInformation& second);
    bool FindOffsetMetadata(uint32_t& pos, uint32_t& size) const;

private:
    bool HasType(uint8_t type) const;
    const seq_parameter_set_rbsp* FirstSps() const;
    const slice_layer_without_partitioning_rbsp* FirstSlice() const;
    const nal_unit_header_mvc_extension* FirstMvcHeader() const;
    const vui_parameters* FirstTimingVui() const;
    template <typename M>
    const M* FindSei() const {
        for (const auto& unit : m_units) {
            const auto* sei = dynamic_cast<const sei_rbsp*>(unit.get());
            if (sei == nullptr) continue;
            if (const M* found = sei->Find<M>()) return found;
        }
        return nullptr;
    }

    uint32_t m_size = 0;
    std::vector<std::unique_ptr<nal_unit>> m_units;
};

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
