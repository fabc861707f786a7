// Slice NAL units: the head of the slice header, read with the active SPS.
#pragma once

#include <cstdint>
#include <memory>

#include "es/video/avc/nal_unit.h"

namespace ts_comp {
namespace es {
namespace avc_video {

// slice_header up to field_pic_flag.
class slice_header : public CAvcBase {
public:
    virtual bool Parse(CBinaryBuffer& buffer, const seq_parameter_set_data& sps);
    uint8_t slice_type = 0;
    uint8_t field_pic_flag = 0;
};

// Slice unit of types 1 and 5, and base of the type-20 slice extension; fails without an SPS.
class slice_layer_without_partitioning_rbsp : public nal_unit {
public:
    slice_layer_without_partitioning_rbsp(uint8_t type, uint32_t size, uint8_t startCodeLength,
                                          std::unique_ptr<seq_parameter_set_data> sps)
        : nal_unit(type, size, startCodeLength), sps(std::move(sps)) {}
    bool Parse(CBinaryBuffer& buffer) override;
    std::unique_ptr<seq_parameter_set_data> sps;
    slice_header header;
};

// slice_layer_extension_rbsp (type 20) of an MVC non-base view.
class slice_layer_extension_rbsp : public slice_layer_without_partitioning_rbsp {
public:
    using slice_layer_without_partitioning_rbsp::slice_layer_without_partitioning_rbsp;
};

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
