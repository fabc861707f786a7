// The MPEG-2 video syntax structures the analyser needs, each read MSB first from the bit buffer.
#pragma once

#include <cstdint>
#include <memory>

#include "input/CBinaryBuffer.h"

namespace ts_comp {
namespace es {
namespace mpeg2_video {

// Abstract base of one parsed syntax structure.
class CAbstractMpeg2VideoLayer {
public:
    virtual ~CAbstractMpeg2VideoLayer() = default;
    virtual bool Parse(CBinaryBuffer& buffer) = 0;
    virtual std::unique_ptr<CAbstractMpeg2VideoLayer> Clone() const = 0;
};

// sequence_header (start code 0xB3), up to load_intra_quantiser_matrix.
class CSequenceHeaderLayer : public CAbstractMpeg2VideoLayer {
public:
    bool Parse(CBinaryBuffer& buffer) override;
    std::unique_ptr<CAbstractMpeg2VideoLayer> Clone() const override;
    uint16_t horizontal_size_value = 0;
    uint16_t vertical_size_value = 0;
    uint8_t aspect_ratio_information = 0;
    uint8_t frame_rate_code = 0;
    uint32_t bit_rate_value = 0;
    uint8_t marker_bit = 0;
    uint16_t vbv_buffer_size_value = 0;
    uint8_t constrained_parameters_flag = 0;
    uint8_t load_intra_quantiser_matrix = 0;
};

// sequence_extension (extension identifier 1).
class CSequenceExtensionLayer : public CAbstractMpeg2VideoLayer {
public:
    bool Parse(CBinaryBuffer& buffer) override;
    std::unique_ptr<CAbstractMpeg2VideoLayer> Clone() const override;
    uint8_t extension_start_code_identifier = 0;
    uint8_t profile_and_level_indication = 0;
    uint8_t progressive_sequence = 0;
    uint8_t chroma_format = 0;
    uint8_t horizontal_size_extension = 0;
    uint8_t vertical_size_extension = 0;
    uint16_t bit_rate_extension = 0;
    uint8_t marker_bit = 0;
    uint8_t vbv_buffer_size_extension = 0;
    uint8_t low_delay = 0;
    uint8_t frame_rate_extension_n = 0;
    uint8_t frame_rate_extension_d = 0;
};

// sequence_display_extension (extension identifier 2).
class CSequenceDisplayExtensionLayer : public CAbstractMpeg2VideoLayer {
public:
    bool Parse(CBinaryBuffer& buffer) override;
    std::unique_ptr<CAbstractMpeg2VideoLayer> Clone() const override;
    uint8_t extension_start_code_identifier = 0;
    uint8_t video_format = 0;
    uint8_t colour_description = 0;
    uint8_t colour_primaries = 0;
    uint8_t transfer_characteristics = 0;
    uint8_t matrix_coefficients = 0;
    uint16_t display_horizontal_size = 0;
    uint8_t marker_bit = 0;
    uint16_t display_vertical_size = 0;
};

// group_of_pictures_header (start code 0xB8).
class CGopOfPictureHeaderLayer : public CAbstractMpeg2VideoLayer {
public:
    bool Parse(CBinaryBuffer& buffer) override;
    std::unique_ptr<CAbstractMpeg2VideoLayer> Clone() const override;
    uint32_t time_code = 0;
    uint8_t closed_gop = 0;
    uint8_t broken_link = 0;
};

// picture_header (start code 0x00).
class CPictureHeaderLayer : public CAbstractMpeg2VideoLayer {
public:
    bool Parse(CBinaryBuffer& buffer) override;
    std::unique_ptr<CAbstractMpeg2VideoLayer> Clone() const override;
    uint16_t temporal_reference = 0;
    uint8_t picture_coding_type = 0;
    uint16_t vbv_delay = 0;
    uint8_t full_pel_forward_vector = 0;
    uint8_t forward_f_code = 0;
    uint8_t full_pel_backward_vector = 0;
    uint8_t backward_f_code = 0;
};

// picture_coding_extension (extension identifier 8).
class CPictureCodingExtensionLayer : public CAbstractMpeg2VideoLayer {
public:
    bool Parse(CBinaryBuffer& buffer) override;
    std::unique_ptr<CAbstractMpeg2VideoLayer> Clone() const override;
    uint8_t extension_start_code_identifier = 0;
    uint8_t f_code[2][2] = {{0, 0}, {0, 0}};
    uint8_t intra_dc_precision = 0;
    uint8_t picture_structure = 0;
    uint8_t top_field_first = 0;
    uint8_t frame_pred_frame_dct = 0;
    uint8_t concealment_motion_vectors = 0;
    uint8_t q_scale_type = 0;
    uint8_t intra_vlc_format = 0;
    uint8_t alternate_scan = 0;
    uint8_t repeat_first_field = 0;
    uint8_t chroma_420_type = 0;
    uint8_t progressive_frame = 0;
    uint8_t composite_display_flag = 0;
    uint8_t v_axis = 0;
    uint8_t field_sequence = 0;
    uint8_t sub_carrier = 0;
    uint8_t burst_amplitude = 0;
    uint8_t sub_carrier_phase = 0;
};

// sequence_end_code (start code 0xB7): no fields.
class CSequenceEndCodeLayer : public CAbstractMpeg2VideoLayer {
public:
    bool Parse(CBinaryBuffer& buffer) override;
    std::unique_ptr<CAbstractMpeg2VideoLayer> Clone() const override;
};

}  // namespace mpeg2_video
}  // namespace es
}  // namespace ts_comp
