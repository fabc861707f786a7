// HDMV LPCM rows of the creator table: one item per whole frame, 450 ticks apart.
#include "support/CreatorTable.h"
#include "support/LpcmBuilder.h"

namespace kiv_test {
namespace {

constexpr auto kLpcm = kiv_comp::CKivCreator::ES_TYPE_HDMV_LPCM;
std::vector<uint8_t> Three() { return LpcmBuilder().Frame(100).Frame(0).Frame(300).Take(); }

INSTANTIATE_TEST_SUITE_P(
    Lpcm, CreatorTable,
    ::testing::ValuesIn(std::vector<CreatorRow>{
        {"OneFrame", kLpcm, LpcmBuilder().Frame(188).Take(), {90000}, true, "",
         {{0, 192, 90000, 90000}, {255, 0, 0, 90450}}},
        {"CutLastFrameIsLeftOut", kLpcm, LpcmBuilder().Frame(100).Frame(0).Frame(300).FrameCutAt(300, 10).Take(),
         {1000}, true, "", {{0, 104, 1000, 1000}, {0, 4, 1450, 1450}, {0, 304, 1900, 1900}, {255, 0, 0, 2350}}},
        // 4294967295 arrives zero-extended: the frames count on from 2^32 - 1, not from -1.
        {"LargestStartValue", kLpcm, LpcmBuilder().Frame(188).Frame(188).Take(), {4294967295u}, true, "",
         {{0, 192, 4294967295u, 4294967295u}, {0, 192, 4294967745u, 4294967745u}, {255, 0, 0, 4294968195u}}},
        {"NoStartPts", kLpcm, Three(), {}, false, "", {}},
        {"TwoStartPts", kLpcm, Three(), {0, 450}, false, "", {}},
        {"Only191Bytes", kLpcm, LpcmBuilder().Frame(187).Take(), {0}, false, "The es file is short.", {}},
        {"KivInMissingFolder", kLpcm, Three(), {0}, false, "", {}, -1, "missing/out.kiv"},
        // The abort set during the first progress call is seen at the poll after the second frame.
        {"AbortAfterFirstFrame", kLpcm, Three(), {1000}, false, "abort end.",
         {{0, 104, 1000, 1000}, {0, 4, 1450, 1450}}, 1},
    }),
    RowName);

}  // namespace
}  // namespace kiv_test
