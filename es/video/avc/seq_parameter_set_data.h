// The sequence parameter set family: hrd_parameters, vui_parameters, seq_parameter_set_data and the
// MVC extension of a subset SPS, each keeping the fields the analyser uses.
#pragma once

#include <cstdint>
#include <memory>

#include "es/video/avc/CAvcBase.h"

namespace ts_comp {
namespace es {
namespace avc_video {

// HRD parameters; Parse fails on a cpb_cnt_minus1 above 255.
class hrd_parameters : public CAvcBase {
public:
    bool Parse(CBinaryBuffer& buffer);
    uint32_t cpb_cnt_minus1 = 0;
    uint8_t initial_cpb_removal_delay_length_minus1 = 0;
    uint8_t cpb_removal_delay_length_minus1 = 0;
    uint8_t dpb_output_delay_length_minus1 = 0;
};

// VUI parameters with the NAL and VCL HRD.
class vui_parameters : public CAvcBase {
public:
    bool Parse(CBinaryBuffer& buffer);
    uint8_t nal_hrd_parameters_present_flag = 0;
    uint8_t vcl_hrd_parameters_present_flag = 0;
    hrd_parameters nal_hrd;
    hrd_parameters vcl_hrd;
    uint8_t pic_struct_present_flag = 0;
    uint8_t timing_info_present_flag = 0;
    uint32_t num_units_in_tick = 0;
    uint32_t time_scale = 0;
    uint8_t aspect_ratio_info_present_flag = 0;
    uint8_t aspect_ratio_idc = 0;
};

// The SPS body shared by the SPS and the subset SPS.
class seq_parameter_set_data : public CAvcBase {
public:
    virtual bool Parse(CBinaryBuffer& buffer);
    virtual std::unique_ptr<seq_parameter_set_data> Clone() const;
    uint8_t profile_idc = 0;
    uint8_t constraint_set0_flag = 0;
    uint8_t constraint_set1_flag = 0;
    uint8_t constraint_set2_flag = 0;
    uint8_t avc_compatible_flags = 0;
    uint8_t level_idc = 0;
    uint8_t separate_colour_plane_flag = 0;
    uint8_t pic_width_in_mbs_minus1 = 0;
    uint8_t pic_height_in_map_units_minus1 = 0;
    uint8_t log2_max_frame_num_minus4 = 0;
    uint8_t frame_mbs_only_flag = 0;
    vui_parameters vui;
    uint8_t vui_parameters_present_flag = 0;

private:
    void SkipScalingList(CBinaryBuffer& buffer, int size);
};

// seq_parameter_set_mvc_extension, read up to num_views_minus1.
class seq_parameter_set_mvc_extension : public CAvcBase {
public:
    virtual bool Parse(CBinaryBuffer& buffer);
    virtual std::unique_ptr<seq_parameter_set_mvc_extension> Clone() const;
    uint8_t num_views_minus1 = 0;
    uint8_t parsed = 0;
};

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
