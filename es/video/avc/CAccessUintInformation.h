// One AVC access unit: its size and what the analyser asks of its NAL units.
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

// Answers each query as the first NAL unit that qualifies would, and owns only those units; the others
// count by their type, size and start code, so a unit of countless small NAL units stays small.
class CAccessUintInformation {
public:
    CAccessUintInformation() = default;
    CAccessUintInformation(const CAccessUintInformation&) = delete;
    CAccessUintInformation& operator=(const CAccessUintInformation&) = delete;
    virtual ~CAccessUintInformation();

    void AddNalUnit(std::unique_ptr<nal_unit> unit);
    void SetSize(uint32_t size) { m_size = size; }
    uint32_t GetSize() const { return m_size; }
    size_t GetNalUnitCount() const { return m_count; }

    bool HasSps() const { return HasType(kNalSps); }
    bool HasSubsetSps() const { return HasType(kNalSubsetSps); }
    bool HasAnySps() const { return m_firstSps != nullptr; }
    std::unique_ptr<seq_parameter_set_data> CloneSpsData() const;
    std::unique_ptr<subset_seq_parameter_set_rbsp> CloneSubsetSps() const;
    bool HasVuiParameters() const;
    uint32_t GetTimeScale() const { return m_timingVui != nullptr ? m_timingVui->time_scale : 0; }
    uint32_t GetNumUnitsInTick() const { return m_timingVui != nullptr ? m_timingVui->num_units_in_tick : 0; }
    bool HasBufferingPeriod() const { return m_bufferingPeriod != nullptr; }
    bool HasPicTiming() const { return m_picTiming != nullptr; }
    uint32_t GetCpbRemovalDelay() const;
    uint32_t GetDpbOutputDelay() const;
    uint32_t GetFieldCount() const;
    uint8_t GetSliceType() const;
    bool IsFieldPicture() const;
    bool HasEndOfSequence() const { return HasType(kNalEndOfSequence); }
    bool HasSei() const { return HasType(kNalSei); }
    bool HasPrefixNalUnit() const { return HasType(kNalPrefix); }
    bool HasDependentDelimiter() const { return HasType(kNalDependentDelimiter); }
    bool HasMvcExtensionHeader() const { return m_mvcHeader != nullptr; }
    std::unique_ptr<nal_unit_header_mvc_extension> CloneMvcExtensionHeader() const;
    uint32_t GetPictureType() const;
    bool IsIdrPicture() const;
    bool IsStillPicture() const;
    static bool IsStillFieldPair(const CAccessUintInformation& first, const CAccessUintInformation& second);
    bool FindOffsetMetadata(uint32_t& pos, uint32_t& size) const;

private:
    bool HasType(uint8_t type) const { return (m_types >> type & 1) != 0; }

    uint32_t m_size = 0;
    size_t m_count = 0;
    uint32_t m_types = 0;  // bit t set when a NAL unit of type t was added
    // The units the pointers below look into.
    std::vector<std::unique_ptr<nal_unit>> m_kept;
    const seq_parameter_set_rbsp* m_firstSps = nullptr;  // SPS or subset SPS
    const subset_seq_parameter_set_rbsp* m_firstSubsetSps = nullptr;
    const vui_parameters* m_timingVui = nullptr;  // of the first SPS whose VUI has timing information
    const slice_layer_without_partitioning_rbsp* m_firstSlice = nullptr;
    const nal_unit_header_mvc_extension* m_mvcHeader = nullptr;
    const buffering_period* m_bufferingPeriod = nullptr;
    const pic_timing* m_picTiming = nullptr;
    bool m_anchorSliceExtension = false;  // a type-20 unit whose MVC header has anchor_pic_flag 1
    // Start code and size of the units added so far, and where the first offset-metadata SEI unit lies.
    uint32_t m_offset = 0;
    bool m_offsetMetadataFound = false;
    uint32_t m_offsetMetadataPos = 0;
    uint32_t m_offsetMetadataSize = 0;
};

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
