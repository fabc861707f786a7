#include "es/video/avc/seq_parameter_set_data.h"

#include "es/video/avc/AvcConstants.h"

namespace ts_comp {
namespace es {
namespace avc_video {

namespace {
// Profiles whose SPS carries chroma format, bit depths and scaling matrices.
bool HasChromaInfo(uint8_t profile) {
    switch (profile) {
        case 100: case 110: case 122: case 244: case 44: case 83: case 86: case 118: case 128: return true;
        default: return false;
    }
}
}  // namespace

bool hrd_parameters::Parse(CBinaryBuffer& b) {
    const uint64_t count = ReadUe(b);
    if (count > kMaxCpbCntMinus1) return false;
    cpb_cnt_minus1 = static_cast<uint32_t>(count);
    b.GetBits(4);  // bit_rate_scale
    b.GetBits(4);  // cpb_size_scale
    for (uint32_t i = 0; i <= cpb_cnt_minus1; ++i) {
        ReadUe(b);  // bit_rate_value_minus1
        ReadUe(b);  // cpb_size_value_minus1
        b.GetBits(1);  // cbr_flag
    }
    initial_cpb_removal_delay_length_minus1 = Bits<uint8_t>(b, 5);
    cpb_removal_delay_length_minus1 = Bits<uint8_t>(b, 5);
    dpb_output_delay_length_minus1 = Bits<uint8_t>(b, 5);
    b.GetBits(5);  // time_offset_length
    return true;
}

bool vui_parameters::Parse(CBinaryBuffer& b) {
    aspect_ratio_info_present_flag = Bits<uint8_t>(b, 1);
    if (aspect_ratio_info_present_flag) {
        aspect_ratio_idc = Bits<uint8_t>(b, 8);
        if (aspect_ratio_idc == 255) b.GetBits(32);  // sar_width, sar_height
    }
    if (b.GetBits(1)) b.GetBits(1);  // overscan_info_present_flag, overscan_appropriate_flag
    if (b.GetBits(1)) {              // video_signal_type_present_flag
        b.GetBits(4);                // video_format, video_full_range_flag
        if (b.GetBits(1)) b.GetBits(24);  // colour description
    }
    if (b.GetBits(1)) {  // chroma_loc_info_present_flag
        ReadUe(b);
        ReadUe(b);
    }
    timing_info_present_flag = Bits<uint8_t>(b, 1);
    if (timing_info_present_flag) {
        num_units_in_tick = Bits<uint32_t>(b, 32);
        time_scale = Bits<uint32_t>(b, 32);
        b.GetBits(1);  // fixed_frame_rate_flag
    }
    nal_hrd_parameters_present_flag = Bits<uint8_t>(b, 1);
    if (nal_hrd_parameters_present_flag && !nal_hrd.Parse(b)) return false;
    vcl_hrd_parameters_present_flag = Bits<uint8_t>(b, 1);
    if (vcl_hrd_parameters_present_flag && !vcl_hrd.Parse(b)) return false;
    if (nal_hrd_parameters_present_flag || vcl_hrd_parameters_present_flag) b.GetBits(1);  // low_delay_hrd_flag
    pic_struct_present_flag = Bits<uint8_t>(b, 1);
    if (b.GetBits(1)) {  // bitstream_restriction_flag
        b.GetBits(1);    // motion_vectors_over_pic_boundaries_flag
        for (int i = 0; i < 6; ++i) ReadUe(b);
    }
    return true;
}

void seq_parameter_set_data::SkipScalingList(CBinaryBuffer& b, int size) {
    int64_t lastScale = 8;
    int64_t nextScale = 8;
    for (int j = 0; j < size; ++j) {
        if (nextScale != 0) nextScale = ((lastScale + ReadSe(b)) % 256 + 256) % 256;
        if (nextScale != 0) lastScale = nextScale;
    }
}

bool seq_parameter_set_data::Parse(CBinaryBuffer& b) {
    profile_idc = Bits<uint8_t>(b, 8);
    constraint_set0_flag = Bits<uint8_t>(b, 1);
    constraint_set1_flag = Bits<uint8_t>(b, 1);
    constraint_set2_flag = Bits<uint8_t>(b, 1);
    avc_compatible_flags = Bits<uint8_t>(b, 5);
    level_idc = Bits<uint8_t>(b, 8);
    ReadUe(b);  // seq_parameter_set_id
    if (HasChromaInfo(profile_idc)) {
        const uint64_t chromaFormatIdc = ReadUe(b);
        if (chromaFormatIdc == 3) separate_colour_plane_flag = Bits<uint8_t>(b, 1);
        ReadUe(b);     // bit_depth_luma_minus8
        ReadUe(b);     // bit_depth_chroma_minus8
        b.GetBits(1);  // qpprime_y_zero_transform_bypass_flag
        if (b.GetBits(1)) {  // seq_scaling_matrix_present_flag
            const int lists = chromaFormatIdc == 3 ? 12 : 8;
            for (int i = 0; i < lists; ++i) {
                if (b.GetBits(1)) SkipScalingList(b, i < 6 ? 16 : 64);
            }
        }
    }
    log2_max_frame_num_minus4 = static_cast<uint8_t>(ReadUe(b));
    const uint64_t picOrderCntType = ReadUe(b);
    if (picOrderCntType == 0) {
        ReadUe(b);  // log2_max_pic_order_cnt_lsb_minus4
    } else if (picOrderCntType == 1) {
        b.GetBits(1);  // delta_pic_order_always_zero_flag
        ReadSe(b);     // offset_for_non_ref_pic
        ReadSe(b);     // offset_for_top_to_bottom_field
        const auto cycle = static_cast<uint8_t>(ReadUe(b));
        for (int i = 0; i < cycle; ++i) ReadExpGolomb(b);
    }
    ReadUe(b);     // max_num_ref_frames
    b.GetBits(1);  // gaps_in_frame_num_value_allowed_flag
    pic_width_in_mbs_minus1 = static_cast<uint8_t>(ReadUe(b));
    pic_height_in_map_units_minus1 = static_cast<uint8_t>(ReadUe(b));
    frame_mbs_only_flag = Bits<uint8_t>(b, 1);
    if (!frame_mbs_only_flag) b.GetBits(1);  // mb_adaptive_frame_field_flag
    b.GetBits(1);                             // direct_8x8_inference_flag
    if (b.GetBits(1)) {                       // frame_cropping_flag
        for (int i = 0; i < 4; ++i) ReadUe(b);
    }
    vui_parameters_present_flag = Bits<uint8_t>(b, 1);
    if (vui_parameters_present_flag) return vui.Parse(b);
    return true;
}

std::unique_ptr<seq_parameter_set_data> seq_parameter_set_data::Clone() const {
    return std::make_unique<seq_parameter_set_data>(*this);
}

bool seq_parameter_set_mvc_extension::Parse(CBinaryBuffer& b) {
    num_views_minus1 = static_cast<uint8_t>(ReadUe(b));
    parsed = 1;
    return true;
}

std::unique_ptr<seq_parameter_set_mvc_extension> seq_parameter_set_mvc_extension::Clone() const {
    return std::make_unique<seq_parameter_set_mvc_extension>(*this);
}

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
