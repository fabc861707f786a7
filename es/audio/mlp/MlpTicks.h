// Samples to 90 kHz ticks at the MLP sampling rates.
#pragma once

#include <cstdint>

#include "es/audio/mlp/MlpConstants.h"

namespace ts_comp {
namespace es {
namespace mlp {

// Sample counts below 2^kExactBits lie in the range where Ticks is a multiplication and a shift.
constexpr uint32_t kExactBits = 36;

// samples * 90000 / rate in double precision, truncated toward zero, at the rate of sampling code `code` (0 to
// 2). Each MLP rate is 6000 times a power of two, 2^(3 + code), so while samples * 90000 stays below 2^53 the
// double quotient is samples * 15 / 2^(3 + code) exactly and its truncation a shift; larger counts take the
// double arithmetic itself.
inline uint64_t Ticks(uint64_t samples, uint32_t code) {
    constexpr uint64_t kExactSamples = (uint64_t{1} << 53) / 90000;
    static_assert((uint64_t{1} << kExactBits) - 1 <= kExactSamples, "counts below 2^kExactBits are exact");
    if (samples <= kExactSamples) return (samples * 15) >> (3 + code);
    return static_cast<uint64_t>(static_cast<double>(samples) * kClockHz /
                                 static_cast<double>(kSamplingRates[code]));
}

// Ticks of two counts, both checked for the exact range at once.
inline void Ticks(uint64_t a, uint64_t b, uint32_t code, uint64_t& ticksA, uint64_t& ticksB) {
    if (((a | b) >> kExactBits) == 0) {
        ticksA = (a * 15) >> (3 + code);
        ticksB = (b * 15) >> (3 + code);
    } else {
        ticksA = Ticks(a, code);
        ticksB = Ticks(b, code);
    }
}

}  // namespace mlp
}  // namespace es
}  // namespace ts_comp
