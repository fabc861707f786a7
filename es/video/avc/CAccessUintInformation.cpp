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

bool CAccessUintInformation::HasType(uint8_t type) const {
    for (const auto& unit : m_units) {
        if (unit->nal_unit_type == type) return true;
    }
    return false;
}

const seq_parameter_set_rbsp* CAccessUintInformation::FirstSps() const {
    for (const auto& unit : m_units) {
        if (const auto* sps = dynamic_cast<const seq_parameter_set_rbsp*>(unit.get())) return sps;
    }
    return nullptr;
}

const slice_layer_without_partitioning_rbsp* CAccessUintInformation::FirstSlice() const {
    for (const auto& unit : m_units) {
        if (!IsSliceType(unit->nal_unit_type)) continue;
        if (const auto* slice = dynamic_cast<const slice_layer_without_partitioning_rbsp*>(unit.get())) return slice;
    }
    return nullptr;
}

const nal_unit_header_mvc_extension* CAccessUintInformation::FirstMvcHeader() const {
    for (const auto& unit : m_units) {
        if (unit->mvc_extension != nullptr) return unit->mvc_extension.get();
    }
    return nullptr;
}

std::unique_ptr<seq_parameter_set_data> CAccessUintInformation::CloneSpsData() const {
    const seq_parameter_set_rbsp* sps = FirstSps();
    return sps != nullptr ? sps->data.Clone() : nullptr;
}

std::unique_ptr<subset_seq_parameter_set_rbsp> CAccessUintInformation::CloneSubsetSps() const {
    for (const auto& unit : m_units) {
        const auto* found = dynamic_cast<const subset_seq_parameter_set_rbsp*>(unit.get());
        if (found == nullptr) continue;
        const auto& subset = *found;
        auto copy = std::make_unique<subset_seq_parameter_set_rbsp>(subset.nal_unit_type, subset.size,
                                                                    subset.start_code_length);
        copy->data = subset.data;
        copy->mvc = subset.mvc;
        return copy;
    }
    return nullptr;
}

bool CAccessUintInformation::HasVuiParameters() const {
    const seq_parameter_set_rbsp* sps = FirstSps();
    return sps != nullptr && sps->data.vui_parameters_present_flag != 0;
}

const vui_parameters* CAccessUintInformation::FirstTimingVui() const {
    for (const auto& unit : m_units) {
        const auto* sps = dynamic_cast<const seq_parameter_set_rbsp*>(unit.get());
        if (sps != nullptr && sps->data.vui_parameters_present_flag && sps->data.vui.timing_info_present_flag) {
            return &sps->data.vui;
        }
    }
    return nullptr;
}

uint32_t CAccessUintInformation::GetTimeScale() const {
    const vui_parameters* vui = FirstTimingVui();
    return vui != nullptr ? vui->time_scale : 0;
}

uint32_t CAccessUintInformation::GetNumUnitsInTick() const {
    const vui_parameters* vui = FirstTimingVui();
    return vui != nullptr ? vui->num_units_in_tick : 0;
}

uint32_t CAccessUintInformation::GetCpbRemovalDelay() const {
    const pic_timing* timing = FindSei<pic_timing>();
    return timing != nullptr ? timing->cpb_removal_delay : 0;
}

uint32_t CAccessUintInformation::GetDpbOutputDelay() const {
    const pic_timing* timing = FindSei<pic_timing>();
    return timing != nullptr ? timing->dpb_output_delay : 0;
}

uint32_t CAccessUintInformation::GetFieldCount() const {
    const pic_timing* timing = FindSei<pic_timing>();
    return timing != nullptr ? pic_timing::FieldCountOf(timing->pic_struct) : 0;
}

uint8_t CAccessUintInformation::GetSliceType() const {
    const slice_layer_without_partitioning_rbsp* slice = FirstSlice();
    return slice != nullptr ? slice->header.slice_type : 0;
}

bool CAccessUintInformation::IsFieldPicture() const {
    const slice_layer_without_partitioning_rbsp* slice = FirstSlice();
    return slice != nullptr && slice->header.field_pic_flag != 0;
}

std::unique_ptr<nal_unit_header_mvc_extension> CAccessUintInformation::CloneMvcExtensionHeader() const {
    const nal_unit_header_mvc_extension* header = FirstMvcHeader();
    return header != nullptr ? header->Clone() : nullptr;
}

// 1 = I picture opening a random-access point, 2 = P, 3 = B, 4 = other I; 0 when all slices of the
// picture do not share one of the types 5 to 7 (or an anchor of the dependent view).
uint32_t CAccessUintInformation::GetPictureType() const {
    const uint8_t sliceType = GetSliceType();
    if (HasDependentDelimiter()) {
        const nal_unit_header_mvc_extension* header = FirstMvcHeader();
        if (header == nullptr) return 0;
        if (header->anchor_pic_flag) return HasSubsetSps() ? 1 : 4;
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
        const nal_unit_header_mvc_extension* header = FirstMvcHeader();
        return header != nullptr && header->non_idr_flag == 0;
    }
    return HasType(kNalSliceIdr);
}

bool CAccessUintInformation::IsStillPicture() const {
    if (HasDependentDelimiter()) {
        bool anchorSlice = false;
        for (const auto& unit : m_units) {
            if (unit->nal_unit_type == kNalSliceExtension && unit->mvc_extension != nullptr &&
                unit->mvc_extension->anchor_pic_flag) {
                anchorSlice = true;
            }
        }
        return anchorSlice && HasType(kNalSubsetSps) && HasType(kNalPps) && HasType(kNalEndOfSequence);
    }
    return HasType(kNalAccessUnitDelimiter) && HasType(kNalSps) && HasType(kNalPps) && HasType(kNalSliceIdr) &&
           HasType(kNalEndOfSequence);
}

bool CAccessUintInformation::IsStillFieldPair(const CAccessUintInformation& first, const CAccessUintInformation& second) {
    return first.HasType(kNalSps) && first.HasType(kNalPps) && first.HasType(kNalSliceIdr) &&
           second.HasType(kNalEndOfSequence);
}

// The offset counts the start codes and sizes of the units before the SEI unit that carries it.
bool CAccessUintInformation::FindOffsetMetadata(uint32_t& pos, uint32_t& size) const {
    uint32_t offset = 0;
    for (const auto& unit : m_units) {
        if (const auto* sei = dynamic_cast<const sei_rbsp*>(unit.get())) {
            for (const auto& message : sei->messages) {
                const auto* nesting = dynamic_cast<const mvc_scalable_nesting*>(message.get());
                const auto* data =
                    nesting != nullptr ? dynamic_cast<const user_data_unregistered*>(nesting->nested.get()) : nullptr;
                if (data != nullptr && (data->type_indicator == kOffsetMetadataIndicator ||
                                        data->type_indicator == kOffsetMetadataIndicatorAll)) {
                    pos = offset;
                    size = unit->start_code_length + unit->size;
                    return true;
                }
            }
        }
        offset += unit->start_code_length + unit->size;
    }
    return false;
}

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
