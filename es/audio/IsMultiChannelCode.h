// Channel-code test and channel-check results shared by the audio reports.
#pragma once

#include <cstdint>

namespace ts_comp {
namespace es {

// Channel codes of one and of two full-band channels without LFE.
constexpr int kMonoCode = 10;
constexpr int kStereoCode = 20;
// Results of the channel checks: invalid, mono, stereo, multi-channel.
constexpr uint8_t kChannelsInvalid = 0;
constexpr uint8_t kChannelsMono = 1;
constexpr uint8_t kChannelsStereo = 3;
constexpr uint8_t kChannelsMulti = 6;

// A channel code is ten times the number of full-band channels plus the LFE channels; true for codes of
// three or more full-band channels and for any code with an LFE.
bool IsMultiChannelCode(int code);
// Result of the channel check for a single channel set: mono, stereo, multi-channel or invalid.
uint8_t ChannelSetResult(int code);

}  // namespace es
}  // namespace ts_comp
