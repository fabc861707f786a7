// Samples to 90 kHz ticks at the MLP sampling rates.
#pragma once

#include <cstdint>

#include "es/audio/mlp/MlpConstants.h"

namespace ts_comp {
namespace es {
namespace mlp {

// samples * 90000 / rate in double precision, truncated toward zero. Each MLP rate is 6000 times a power of
// two, so while samples * 90000 stays below 2^53 the double quotient is samples * 15 / 2^k exactly and its
// truncation a shift; larger counts and other rates take the double arithmetic itself.
inline uint64_t Ticks(uint64_t samples, uint32_t rate) {
    constexpr uint64_t kExactSamples = (uint64_t{1} << 53) / 90000;
    if (samples <= kExactSamples) {
        switch (rate) {
            case 48000: return (samples * 15) >> 3;
            case 96000: return (samples * 15) >> 4;
            case 192000: return (samples * 15) >> 5;
            default: break;
        }
    }
    return static_cast<uint64_t>(static_cast<double>(samples) * kClockHz / static_cast<double>(rate));
}

}  // namespace mlp
}  // namespace es
}  // namespace ts_comp
