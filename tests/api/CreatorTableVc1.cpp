// VC-1 rows of the creator table: pictures held until the next anchor, header bytes carried to the next
// picture, start values after an end of sequence, refused streams. 25 Hz: a frame lasts 3600.
// Sizes: sequence header 20 and entry point 10 bytes, progressive pictures 53, interlaced ones 54.
#include "support/CreatorTable.h"
#include "support/ItemText.h"
#include "support/Vc1Builder.h"

namespace kiv_test {
namespace {

constexpr auto kVc1 = kiv_comp::CKivCreator::ES_TYPE_VC1_VIDEO;

std::vector<uint8_t> Vc1(const char* script) { return Vc1Builder().Script(script).Bytes(); }
std::string Repeat(const std::string& word, int n) { return n > 0 ? word + Repeat(word, n - 1) : ""; }

INSTANTIATE_TEST_SUITE_P(
    Vc1, CreatorTable,
    ::testing::ValuesIn(std::vector<CreatorRow>{
        {"FirstAnchorAtFirstStart", kVc1, Vc1("H I P B P"), {90000}, true, "",
            Items("1:83@86400/90000,0,1 2:53@90000/97200 3:53@93600 2:53@97200/100800 E@104400")},
        {"IWithoutHeaderUnit", kVc1, Vc1("H I I"), {90000}, true, "", Items("1:83@86400/90000,0,1 4:53@90000/93600 E@97200")},
        {"RepeatedFrameCountsFourFields", kVc1, Vc1("Hp I1 P0"), {90000}, true, "", Items("1:83@86400/90000,0,1 2:53@90000/97200 E@100800")},
        {"RepeatedFieldCountsThree", kVc1, Vc1("Hip I1 P"), {90000}, true, "", Items("1:84@86400/90000,0,1 2:54@90000/95400 E@99000")},
        {"OnePicture", kVc1, Vc1("H I"), {90000}, true, "", Items("1:83@86400/90000,0,1 E@93600")},
        {"RebasedAfterEndOfSequence", kVc1, Vc1("H I P E H I P"), {90000, 900000}, true, "",
            Items("1:83@86400/90000,0,1 2:57@896400/900000,1 1:83@900000/903600,0,1 2:53@903600/907200 E@910800")},
        {"StartListExhausted", kVc1, Vc1("H I P E H I P"), {90000}, true, "",
            Items("1:83@86400/90000,0,1 2:57@90000/93600,1 1:83@93600/97200,0,1 2:53@97200/100800 E@104400")},
        {"AbortAfterTwoPictures", kVc1, Vc1("H I P P P"), {90000}, false, "abort end.", Items("1:83@86400/90000,0,1 2:53@90000/93600"), 2},
        {"FrameRateIndicator", kVc1, Vc1("Hr I"), {0}, false, "Frame rate does not calculate.", {}},
        {"MainProfile", kVc1, Vc1("H1 I"), {0}, false, "A profile is not Advanced profile.", {}},
        {"MainProfileWithoutFrameRate", kVc1, Vc1("H1n I"), {0}, false, "Frame rate does not calculate.", {}},
        {"TooManyBPicturesInARow", kVc1, Vc1(("H I P" + Repeat(" B", 1024)).c_str()),
            {90000}, false, "\nToo many B pictures follow one another without an I or P picture. (pos = 54355[byte])",
            Items("1:83@86400/90000,0,1")},
        {"FirstUnitWithoutSequenceHeader", kVc1, Vc1("U H I"), {0}, false, "The es attribute is invalid.(parse error)", {}},
    }),
    RowName);

}  // namespace
}  // namespace kiv_test
