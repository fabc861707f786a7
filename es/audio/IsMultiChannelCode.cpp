#include "es/audio/IsMultiChannelCode.h"

namespace ts_comp {
namespace es {

bool IsMultiChannelCode(int code) { return code >= 30 || code % 10 != 0; }

uint8_t ChannelSetResult(int code) {
    if (code == kMonoCode) return kChannelsMono;
    if (code == kStereoCode) return kChannelsStereo;
    return IsMultiChannelCode(code) ? kChannelsMulti : kChannelsInvalid;
}

}  // namespace es
}  // namespace ts_comp
