// MPEG-2 video rows of the creator table: pictures held back until their presentation time is known.
#include "support/CreatorTable.h"
#include "support/Mpeg2Builder.h"

namespace kiv_test {
namespace {

constexpr auto kMpeg2 = kiv_comp::CKivCreator::ES_TYPE_MPEG2_VIDEO;
const std::vector<uint8_t> kIPBB =
    Mpeg2Builder().Sequence(1080, 4, 1).Gop(1).Picture(1).Picture(2).Picture(3).Picture(3).Bytes();

INSTANTIATE_TEST_SUITE_P(
    Mpeg2, CreatorTable,
    ::testing::ValuesIn(std::vector<CreatorRow>{
        {"ClosedGopIPBB", kMpeg2, kIPBB, {90000}, true, "",
         {{1, 91, 86997, 90000, 0, 1, 0}, {2, 62, 90000, 99009}, {3, 62, 93003, 93003}, {3, 62, 96006, 96006},
          {255, 0, 0, 102012}}},
        {"NoSequenceHeader", kMpeg2, Mpeg2Builder().Gop(1).Picture(1).Slice(300).Bytes(), {90000}, false,
         "The es attribute is invalid.(parse error)", {}},
        {"KivInMissingFolder", kMpeg2, kIPBB, {0}, false, "", {}, -1, "missing/out.kiv"},
    }),
    RowName);

}  // namespace
}  // namespace kiv_test
