#include "es/video/mpeg2/Mpeg2VideoLayers.h"

namespace ts_comp {
namespace es {
namespace mpeg2_video {

namespace {
template <typename T>
T Bits(CBinaryBuffer& b, uint32_t n) {
    return static_cast<T>(b.GetBits(n));
}
template <typename L>
std::unique_ptr<CAbstractMpeg2VideoLayer> CloneOf(const L& layer) {
    return std::make_unique<L>(layer);
}
}  // namespace

bool CSequenceHeaderLayer::Parse(CBinaryBuffer& b) {
    horizontal_size_value = Bits<uint16_t>(b, 12);
    vertical_size_value = Bits<uint16_t>(b, 12);
    aspect_ratio_information = Bits<uint8_t>(b, 4);
    frame_rate_code = Bits<uint8_t>(b, 4);
    bit_rate_value = Bits<uint32_t>(b, 18);
    marker_bit = Bits<uint8_t>(b, 1);
    vbv_buffer_size_value = Bits<uint16_t>(b, 10);
    constrained_parameters_flag = Bits<uint8_t>(b, 1);
    load_intra_quantiser_matrix = Bits<uint8_t>(b, 1);
    return true;
}
std::unique_ptr<CAbstractMpeg2VideoLayer> CSequenceHeaderLayer::Clone() const { return CloneOf(*this); }

bool CSequenceExtensionLayer::Parse(CBinaryBuffer& b) {
    extension_start_code_identifier = Bits<uint8_t>(b, 4);
    profile_and_level_indication = Bits<uint8_t>(b, 8);
    progressive_sequence = Bits<uint8_t>(b, 1);
    chroma_format = Bits<uint8_t>(b, 2);
    horizontal_size_extension = Bits<uint8_t>(b, 2);
    vertical_size_extension = Bits<uint8_t>(b, 2);
    bit_rate_extension = Bits<uint16_t>(b, 12);
    marker_bit = Bits<uint8_t>(b, 1);
    vbv_buffer_size_extension = Bits<uint8_t>(b, 8);
    low_delay = Bits<uint8_t>(b, 1);
    frame_rate_extension_n = Bits<uint8_t>(b, 2);
    frame_rate_extension_d = Bits<uint8_t>(b, 5);
    return true;
}
std::unique_ptr<CAbstractMpeg2VideoLayer> CSequenceExtensionLayer::Clone() const { return CloneOf(*this); }

bool CSequenceDisplayExtensionLayer::Parse(CBinaryBuffer& b) {
    extension_start_code_identifier = Bits<uint8_t>(b, 4);
    video_format = Bits<uint8_t>(b, 3);
    colour_description = Bits<uint8_t>(b, 1);
    if (colour_description == 1) {
        colour_primaries = Bits<uint8_t>(b, 8);
        transfer_characteristics = Bits<uint8_t>(b, 8);
        matrix_coefficients = Bits<uint8_t>(b, 8);
    }
    display_horizontal_size = Bits<uint16_t>(b, 14);
    marker_bit = Bits<uint8_t>(b, 1);
    display_vertical_size = Bits<uint16_t>(b, 14);
    return true;
}
std::unique_ptr<CAbstractMpeg2VideoLayer> CSequenceDisplayExtensionLayer::Clone() const {
    return CloneOf(*this);
}

bool CGopOfPictureHeaderLayer::Parse(CBinaryBuffer& b) {
    time_code = Bits<uint32_t>(b, 25);
    closed_gop = Bits<uint8_t>(b, 1);
    broken_link = Bits<uint8_t>(b, 1);
    return true;
}
std::unique_ptr<CAbstractMpeg2VideoLayer> CGopOfPictureHeaderLayer::Clone() const { return CloneOf(*this); }

bool CPictureHeaderLayer::Parse(CBinaryBuffer& b) {
    temporal_reference = Bits<uint16_t>(b, 10);
    picture_coding_type = Bits<uint8_t>(b, 3);
    vbv_delay = Bits<uint16_t>(b, 16);
    if (picture_coding_type == 2 || picture_coding_type == 3) {
        full_pel_forward_vector = Bits<uint8_t>(b, 1);
        forward_f_code = Bits<uint8_t>(b, 3);
    }
    if (picture_coding_type == 3) {
        full_pel_backward_vector = Bits<uint8_t>(b, 1);
        backward_f_code = Bits<uint8_t>(b, 3);
    }
    return true;
}
std::unique_ptr<CAbstractMpeg2VideoLayer> CPictureHeaderLayer::Clone() const { return CloneOf(*this); }

bool CPictureCodingExtensionLayer::Parse(CBinaryBuffer& b) {
    extension_start_code_identifier = Bits<uint8_t>(b, 4);
    f_code[0][0] = Bits<uint8_t>(b, 4);
    f_code[0][1] = Bits<uint8_t>(b, 4);
    f_code[1][0] = Bits<uint8_t>(b, 4);
    f_code[1][1] = Bits<uint8_t>(b, 4);
    intra_dc_precision = Bits<uint8_t>(b, 2);
    picture_structure = Bits<uint8_t>(b, 2);
    top_field_first = Bits<uint8_t>(b, 1);
    frame_pred_frame_dct = Bits<uint8_t>(b, 1);
    concealment_motion_vectors = Bits<uint8_t>(b, 1);
    q_scale_type = Bits<uint8_t>(b, 1);
    intra_vlc_format = Bits<uint8_t>(b, 1);
    alternate_scan = Bits<uint8_t>(b, 1);
    repeat_first_field = Bits<uint8_t>(b, 1);
    chroma_420_type = Bits<uint8_t>(b, 1);
    progressive_frame = Bits<uint8_t>(b, 1);
    composite_display_flag = Bits<uint8_t>(b, 1);
    if (composite_display_flag == 1) {
        v_axis = Bits<uint8_t>(b, 1);
        field_sequence = Bits<uint8_t>(b, 3);
        sub_carrier = Bits<uint8_t>(b, 1);
        burst_amplitude = Bits<uint8_t>(b, 7);
        sub_carrier_phase = Bits<uint8_t>(b, 8);
    }
    return true;
}
std::unique_ptr<CAbstractMpeg2VideoLayer> CPictureCodingExtensionLayer::Clone() const {
    return CloneOf(*this);
}

bool CSequenceEndCodeLayer::Parse(CBinaryBuffer&) { return true; }
std::unique_ptr<CAbstractMpeg2VideoLayer> CSequenceEndCodeLayer::Clone() const { return CloneOf(*this); }

}  // namespace mpeg2_video
}  // namespace es
}  // namespace ts_comp
