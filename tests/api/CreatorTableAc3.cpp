// AC-3 rows of the creator table: 1536 samples per sync frame, the host texts of the failures.
#include "support/Ac3Builder.h"
#include "support/CreatorTable.h"

namespace kiv_test {
namespace {

constexpr auto kAc3 = kiv_comp::CKivCreator::ES_TYPE_AC3;

std::vector<uint8_t> Frames(uint32_t fscod, size_t count) {
    Ac3Frame f;
    f.fscod = fscod;
    return JoinFrames(std::vector<std::vector<uint8_t>>(count, f.Build()));
}

INSTANTIATE_TEST_SUITE_P(
    Ac3, CreatorTable,
    ::testing::ValuesIn(std::vector<CreatorRow>{
        {"ThreeFramesAt48kHz", kAc3, Frames(0, 3), {4000000000u}, true, "",
         {{0, 1536, 4000000000u, 4000000000u}, {0, 1536, 4000002880u, 4000002880u},
          {0, 1536, 4000005760u, 4000005760u}, {255, 0, 0, 4000008640u}}},
        {"At44kHz", kAc3, Frames(1, 3), {0}, false, "", {}},
        {"NoStartPts", kAc3, Frames(0, 3), {}, false, "\nstart pts is not set.", {}},
        {"ByteSwapped", kAc3, SwapWords(Frames(0, 3)), {0}, false, "An endian of es is inverse.", {}},
        {"Short", kAc3, std::vector<uint8_t>(191, 0x0B), {0}, false, "The es file is short.", {}},
    }),
    RowName);

}  // namespace
}  // namespace kiv_test
