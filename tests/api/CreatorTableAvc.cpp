// AVC and MVC rows of the creator table: times from the SEI delays on the 54 MHz clock, field pairs,
// anchored runs after an end of sequence, the dependent-view item and every failure text.
#include "support/AvcBuilder.h"
#include "support/CreatorTable.h"
#include "support/ItemText.h"

namespace kiv_test {
namespace {

constexpr auto kAvc = kiv_comp::CKivCreator::ES_TYPE_AVC_VIDEO;

AvcSps Sps(uint8_t frameMbsOnly, uint32_t heightMinus1, uint32_t timeScale, bool vui = true, bool hrd = true,
           bool timing = true) {
    AvcSps s;
    s.frameMbsOnly = frameMbsOnly, s.heightMapUnitsMinus1 = heightMinus1, s.timeScale = timeScale;
    s.vui = vui, s.nalHrd = hrd, s.timing = timing;
    return s;
}
const AvcSps k1080i = Sps(0, 33, 60000);  // c = 900900 ticks, 1501.5 in 90 kHz
const AvcSps k1080p = Sps(1, 67, 48000);  // c = 1126125 ticks, 1876.875 in 90 kHz
std::vector<uint8_t> Idr(const AvcSps& s) { return AvcBuilder().Unit(s, 7, {0, 2, 0, true}).Bytes(); }

// Streams joined unit by unit, and the size of each unit.
struct Units {
    std::vector<uint8_t> bytes;
    std::vector<uint64_t> sizes;
    Units& Add(const AvcBuilder& b) {
        bytes.insert(bytes.end(), b.Bytes().begin(), b.Bytes().end());
        sizes.push_back(b.Size());
        return *this;
    }
    // Items written as words (sizes 0), each item before the end item taking the size of its unit.
    std::vector<KivItem> Items(const char* words) const {
        std::vector<KivItem> items = kiv_test::Items(words);
        for (size_t i = 0; i < items.size() && i < sizes.size() && items[i].type != 255; ++i) items[i].size = sizes[i];
        return items;
    }
};

const Units kInterlaced = Units().Add(AvcBuilder().Unit(k1080i, 7, {0, 2, 3, true})).Add(AvcBuilder().Unit(k1080i, 5, {2, 6, 4}))
    .Add(AvcBuilder().Unit(k1080i, 6, {4, 0, 3})).Add(AvcBuilder().Unit(k1080i, 6, {6, 0, 4}));
const Units kFields = Units().Add(AvcBuilder().Unit(k1080i, 7, {0, 2, 1, true}, 0)).Add(AvcBuilder().Unit(k1080i, 5, {1, 2, 2}, 1))
    .Add(AvcBuilder().Unit(k1080i, 5, {2, 2, 1}, 0)).Add(AvcBuilder().Unit(k1080i, 5, {3, 2, 2}, 1));
const Units kTwoRuns = Units().Add(AvcBuilder().Unit(k1080p, 7, {0, 2, 0, true}))
    .Add(AvcBuilder().Unit(k1080p, 5, {2, 2, 0}).EndOfSequence()).Add(AvcBuilder().Unit(k1080p, 7, {0, 2, 0, true}))
    .Add(AvcBuilder().Unit(k1080p, 5, {2, 2, 0}));
// A dependent view: offset metadata in the nested SEI; the first unit's SEI follows delimiter, subset SPS, PPS.
AvcSps Mvc() { AvcSps s; s.subset = true, s.profile = 128; return s; }
const AvcBuilder kHead = AvcBuilder().Delimiter().Sps(Mvc()).Pps();
const AvcBuilder kSei1 = AvcBuilder().Sei(Mvc(), {0, 2, 0, true}, true, 0x4F464D44);
const AvcBuilder kSei2 = AvcBuilder().Sei(Mvc(), {2, 2, 0}, true, 0xFFFFFFFF);
const Units kDependent = Units().Add(AvcBuilder(kHead).Raw(kSei1.Bytes()).Slice(20, 2, Mvc(), -1, {0, 2, 1}))
    .Add(AvcBuilder().Delimiter().Raw(kSei2.Bytes()).Slice(20, 5, Mvc(), -1, {1, 3, 0}))
    .Add(AvcBuilder().DependentUnit(Mvc(), 6, {4, 0, 0}, {1, 3, 0}));
// An IDR unit whose first SEI carries a second picture timing, followed by a second SEI, fillers and a P
// slice: the first of each answers, as in the plain first unit of kTwoRuns.
std::vector<uint8_t> Tail(std::vector<uint8_t> b, size_t from, size_t cut) { return {b.begin() + from, b.end() - cut}; }
const AvcBuilder kCrowded = AvcBuilder().Aud().Sps(k1080p).Pps()
    .Raw(Tail(AvcBuilder().Sei(k1080p, {0, 2, 0, true}).Bytes(), 0, 1)).Raw(Tail(AvcBuilder().Sei(k1080p, {5, 5, 3}).Bytes(), 5, 0))
    .Sei(k1080p, {7, 7, 4, true}).Nal(0x0C, {0xFF, 0x80}).Nal(0x0C, {0xFF, 0x80}).Slice(5, 7, k1080p).Slice(5, 5, k1080p);
const Units kLaterIgnored = Units().Add(kCrowded).Add(AvcBuilder().Unit(k1080p, 5, {2, 2, 0}));
// A second unit whose SEI ends the file with a second buffering period, parsed though its class is answered:
// one whose delays the file cuts, and one whose seq_parameter_set_id is a run of zeros the file cannot
// double (6001 zeros, then 1250 messages of another type).
const size_t kIdr = Idr(k1080p).size();
const AvcBuilder kSecondSei = AvcBuilder(AvcBuilder().Unit(k1080p, 7, {0, 2, 0, true})).Aud()
    .Raw(Tail(AvcBuilder().Sei(k1080p, {2, 2, 0, true}).Bytes(), 0, 1)).Raw({4, 2, 0xAA, 0xBB, 0, 1});
std::vector<uint8_t> LongId() {
    std::vector<uint8_t> s = AvcBuilder(kSecondSei).Raw(std::vector<uint8_t>(6001, 0)).Bytes();
    for (int i = 0; i < 1250; ++i) s.insert(s.end(), {4, 2, 0xAA, 0xBB});
    return s;
}
const std::string kEndInSecond = "\nThe es file ends inside an access unit. (pos = " + std::to_string(kIdr) + "[byte])";
const std::vector<uint8_t> kCut(kTwoRuns.bytes.begin(),  // ends inside the SPS of the third unit
                                kTwoRuns.bytes.begin() + kTwoRuns.sizes[0] + kTwoRuns.sizes[1] + 12);

INSTANTIATE_TEST_SUITE_P(
    Avc, CreatorTable,
    ::testing::ValuesIn(std::vector<CreatorRow>{
        {"Interlaced2997FramesIPBB", kAvc, kInterlaced.bytes, {90000}, true, "",
         kInterlaced.Items("1:0@86997/90000,0,1 2:0@90000/99009 3:0@93003 3:0@96006 E@102012")},
        {"FieldPairs", kAvc, kFields.bytes, {90000}, true, "",
         kFields.Items("1:0@86997/90000,0,1,1 2:0@88498/91501,0,0,2 2:0@90000/93003,0,0,1 2:0@91501/94504,0,0,2 E@96006")},
        {"TwoRunsTwoStarts", kAvc, kTwoRuns.bytes, {90000, 900000}, true, "",
         kTwoRuns.Items("1:0@86247/90000,0,1 2:0@90000/93754,1 1:0@896247/900000,0,1 2:0@900000/903754 E@907508")},
        {"TwoRunsOneStart", kAvc, kTwoRuns.bytes, {90000}, false, "The number of pts in start pts list is insufficient.",
         kTwoRuns.Items("1:0@86247/90000,0,1 2:0@90000/93754,1")},
        {"DependentViewOffsetMetadata", kAvc, kDependent.bytes, {90000}, true, "",
         {{1, kDependent.sizes[0], 86247, 90000, 0, 1, 0, kHead.Size(), kSei1.Size()},
          {2, kDependent.sizes[1], 90000, 93754, 0, 0, 0, 6, kSei2.Size()},
          {3, kDependent.sizes[2], 93754, 93754}, {255, 0, 0, 97508}}},
        {"EndInsideThirdUnit", kAvc, kCut, {90000}, false,
         "\nThe es file ends inside an access unit. (pos = " + std::to_string(kTwoRuns.sizes[0] + kTwoRuns.sizes[1]) +
             "[byte])",
         kTwoRuns.Items("1:0@86247/90000,0,1 2:0@90000/93754,1")},
        {"SecondBufferingPeriodCut", kAvc, AvcBuilder(kSecondSei).Raw({0x80}).Bytes(), {90000}, false, kEndInSecond,
         kTwoRuns.Items("1:0@86247/90000,0,1")},
        {"SecondBufferingPeriodLongId", kAvc, LongId(), {90000}, false, kEndInSecond,
         kTwoRuns.Items("1:0@86247/90000,0,1")},
        {"LaterUnitsOfAClassIgnored", kAvc, kLaterIgnored.bytes, {90000}, true, "",
         kLaterIgnored.Items("1:0@86247/90000,0,1 2:0@90000/93754 E@97508")},
        {"LaterUnitWithoutTiming", kAvc,
         AvcBuilder().Unit(k1080p, 7, {0, 2, 0, true}).Unit(k1080p, 5, {2, 2, 0, false, false}).Bytes(), {90000}, false,
         "A picture_timing_sei does not exist.", kTwoRuns.Items("1:0@86247/90000,0,1")},
        {"NoBufferingPeriod", kAvc, AvcBuilder().Aud().Sps(k1080p).Pps().Unit(k1080p, 7, {}).Bytes(), {0}, false,
         "A buffering period sei does not exist.", {}},
        {"NoPictureTiming", kAvc, AvcBuilder().Unit(k1080p, 7, {0, 2, 0, true, false}).Bytes(), {0}, false,
         "A picture timing sei does not exist.", {}},
        {"NoVui", kAvc, Idr(Sps(1, 67, 48000, false)), {0}, false, "A vui_parameters does not exist.", {}},
        {"NoHrd", kAvc, Idr(Sps(1, 67, 48000, true, false)), {0}, false, "A hrd_parameters does not exist.", {}},
        {"NoTimingInfo", kAvc, Idr(Sps(1, 67, 48000, true, true, false)), {0}, false, "A time_scale is zero.", {}},
        {"EmptyFile", kAvc, {}, {0}, false, "The es attribute is invalid.(parse error)", {}},
    }),
    RowName);

}  // namespace
}  // namespace kiv_test
