// Samples to 90 kHz ticks at the MLP sampling rates.
#pragma once

#include <cstdint>

#include "es/audio/mlp/MlpConstants.h"

namespace ts_comp {
namespace es {
namespace mlp {

// samples * 90000 / rate in double precision, truncated toward zero, at the rate of sampling code `code` (0 to
// 2). Each MLP rate is 6000 times a power of two, 2^(3 + code), so while samples * 90000 stays below 2^53 the
// double quotient is samples * 15 / 2^(3 + code) exactly and its truncation a shift; larger counts take the
// double arithmetic itself.
inline uint64_t Ticks(uint64_t samples, uint32_t code) {
    constexpr uint64_t kExactSamples = (uint64_t{1} << 53) / 90000;
    if (samples <= kExactSamples) return (samples * 15) >> (3 + code);
    return static_cast<uint64_t>(static_cast<double>(samples) * kClockHz /
                                 static_cast<double>(kSamplingRates[code]));
}

}  // namespace mlp
}  // namespace es
}  // namespace ts_comp
