// MLP rows of the creator table: dts from the input timing, pts one access unit (75 ticks) apart, both from
// S less the decoder delay of the first restart header; the host texts of the failures.
#include "support/CreatorTable.h"
#include "support/MlpBuilder.h"

namespace kiv_test {
namespace {

constexpr auto kMlp = kiv_comp::CKivCreator::ES_TYPE_MLP;
constexpr uint64_t k33 = uint64_t{1} << 33;

// A 114-byte unit with a major sync (rate code, output_timing of substream 0) and an 86-byte one without.
MlpUnit S(unsigned input, unsigned output, uint32_t code = 0) { return {input, true, code << 28, {{1, 1, output}}}; }
MlpUnit P(unsigned input, unsigned lengthWords = 0) { return {input, false, 0, {{}}, lengthWords}; }
std::vector<uint8_t> Join(const std::vector<MlpUnit>& units, size_t cut = 0) {
    std::vector<uint8_t> bytes;
    for (const MlpUnit& u : units) u.AppendTo(bytes);
    return JoinUnits({bytes}, 1, cut);
}
const char* const kInvalid = "The es attribute is invalid.(parse error)";
const char* const kEndsInside = "\nThe es file ends inside an access unit. (pos = 200[byte])";

INSTANTIATE_TEST_SUITE_P(
    Mlp, CreatorTable,
    ::testing::ValuesIn(std::vector<CreatorRow>{
        {"Delay64At48k", kMlp, Join({S(0, 64), P(40), P(80)}), {1000}, true, "",
         {{1, 114, 880, 1000}, {0, 86, 955, 1075}, {0, 86, 1030, 1150}, {255, 0, 0, 1225}}},
        {"ZeroDelay", kMlp, Join({S(500, 500), P(540)}), {1000}, true, "", {{1, 114, 1000, 1000}, {0, 86, 1075, 1075}, {255, 0, 0, 1150}}},
        {"InputTimingWraps", kMlp, Join({S(65532, 36), P(36), P(76)}), {90000}, true, "",
         {{1, 114, 89925, 90000}, {0, 86, 90000, 90075}, {0, 86, 90075, 90150}, {255, 0, 0, 90225}}},
        {"At96k", kMlp, Join({S(100, 180, 1), P(180), P(260)}), {5000}, true, "",
         {{1, 114, 4925, 5000}, {0, 86, 5000, 5075}, {0, 86, 5075, 5150}, {255, 0, 0, 5225}}},
        {"DelayTruncatedAt48k", kMlp, Join({S(0, 41), P(40), P(80)}), {1000}, true, "",
         {{1, 114, 924, 1000}, {0, 86, 999, 1075}, {0, 86, 1074, 1150}, {255, 0, 0, 1225}}},
        {"DelayTruncatedAt192k", kMlp, Join({S(0, 3, 2), P(160), P(320)}), {1000}, true, "",
         {{1, 114, 999, 1000}, {0, 86, 1074, 1075}, {0, 86, 1149, 1150}, {255, 0, 0, 1225}}},
        {"DtsBelowZeroWraps", kMlp, Join({S(0, 64), P(40), P(80)}), {0}, true, "",
         {{1, 114, k33 - 120, 0}, {0, 86, k33 - 45, 75}, {0, 86, 30, 150}, {255, 0, 0, 225}}},
        {"RateOfTheLatestMajorSync", kMlp, Join({S(0, 64), P(40), S(80, 0, 1)}), {1000}, true, "",
         {{1, 114, 880, 1000}, {0, 86, 955, 1075}, {1, 114, 955, 1090}, {255, 0, 0, 1225}}},
        {"SamplingCode3", kMlp, Join({S(0, 64), P(40), S(80, 0, 3)}), {1000}, false, "\nA sampling frequency is 0.(au = 2)",
         {{1, 114, 880, 1000}, {0, 86, 955, 1075}}},
        {"TwoStartPts", kMlp, Join({S(0, 64), P(40), P(80)}), {0, 1}, false, "", {}},
        {"LengthPastTheEnd", kMlp, Join({S(0, 64), P(40), P(80, 44)}), {1000}, false, kEndsInside,
         {{1, 114, 880, 1000}, {0, 86, 955, 1075}}},
        {"FieldsCutOff", kMlp, Join({S(0, 64), P(40), S(80, 64)}, 220), {1000}, false, kEndsInside,
         {{1, 114, 880, 1000}, {0, 86, 955, 1075}}},
        {"ShorterThanItsHead", kMlp, Join({S(0, 64), P(40, 1), P(80)}), {1000}, false,
         "\nAn access unit is shorter than its own header. (pos = 114[byte])", {{1, 114, 880, 1000}}},
        {"AbortAfterFirstUnit", kMlp, Join({S(0, 64), P(40), P(80)}), {1000}, false, "abort end.",
         {{1, 114, 880, 1000}, {0, 86, 955, 1075}}, 1},
        {"Only191Bytes", kMlp, Join({S(0, 64), P(40), P(80)}, 191), {0}, false, "The es file is short.", {}},
        {"NoMajorSync", kMlp, Join({P(0), P(40), P(80)}), {0}, false, kInvalid, {}},
        {"NoRestartHeader", kMlp, Join({{0, true, 0, {{1, 0}}}, P(40)}), {0}, false, kInvalid, {}},
        {"NoBlockHeader", kMlp, Join({{0, true, 0, {{0, 1}}}, P(40)}), {0}, false, kInvalid, {}},
        {"SecondSubstreamCutOff", kMlp, Join({{0, true, 0, {{1, 1, 0, 1, 120}, {}}}}, 270), {0}, false, kInvalid, {}},
    }),
    RowName);

}  // namespace
}  // namespace kiv_test
