// The MLP access-unit parse against the units a builder wrote, and the ticks of the MLP time stamps against
// the double-precision formula.
#include <gtest/gtest.h>

#include <cstdint>

#include "es/audio/mlp/CMlpAccessUnit.h"
#include "es/audio/mlp/MlpTicks.h"
#include "input/CBinaryBuffer.h"
#include "support/MlpBuilder.h"
#include "support/TempDir.h"

namespace {

using namespace kiv_test;

// Units of 1 to 3 substreams with and without block and restart headers, enough of them to meet the edges
// of the file buffer at many offsets and to end the file: each reads back as written, from buffered bytes
// or through the bit view, and its head the same without the substreams.
TEST(MlpAccessUnit, ParsesWhatWasWritten) {
    std::vector<MlpUnit> units;
    std::vector<uint8_t> bytes;
    for (unsigned i = 0; i < 2400; ++i) {
        const MlpSubstream sub{i % 7 != 3, i % 4 != 2, i * 7 % 65536, i % 16, 9 + i * 13 % 200};
        units.push_back({i * 40 % 65536, i % 5 == 0, 0, std::vector<MlpSubstream>(1 + i / 5 % 3, sub)});
        units.back().AppendTo(bytes);
    }
    TempDir dir;
    ts_comp::CBinaryBuffer buffer, headOnly;  // the second parsed without the substreams
    const std::string path = dir.Write("in.mlp", bytes);
    ASSERT_TRUE(buffer.Open(path.c_str()) && headOnly.Open(path.c_str()));
    ts_comp::es::CMlpAccessUnit au, head;
    int64_t at = 0, inMemory = 0;
    for (const MlpUnit& u : units) {
        ASSERT_TRUE(au.Parse(buffer, bytes.size())) << at;
        const MlpSubstream& s = u.subs[0];
        const int64_t length = 2 * au.access_unit_length;
        EXPECT_EQ(std::vector<int64_t>({au.position, au.input_timing, au.major_sync_flag, au.major_sync.substreams,
                                        au.substream[0].block_header, buffer.Tell() - length}),
                  std::vector<int64_t>({at, u.inputTiming, u.majorSync, int64_t(u.subs.size()), s.block, at}));
        const auto& last = au.substream[u.subs.size() - 1];
        if (s.block && s.restart) {
            EXPECT_EQ(std::vector<unsigned>({last.output_timing, last.max_chan}), std::vector<unsigned>({s.outputTiming, s.maxChan}));
        }
        ASSERT_TRUE(head.Parse(headOnly, bytes.size(), false));
        EXPECT_EQ(std::vector<int64_t>({head.position, head.input_timing, head.major_sync_flag, headOnly.Tell()}),
                  std::vector<int64_t>({au.position, au.input_timing, au.major_sync_flag, buffer.Tell()}));
        ts_comp::es::CMlpAccessUnit held;  // the same head from bytes in memory, where it may be read there
        if (held.ParseHeadAt(bytes.data() + at, bytes.size() - at, at, bytes.size()) && ++inMemory) {
            EXPECT_EQ(std::vector<int64_t>({held.position, held.input_timing, held.access_unit_length}),
                      std::vector<int64_t>({au.position, au.input_timing, au.access_unit_length}));
        }
        at += length;
    }
    EXPECT_FALSE(au.Parse(buffer, bytes.size()));
    EXPECT_EQ(at, int64_t(bytes.size()));
    EXPECT_GT(inMemory, 2000) << "all but the units near the end";
}

// One count and two at once (each pair meeting the edges of the exact range together and apart).
TEST(MlpTicks, TruncatedDoubleQuotient) {
    const uint64_t edge = (uint64_t{1} << 53) / 90000, bits = uint64_t{1} << 36;
    const uint64_t counts[] = {0, 1, 7, 40, 65535, 123456789, bits - 1, bits, edge - 1, edge, edge + 1, edge * 3 + 5, uint64_t{1} << 62};
    const double rates[] = {48000, 96000, 192000};  // of sampling codes 0 to 2
    for (uint32_t code = 0; code < 3; ++code) {
        const auto expected = [&](uint64_t samples) { return static_cast<uint64_t>(static_cast<double>(samples) * 90000.0 / rates[code]); };
        for (uint64_t a : counts) {
            for (uint64_t b : counts) {
                uint64_t ticksA = 0, ticksB = 0;
                ts_comp::es::mlp::Ticks(a, b, code, ticksA, ticksB);
                EXPECT_EQ(std::vector<uint64_t>({ts_comp::es::mlp::Ticks(a, code), ticksA, ticksB}),
                          std::vector<uint64_t>({expected(a), expected(a), expected(b)})) << a << ", " << b << " at " << code;
            }
        }
    }
}

}  // namespace
