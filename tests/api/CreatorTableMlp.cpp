// MLP rows of the creator table: dts from the input timing, pts one access unit (75 ticks) apart, both from
// S less the decoder delay of the first restart header; the host texts of the failures.
#include "support/CreatorTable.h"
#include "support/ItemText.h"
#include "support/MlpBuilder.h"

namespace kiv_test {
namespace {

// A 114-byte unit with a major sync (rate code, output_timing of substream 0) and an 86-byte one without.
MlpUnit S(unsigned input, unsigned output, uint32_t code = 0) { return {input, true, code << 28, {{1, 1, output}}}; }
MlpUnit P(unsigned input, unsigned lengthWords = 0) { return {input, false, 0, {{}}, lengthWords}; }
CreatorRow Row(const char* name, const std::vector<MlpUnit>& units, std::vector<uint32_t> start, bool result,
               const char* message, const char* items, size_t cut = 0) {
    std::vector<uint8_t> bytes;
    for (const MlpUnit& u : units) u.AppendTo(bytes);
    return {name, kiv_comp::CKivCreator::ES_TYPE_MLP, JoinUnits({bytes}, 1, cut), std::move(start), result, message,
        Items(items)};
}
const char* const kInvalid = "The es attribute is invalid.(parse error)";
const char* const kEndsInside = "\nThe es file ends inside an access unit. (pos = 200[byte])";
const std::vector<MlpUnit> kThree = {S(0, 64), P(40), P(80)};
CreatorRow Aborted() {
    CreatorRow row = Row("AbortAfterFirstUnit", kThree, {1000}, false, "abort end.", "1:114@880/1000 0:86@955/1075");
    return row.abortAfter = 1, row;
}

// A unit with a major sync and 299 without, 40 samples apart: the scan takes most of them from the buffered
// bytes; abortAfter > -1 stops it after that many polls. With at96k, unit 100 carries a major sync of 96 kHz:
// from there dts advances 37.5 ticks a unit and pts lies 60 ticks below its 48 kHz place (delay 64 samples).
CreatorRow Long(const char* name, int abortAfter, bool at96k = false) {
    std::vector<MlpUnit> units = {S(0, 64)};
    std::string items = "1:114@880/1000";
    for (int n = 1; n < 300; ++n) {
        const bool slow = at96k && n >= 100;
        units.push_back(slow && n == 100 ? S(40 * n, 0, 1) : P(40 * n));
        if (abortAfter < 0 || n <= abortAfter) {
            items += std::string(slow && n == 100 ? " 1:114@" : " 0:86@") + std::to_string(slow ? 880 + 75 * n / 2 : 880 + 75 * n) +
                     "/" + std::to_string(slow ? 940 + 75 * n : 1000 + 75 * n);
        }
    }
    CreatorRow row = Row(name, units, {1000}, abortAfter < 0, abortAfter < 0 ? "" : "abort end.", (items + (abortAfter < 0 ? " E@23500" : "")).c_str());
    return row.abortAfter = abortAfter, row;
}

INSTANTIATE_TEST_SUITE_P(
    Mlp, CreatorTable,
    ::testing::ValuesIn(std::vector<CreatorRow>{
        Row("Delay64At48k", kThree, {1000}, true, "", "1:114@880/1000 0:86@955/1075 0:86@1030/1150 E@1225"),
        Row("ZeroDelay", {S(500, 500), P(540)}, {1000}, true, "", "1:114@1000 0:86@1075 E@1150"),
        Row("InputTimingWraps", {S(65532, 36), P(36), P(76)}, {90000}, true, "", "1:114@89925/90000 0:86@90000/90075 0:86@90075/90150 E@90225"),
        Row("At96k", {S(100, 180, 1), P(180), P(260)}, {5000}, true, "", "1:114@4925/5000 0:86@5000/5075 0:86@5075/5150 E@5225"),
        Row("DelayTruncatedAt48k", {S(0, 41), P(40), P(80)}, {1000}, true, "", "1:114@924/1000 0:86@999/1075 0:86@1074/1150 E@1225"),
        Row("DelayTruncatedAt192k", {S(0, 3, 2), P(160), P(320)}, {1000}, true, "", "1:114@999/1000 0:86@1074/1075 0:86@1149/1150 E@1225"),
        Row("DtsBelowZeroWraps", kThree, {0}, true, "", "1:114@8589934472/0 0:86@8589934547/75 0:86@30/150 E@225"),
        Row("RateOfTheLatestMajorSync", {S(0, 64), P(40), S(80, 0, 1)}, {1000}, true, "", "1:114@880/1000 0:86@955/1075 1:114@955/1090 E@1225"),
        Row("SamplingCode3", {S(0, 64), P(40), S(80, 0, 3)}, {1000}, false, "\nA sampling frequency is 0.(au = 2)", "1:114@880/1000 0:86@955/1075"),
        Row("TwoStartPts", kThree, {0, 1}, false, "", ""),
        Row("LengthPastTheEnd", {S(0, 64), P(40), P(80, 44)}, {1000}, false, kEndsInside, "1:114@880/1000 0:86@955/1075"),
        // A unit whose length fits, but whose first substream ends far past the end of the file.
        Row("EndPointerPastTheEnd", {S(0, 64), P(40), {80, true, 0, {{1, 1, 0, 1, 4000}, {}}, 30}}, {1000}, false, kEndsInside,
            "1:114@880/1000 0:86@955/1075", 260),
        Row("FieldsCutOff", {S(0, 64), P(40), S(80, 64)}, {1000}, false, kEndsInside, "1:114@880/1000 0:86@955/1075", 220),
        Row("ShorterThanItsHead", {S(0, 64), P(40, 1), P(80)}, {1000}, false,
            "\nAn access unit is shorter than its own header. (pos = 114[byte])", "1:114@880/1000"),
        Aborted(),
        Long("LongStream", -1),
        Long("AbortInsideARun", 50),
        Long("RateChangeInsideARun", -1, true),
        Row("Only191Bytes", kThree, {0}, false, "The es file is short.", "", 191),
        Row("NoMajorSync", {P(0), P(40), P(80)}, {0}, false, kInvalid, ""),
        Row("NoRestartHeader", {{0, true, 0, {{1, 0}}}, P(40)}, {0}, false, kInvalid, ""),
        Row("NoBlockHeader", {{0, true, 0, {{0, 1}}}, P(40)}, {0}, false, kInvalid, ""),
        Row("SecondSubstreamCutOff", {{0, true, 0, {{1, 1, 0, 1, 120}, {}}}}, {0}, false, kInvalid, "", 270),
    }),
    RowName);

}  // namespace
}  // namespace kiv_test
