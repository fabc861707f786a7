#include "es/video/vc1/CHRD_PARAM.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

bool CHRD_PARAM::Parse(CBinaryBuffer& b) {
    HRD_NUM_LEAKY_BUCKETS = static_cast<uint8_t>(b.GetBits(5));
    BIT_RATE_EXPONENT = static_cast<uint8_t>(b.GetBits(4));
    BUFFER_SIZE_EXPONENT = static_cast<uint8_t>(b.GetBits(4));
    HRD_RATE.clear();
    HRD_BUFFER.clear();
    for (uint32_t n = 0; n < HRD_NUM_LEAKY_BUCKETS; ++n) {
        HRD_RATE.push_back(static_cast<uint16_t>(b.GetBits(16)));
        HRD_BUFFER.push_back(static_cast<uint16_t>(b.GetBits(16)));
    }
    return true;
}

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
