// AC-3 rows of the creator table: 2880 ticks per independent frame, dependent frames typed by their substream
// and keeping the time stamp before them; a bad header ends the scan with false, a cut frame is left out.
#include "support/Ac3Builder.h"
#include "support/CreatorTable.h"

namespace kiv_test {
namespace {

constexpr auto kAc3 = kiv_comp::CKivCreator::ES_TYPE_AC3;
using Bytes = std::vector<uint8_t>;

// Items of type 0 of the given sizes from `pts` on, 2880 ticks apart, then the terminating item (end: true).
std::vector<KivItem> Items(uint64_t pts, std::vector<uint64_t> sizes, bool end = true) {
    std::vector<KivItem> items;
    for (uint64_t size : sizes) items.push_back({0, size, pts, pts}), pts += 2880;
    if (end) items.push_back({255, 0, 0, pts});
    return items;
}
const Bytes kFrame = Ac3Frame{}.Build();  // 1536 bytes at 48 kHz
Bytes Eac3(uint32_t strmtyp, uint32_t id, uint32_t words) { return Eac3Frame{strmtyp, 2, 0, 0, 3, 0, 0, 0, 0, id, 0, 0, 0, 0, words - 1}.Build(); }
// Two frames, a bad header, a frame.
CreatorRow Bad(const char* name, const Bytes& frame) {
    return {name, kAc3, JoinUnits({kFrame, kFrame, frame, kFrame}), {0}, false, "", Items(0, {1536, 1536}, false)};
}
CreatorRow Cut(const char* name, size_t cutTo, std::vector<uint64_t> whole) {
    return {name, kAc3, JoinUnits({kFrame}, 3, cutTo), {5}, true, "", Items(5, whole)};
}
const char* const kInvalid = "The es attribute is invalid.(parse error)";
// A 1022-byte frame, then frames of 1536 bytes: the 171st of them starts 2 bytes before the file buffer's
// 256 KiB edge, so its head is read across it.
const Bytes kToEdge = JoinUnits({Eac3(0, 0, 511), JoinUnits({kFrame}, 170)});
std::vector<uint64_t> EdgeSizes(size_t frames) {
    std::vector<uint64_t> sizes(frames + 1, 1536);
    return sizes[0] = 1022, sizes;
}

INSTANTIATE_TEST_SUITE_P(
    Ac3, CreatorTable,
    ::testing::ValuesIn(std::vector<CreatorRow>{
        {"ThreeFramesAt48kHz", kAc3, JoinUnits({kFrame}, 3), {4000000000u}, true, "", Items(4000000000u, {1536, 1536, 1536})},
        {"DependentFramesAndTheFirstStartValue", kAc3, JoinUnits({Ac3Frame{7, 1}.Build(), Eac3(1, 0, 256), Eac3(1, 7, 300)}, 2),
         {0, 777}, true, "",
         {{0, 1536, 0, 0}, {1, 512, 0, 0}, {8, 600, 0, 0}, {0, 1536, 2880, 2880}, {1, 512, 2880, 2880}, {8, 600, 2880, 2880},
          {255, 0, 0, 5760}}},
        {"IndependentEac3StepsWhateverItsBlocks", kAc3,
         JoinUnits({Eac3Frame{0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 99}.Build(), Eac3(0, 0, 4), kFrame}), {100}, true, "",
         Items(100, {200, 8, 1536})},
        {"At44kHz", kAc3, JoinUnits({Ac3Frame{2, 0, 1}.Build()}, 3), {0}, false, "", {}},
        {"Exactly192Bytes", kAc3, Ac3Frame{2, 0, 0, 4}.Build(), {0}, true, "", Items(0, {192})},
        Bad("BadSyncWord", [] { Bytes b = kFrame; b[1] = 0x78; return b; }()),
        Bad("SwappedSync", SwapWords(kFrame)),
        Bad("Bsid9", Ac3Frame{2, 0, 0, 28, 9}.Build()),
        Bad("Bsid0", Ac3Frame{2, 0, 0, 28, 0}.Build()),
        Bad("Fscod2", Ac3Frame{2, 0, 2}.Build()),
        Bad("Frmsizecod38", Ac3Frame{2, 0, 0, 38, 8, 0, 0, 0, 9, 10, 1536}.Build()),
        Bad("Strmtyp3", Eac3(3, 0, 256)),
        Bad("Eac3ShorterThanItsHeader", Eac3(1, 0, 3)),
        {"AcrossTheBufferEdge", kAc3, JoinUnits({kToEdge, kFrame, kFrame}), {7}, true, "", Items(7, EdgeSizes(172))},
        {"BadHeaderAcrossTheBufferEdge", kAc3, JoinUnits({kToEdge, Ac3Frame{2, 0, 0, 28, 9}.Build()}), {0}, false, "",
         Items(0, EdgeSizes(170), false)},
        Cut("CutOneByte", 3 * 1536 - 1, {1536, 1536}),
        Cut("CutInsideTheHeader", 2 * 1536 + 3, {1536, 1536}),
        Cut("CutAfterTheHeader", 2 * 1536 + 7, {1536, 1536}),
        Cut("CutWholeFrame", 2 * 1536, {1536, 1536}),
        {"AbortAtTheFirstPoll", kAc3, JoinUnits({kFrame}, 3), {0}, false, "abort end.", Items(0, {1536}, false), 0},
        {"NoStartPts", kAc3, JoinUnits({kFrame}, 3), {}, false, "\nstart pts is not set.", {}},
        {"Eac3ByteSwapped", kAc3, SwapWords(JoinUnits({Eac3Frame{}.Build()}, 3)), {0}, false, "An endian of es is inverse.", {}},
        {"NoSyncWord", kAc3, Bytes(4096, 0x0B), {0}, false, kInvalid, {}},
        {"JunkFirst", kAc3, JoinUnits({{0}, kFrame, kFrame}), {0}, false, kInvalid, {}},
        {"Bsid10", kAc3, JoinUnits({Ac3Frame{2, 0, 0, 28, 10}.Build()}, 2), {0}, false, kInvalid, {}},
        {"Fscod3", kAc3, JoinUnits({Ac3Frame{2, 0, 3, 28, 8, 0, 0, 0, 9, 10, 1536}.Build()}, 2), {0}, false, kInvalid, {}},
        {"Only191Bytes", kAc3, JoinUnits({Ac3Frame{2, 0, 0, 4}.Build()}, 1, 191), {0}, false, "The es file is short.", {}},
    }),
    RowName);

}  // namespace
}  // namespace kiv_test
