// HRD parameters of a VC-1 advanced-profile sequence header.
#pragma once

#include <cstdint>
#include <vector>

#include "input/CBinaryBuffer.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

// The leaky buckets: one rate and one buffer size each.
class CHRD_PARAM {
public:
    // Throws the bit buffer's read exception at the end of the file.
    bool Parse(CBinaryBuffer& buffer);

    uint8_t HRD_NUM_LEAKY_BUCKETS = 0;
    uint8_t BIT_RATE_EXPONENT = 0;
    uint8_t BUFFER_SIZE_EXPONENT = 0;
    std::vector<uint16_t> HRD_RATE;
    std::vector<uint16_t> HRD_BUFFER;
};

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
