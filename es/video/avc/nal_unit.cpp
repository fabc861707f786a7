#include "es/video/avc/nal_unit.h"

#include "es/video/avc/AvcConstants.h"

namespace ts_comp {
namespace es {
namespace avc_video {

void nal_unit_header_mvc_extension::Parse(CBinaryBuffer& b) {
    non_idr_flag = Bits<uint8_t>(b, 1);
    priority_id = Bits<uint8_t>(b, 6);
    view_id = Bits<uint16_t>(b, 10);
    temporal_id = Bits<uint8_t>(b, 3);
    anchor_pic_flag = Bits<uint8_t>(b, 1);
    inter_view_flag = Bits<uint8_t>(b, 1);
    reserved_one_bit = Bits<uint8_t>(b, 1);
}

std::unique_ptr<nal_unit_header_mvc_extension> nal_unit_header_mvc_extension::Clone() const {
    return std::make_unique<nal_unit_header_mvc_extension>(*this);
}

// Prefix and slice-extension units carry the MVC header; an SVC header drops the unit.
bool nal_unit::Parse(CBinaryBuffer& b) {
    if (nal_unit_type != kNalPrefix && nal_unit_type != kNalSliceExtension) return true;
    if (b.GetBits(1)) return false;  // svc_extension_flag
    mvc_extension = std::make_unique<nal_unit_header_mvc_extension>();
    mvc_extension->Parse(b);
    return true;
}

bool seq_parameter_set_rbsp::Parse(CBinaryBuffer& b) { return nal_unit::Parse(b) && data.Parse(b); }

std::unique_ptr<seq_parameter_set_rbsp> seq_parameter_set_rbsp::Clone() const {
    auto copy = std::make_unique<seq_parameter_set_rbsp>(nal_unit_type, size, start_code_length);
    copy->data = data;
    return copy;
}

bool subset_seq_parameter_set_rbsp::Parse(CBinaryBuffer& b) {
    if (!seq_parameter_set_rbsp::Parse(b)) return false;
    if (data.profile_idc == 118 || data.profile_idc == 128) {
        b.GetBits(1);  // bit_equal_to_one
        return mvc.Parse(b);
    }
    return true;
}

std::unique_ptr<seq_parameter_set_rbsp> subset_seq_parameter_set_rbsp::Clone() const {
    auto copy = std::make_unique<subset_seq_parameter_set_rbsp>(nal_unit_type, size, start_code_length);
    copy->data = data;
    copy->mvc = mvc;
    return copy;
}

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
