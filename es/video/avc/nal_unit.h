// NAL units: the plain unit with its MVC extension header, and the parameter-set and end units.
#pragma once

#include <cstdint>
#include <memory>

#include "es/video/avc/seq_parameter_set_data.h"

namespace ts_comp {
namespace es {
namespace avc_video {

// nal_unit_header_mvc_extension of prefix and slice-extension NAL units.
class nal_unit_header_mvc_extension : public CAvcBase {
public:
    void Parse(CBinaryBuffer& buffer);
    virtual std::unique_ptr<nal_unit_header_mvc_extension> Clone() const;
    uint8_t non_idr_flag = 0;
    uint8_t priority_id = 0;
    uint16_t view_id = 0;
    uint8_t temporal_id = 0;
    uint8_t anchor_pic_flag = 0;
    uint8_t inter_view_flag = 0;
    uint8_t reserved_one_bit = 0;
};

// One NAL unit: type, size and start code; Parse reads what follows the header byte.
class nal_unit : public CAvcBase {
public:
    nal_unit(uint8_t type, uint32_t size, uint8_t startCodeLength)
        : nal_unit_type(type), size(size), start_code_length(startCodeLength) {}
    virtual bool Parse(CBinaryBuffer& buffer);

    uint8_t nal_unit_type;
    uint32_t size;
    uint8_t start_code_length;
    std::unique_ptr<nal_unit_header_mvc_extension> mvc_extension;
};

// seq_parameter_set_rbsp (type 7).
class seq_parameter_set_rbsp : public nal_unit {
public:
    using nal_unit::nal_unit;
    bool Parse(CBinaryBuffer& buffer) override;
    virtual std::unique_ptr<seq_parameter_set_rbsp> Clone() const;
    seq_parameter_set_data data;
};

// subset_seq_parameter_set_rbsp (type 15), with the MVC extension for the MVC profiles.
class subset_seq_parameter_set_rbsp : public seq_parameter_set_rbsp {
public:
    using seq_parameter_set_rbsp::seq_parameter_set_rbsp;
    bool Parse(CBinaryBuffer& buffer) override;
    std::unique_ptr<seq_parameter_set_rbsp> Clone() const override;
    seq_parameter_set_mvc_extension mvc;
};

// end_of_seq_rbsp (type 10): no payload.
class end_of_seq_rbsp : public nal_unit {
public:
    using nal_unit::nal_unit;
};

// end_of_stream_rbsp (type 11): no payload.
class end_of_stream_rbsp : public nal_unit {
public:
    using nal_unit::nal_unit;
};

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
