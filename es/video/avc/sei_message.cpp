#include "es/video/avc/sei_message.h"

namespace ts_comp {
namespace es {
namespace avc_video {

namespace {
void ReadDelays(CBinaryBuffer& b, const hrd_parameters& hrd, uint32_t* delay, uint32_t* offset) {
    const uint32_t length = hrd.initial_cpb_removal_delay_length_minus1 + 1u;
    for (uint32_t i = 0; i <= hrd.cpb_cnt_minus1 && i < kMaxCpbCountSlots; ++i) {
        delay[i] = Bits<uint32_t>(b, length);
        offset[i] = Bits<uint32_t>(b, length);
    }
}
}  // namespace

bool buffering_period::Parse(CBinaryBuffer& b, const seq_parameter_set_data& sps) {
    ReadUe(b);  // seq_parameter_set_id
    if (!sps.vui_parameters_present_flag) return true;
    const vui_parameters& vui = sps.vui;
    if (vui.nal_hrd_parameters_present_flag) {
        ReadDelays(b, vui.nal_hrd, nal_initial_cpb_removal_delay, nal_initial_cpb_removal_delay_offset);
    }
    if (vui.vcl_hrd_parameters_present_flag) {
        ReadDelays(b, vui.vcl_hrd, vcl_initial_cpb_removal_delay, vcl_initial_cpb_removal_delay_offset);
    }
    return true;
}

bool pic_timing::Parse(CBinaryBuffer& b, const seq_parameter_set_data& sps) {
    const vui_parameters& vui = sps.vui;
    const bool hasVui = sps.vui_parameters_present_flag != 0;
    if (hasVui && (vui.nal_hrd_parameters_present_flag || vui.vcl_hrd_parameters_present_flag)) {
        const hrd_parameters& hrd = vui.nal_hrd_parameters_present_flag ? vui.nal_hrd : vui.vcl_hrd;
        cpb_removal_delay = Bits<uint32_t>(b, hrd.cpb_removal_delay_length_minus1 + 1u);
        dpb_output_delay = Bits<uint32_t>(b, hrd.dpb_output_delay_length_minus1 + 1u);
    }
    pic_struct_present = hasVui && vui.pic_struct_present_flag ? 1 : 0;
    if (pic_struct_present) pic_struct = Bits<uint8_t>(b, 4);
    return true;
}

uint32_t pic_timing::FieldCountOf(uint8_t picStruct) {
    static const uint32_t kFields[] = {2, 1, 1, 2, 2, 3, 3, 4, 6};
    return picStruct < sizeof(kFields) / sizeof(kFields[0]) ? kFields[picStruct] : 0;
}

uint32_t pic_timing::GetFieldCount() const { return pic_struct_present ? FieldCountOf(pic_struct) : 0; }

bool user_data_unregistered::Parse(CBinaryBuffer& b, const seq_parameter_set_data&) {
    for (uint32_t& word : uuid_iso_iec_11578) word = Bits<uint32_t>(b, 32);
    type_indicator = Bits<uint32_t>(b, 32);
    return true;
}

bool mvc_scalable_nesting::Parse(CBinaryBuffer& b, const seq_parameter_set_data& sps) {
    if (b.GetBits(1)) {  // operation_point_flag
        const uint64_t views = ReadUe(b);  // num_view_components_op_minus1
        SkipBits(b, (views + 1) * 10);     // sei_op_view_id
        b.GetBits(3);                      // sei_op_temporal_id
    } else if (!b.GetBits(1)) {            // all_view_components_in_au_flag
        const uint64_t views = ReadUe(b);  // num_view_components_minus1
        SkipBits(b, (views + 1) * 10);     // sei_view_id
    }
    b.ByteAlign();
    const uint64_t payloadType = ReadSeiValue(b);
    ReadSeiValue(b);  // payloadSize
    switch (payloadType) {
        case kSeiBufferingPeriod: nested = std::make_unique<buffering_period>(); break;
        case kSeiPicTiming: nested = std::make_unique<pic_timing>(); break;
        case kSeiUserDataUnregistered: nested = std::make_unique<user_data_unregistered>(); break;
        default: return true;
    }
    if (nested->Parse(b, sps)) return true;
    nested.reset();
    return false;
}

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
