// Ticks of the MLP time stamps against the double-precision formula, up to and past the counts where the
// product leaves the exact range of a double.
#include <gtest/gtest.h>

#include <cstdint>

#include "es/audio/mlp/MlpTicks.h"

namespace {

TEST(MlpTicks, TruncatedDoubleQuotient) {
    const uint64_t edge = (uint64_t{1} << 53) / 90000;
    const uint64_t counts[] = {0, 1, 7, 40, 65535, 123456789, edge - 1, edge, edge + 1, edge * 3 + 5, uint64_t{1} << 62};
    for (uint32_t rate : {48000u, 96000u, 192000u, 44100u}) {
        for (uint64_t samples : counts) {
            const double expected = static_cast<double>(samples) * 90000.0 / static_cast<double>(rate);
            EXPECT_EQ(ts_comp::es::mlp::Ticks(samples, rate), static_cast<uint64_t>(expected)) << samples << " at " << rate;
        }
    }
}

}  // namespace
