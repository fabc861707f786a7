#include "es/video/avc/CAccessUintInformation.h"

namespace ts_comp {
namespace es {
namespace avc_video {

namespace {
bool IsSliceType(uint8_t type) {
    return type == kNalSliceNonIdr || type == kNalSliceIdr || type == kNalSliceExtension;
}
}  // namespace

CAccessUintInformation::~CAccessUintInformation() = default;

// Each pointer takes the first unit that qualifies for it; a unit is kept while some pointer looks into it.
void CAccessUintInformation::AddNalUnit(std::unique_ptr<nal_unit> unit) {
    ++m_count;
    m_types |= 1u << unit->nal_unit_type;
    bool keep = false;
    auto first = [&keep](auto& slot, auto* found) {
        if (slot != nullptr || found == nullptr) return;
        slot = found;
        keep = true;
    };
    if (const auto* sps = dynamic_cast<const seq_parameter_set_rbsp*>(unit.get())) {
        first(m_firstSps, sps);
        first(m_firstSubsetSps, dynamic_cast<const subset_seq_parameter_set_rbsp*>(sps));
        if (sps->data.vui_parameters_present_flag && sps->data.vui.timing_info_present_flag) {
            first(m_timingVui, &sps->data.vui);
        }
    }
    if (IsSliceType(unit->nal_unit_type)) {
        first(m_firstSlice, dynamic_cast<const slice_layer_without_partitioning_rbsp*>(unit.get()));
    }
    if (const nal_unit_header_mvc_extension* header = unit->mvc_extension.get()) {
        first(m_mvcHeader, header);
        if (unit->nal_unit_type == kNalSliceExtension && header->anchor_pic_flag) m_anchorSliceExtension = true;
    }
    const uint32_t bytes = unit->start_code_length + unit->size;
    if (const auto* sei = dynamic_cast<const sei_rbsp*>(unit.get())) {
        first(m_bufferingPeriod, sei->Find<buffering_period>());
        first(m_picTiming, sei->Find<pic_timing>());
        if (!m_offsetMetadataFound && sei->HasOffsetMetadata()) {
            m_offsetMetadataFound = true;
            m_offsetMetadataPos = m_offset;
            m_offsetMetadataSize = bytes;
        }
    }
    m_offset += bytes;
    if (keep) m_kept.push_back(std::move(unit));
}

std::unique_ptr<seq_parameter_set_data> CAccessUintInformation::CloneSpsData() const {
    return m_firstSps != nullptr ? m_firstSps->data.Clone() : nullptr;
}

std::unique_ptr<subset_seq_parameter_set_rbsp> CAccessUintInformation::CloneSubsetSps() const {
    if (m_firstSubsetSps == nullptr) return nullptr;
    const auto& subset = *m_firstSubsetSps;
    auto copy = std::make_unique<subset_seq_parameter_set_rbsp>(subset.nal_unit_type, subset.size,
                                                                subset.start_code_length);
    copy->data = subset.data;
    copy->mvc = subset.mvc;
    return copy;
}

bool CAccessUintInformation::HasVuiParameters() const {
    return m_firstSps != nullptr && m_firstSps->data.vui_parameters_present_flag != 0;
}

uint32_t CAccessUintInformation::GetCpbRemovalDelay() const {
    return m_picTiming != nullptr ? m_picTiming->cpb_removal_delay : 0;
}

uint32_t CAccessUintInformation::GetDpbOutputDelay() const {
    return m_picTiming != nullptr ? m_picTiming->dpb_output_delay : 0;
}

uint32_t CAccessUintInformation::GetFieldCount() const {
    return m_picTiming != nullptr ? pic_timing::FieldCountOf(m_picTiming->pic_struct) : 0;
}

uint8_t CAccessUintInformation::GetSliceType() const {
    return m_firstSlice != nullptr ? m_firstSlice->header.slice_type : 0;
}

bool CAccessUintInformation::IsFieldPicture() const {
    return m_firstSlice != nullptr && m_firstSlice->header.field_pic_flag != 0;
}

std::unique_ptr<nal_unit_header_mvc_extension> CAccessUintInformation::CloneMvcExtensionHeader() const {
    return m_mvcHeader != nullptr ? m_mvcHeader->Clone() : nullptr;
}

// 1 = I picture opening a random-access point, 2 = P, 3 = B, 4 = other I; 0 when all slices of the
// picture do not share one of the types 5 to 7 (or an anchor of the dependent view).
uint32_t CAccessUintInformation::GetPictureType() const {
    const uint8_t sliceType = GetSliceType();
    if (HasDependentDelimiter()) {
        if (m_mvcHeader == nullptr) return 0;
        if (m_mvcHeader->anchor_pic_flag) return HasSubsetSps() ? 1 : 4;
        return sliceType == 5 ? 2 : sliceType == 6 ? 3 : 0;
    }
    switch (sliceType) {
        case 5: return 2;
        case 6: return 3;
        case 7: return HasSps() ? 1 : 4;
        default: return 0;
    }
}

bool CAccessUintInformation::IsIdrPicture() const {
    if (HasDependentDelimiter()) {
        return m_mvcHeader != nullptr && m_mvcHeader->non_idr_flag == 0;
    }
    return HasType(kNalSliceIdr);
}

bool CAccessUintInformation::IsStillPicture() const {
    if (HasDependentDelimiter()) {
        return m_anchorSliceExtension && HasType(kNalSubsetSps) && HasType(kNalPps) && HasType(kNalEndOfSequence);
    }
    return HasType(kNalAccessUnitDelimiter) && HasType(kNalSps) && HasType(kNalPps) && HasType(kNalSliceIdr) &&
           HasType(kNalEndOfSequence);
}

bool CAccessUintInformation::IsStillFieldPair(const CAccessUintInformation& first, const CAccessUintInformation& second) {
    return first.HasType(kNalSps) && first.HasType(kNalPps) && first.HasType(kNalSliceIdr) &&
           second.HasType(kNalEndOfSequence);
}

// The position is that of the SEI unit's start code within the access unit.
bool CAccessUintInformation::FindOffsetMetadata(uint32_t& pos, uint32_t& size) const {
    if (!m_offsetMetadataFound) return false;
    pos = m_offsetMetadataPos;
    size = m_offsetMetadataSize;
    return true;
}

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
