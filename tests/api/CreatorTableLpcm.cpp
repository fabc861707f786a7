// HDMV LPCM rows of the creator table: one item per whole frame, 450 ticks apart, a frame cut off by the end
// of the file left out; the failures leave no text.
#include "support/CreatorTable.h"
#include "support/LpcmBuilder.h"

namespace kiv_test {
namespace {

constexpr auto kLpcm = kiv_comp::CKivCreator::ES_TYPE_HDMV_LPCM;
using Bytes = std::vector<uint8_t>;

// Frames of the given payload sizes, cut to cutTo bytes when it is not 0.
Bytes Frames(const std::vector<uint16_t>& payloads, size_t cutTo = 0) {
    LpcmBuilder b;
    for (uint16_t p : payloads) b.Frame(p);
    return JoinUnits({b.Take()}, 1, cutTo);
}
// Items of the given sizes from `pts` on, 450 ticks apart, then the terminating item (end: true).
std::vector<KivItem> Items(uint64_t pts, const std::vector<uint64_t>& sizes, bool end = true) {
    std::vector<KivItem> items;
    for (uint64_t size : sizes) items.push_back({0, size, pts, pts}), pts += 450;
    if (end) items.push_back({255, 0, 0, pts});
    return items;
}
const Bytes kThree = Frames({100, 0, 300});

INSTANTIATE_TEST_SUITE_P(
    Lpcm, CreatorTable,
    ::testing::ValuesIn(std::vector<CreatorRow>{
        {"OneFrame", kLpcm, Frames({188}), {90000}, true, "", Items(90000, {192})},
        {"FrameOneByteShortIsLeftOut", kLpcm, Frames({100, 0, 300, 300}, 715), {1000}, true, "", Items(1000, {104, 4, 304})},
        {"CutInsideTheHeader", kLpcm, Frames({200, 16}, 207), {5}, true, "", Items(5, {204})},
        {"BareHeaderAtTheEnd", kLpcm, Frames({200, 16}, 208), {5}, true, "", Items(5, {204})},
        {"FirstFrameCut", kLpcm, Frames({1000}, 504), {3000}, true, "", Items(3000, {})},
        {"LargestPayload", kLpcm, Frames({65535, 1}), {0}, true, "", Items(0, {65539, 5})},
        {"LaterCodesIgnored", kLpcm, LpcmBuilder().Frame(200).Codes({0, 15, 0, 63}).Frame(10).Take(), {0}, true, "", Items(0, {204, 14})},
        // 130 whole frames cross two refills of the 262144-byte read buffer.
        {"AcrossBufferRefills", kLpcm, Frames(std::vector<uint16_t>(131, 4320), 131 * 4324 - 1), {0}, true, "",
         Items(0, std::vector<uint64_t>(130, 4324))},
        // 4294967295 arrives zero-extended: the frames count on from 2^32 - 1, not from -1.
        {"LargestStartValue", kLpcm, Frames({188, 188}), {4294967295u}, true, "", Items(4294967295u, {192, 192})},
        {"NoStartPts", kLpcm, kThree, {}, false, "", {}},
        {"TwoStartPts", kLpcm, kThree, {0, 450}, false, "", {}},
        {"Only191Bytes", kLpcm, Frames({187}), {0}, false, "The es file is short.", {}},
        {"KivInMissingFolder", kLpcm, kThree, {0}, false, "", {}, -1, "missing/out.kiv"},
        {"AbortAtTheFirstPoll", kLpcm, kThree, {1000}, false, "abort end.", Items(1000, {104}, false), 0},
        // The abort set during the first progress call is seen at the poll after the second frame.
        {"AbortAfterFirstFrame", kLpcm, kThree, {1000}, false, "abort end.", Items(1000, {104, 4}, false), 1},
    }),
    RowName);

}  // namespace
}  // namespace kiv_test
