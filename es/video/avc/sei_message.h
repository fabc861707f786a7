// SEI messages the analyser reads: buffering period, picture timing, unregistered user data and the
// MVC scalable nesting that wraps one of them.
#pragma once

#include <cstdint>
#include <memory>

#include "es/video/avc/AvcConstants.h"
#include "es/video/avc/seq_parameter_set_data.h"

namespace ts_comp {
namespace es {
namespace avc_video {

// Base of the SEI payloads; Parse reads one payload with the active SPS.
class sei_message : public CAvcBase {
public:
    virtual bool Parse(CBinaryBuffer& buffer, const seq_parameter_set_data& sps) = 0;
};

// buffering_period: the initial removal delays of the NAL and VCL HRD.
class buffering_period : public sei_message {
public:
    bool Parse(CBinaryBuffer& buffer, const seq_parameter_set_data& sps) override;
    uint32_t nal_initial_cpb_removal_delay[kMaxCpbCountSlots] = {};
    uint32_t nal_initial_cpb_removal_delay_offset[kMaxCpbCountSlots] = {};
    uint32_t vcl_initial_cpb_removal_delay[kMaxCpbCountSlots] = {};
    uint32_t vcl_initial_cpb_removal_delay_offset[kMaxCpbCountSlots] = {};
};

// pic_timing: removal and output delays, and pic_struct when the VUI announces it.
class pic_timing : public sei_message {
public:
    bool Parse(CBinaryBuffer& buffer, const seq_parameter_set_data& sps) override;
    // Field periods the picture is shown; 0 when pic_struct was not read or is out of range.
    virtual uint32_t GetFieldCount() const;
    // The same count for any pic_struct value.
    static uint32_t FieldCountOf(uint8_t picStruct);
    uint32_t cpb_removal_delay = 0;
    uint32_t dpb_output_delay = 0;
    uint8_t pic_struct_present = 0;
    uint8_t pic_struct = 0;
};

// user_data_unregistered: the UUID and the first payload word (the type indicator).
class user_data_unregistered : public sei_message {
public:
    bool Parse(CBinaryBuffer& buffer, const seq_parameter_set_data& sps) override;
    uint32_t uuid_iso_iec_11578[4] = {};
    uint32_t type_indicator = 0;
};

// mvc_scalable_nesting with its one nested message (none for other payload types).
class mvc_scalable_nesting : public sei_message {
public:
    bool Parse(CBinaryBuffer& buffer, const seq_parameter_set_data& sps) override;
    std::unique_ptr<sei_message> nested;
};

// Reads payloadType or payloadSize: bytes summed up to the first that is not 0xFF.
template <typename Buffer>
uint64_t ReadSeiValue(Buffer& buffer) {
    uint64_t value = 0;
    uint8_t byte = 0;
    do {
        byte = buffer.ReadByte();
        value += byte;
    } while (byte == 0xFF);
    return value;
}

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
