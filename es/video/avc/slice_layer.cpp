#include "es/video/avc/slice_layer.h"

namespace ts_comp {
namespace es {
namespace avc_video {

bool slice_header::Parse(CBinaryBuffer& b, const seq_parameter_set_data& sps) {
    ReadUe(b);  // first_mb_in_slice
    slice_type = static_cast<uint8_t>(ReadUe(b));
    ReadUe(b);  // pic_parameter_set_id
    if (sps.separate_colour_plane_flag) b.GetBits(2);  // colour_plane_id
    SkipBits(b, sps.log2_max_frame_num_minus4 + 4u);    // frame_num
    if (!sps.frame_mbs_only_flag) {
        field_pic_flag = Bits<uint8_t>(b, 1);
        if (field_pic_flag) b.GetBits(1);  // bottom_field_flag
    }
    return true;
}

bool slice_layer_without_partitioning_rbsp::Parse(CBinaryBuffer& b) {
    if (!nal_unit::Parse(b) || sps == nullptr) return false;
    return header.Parse(b, *sps);
}

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
