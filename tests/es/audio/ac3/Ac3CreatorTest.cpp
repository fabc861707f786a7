// AC-3 streams through the exported creator: results and the texts the host sees.
#include <gtest/gtest.h>

#include "Ac3TestSupport.h"
#include "KivCreator.h"
#include "support/Ac3Builder.h"
#include "support/TempDir.h"

using namespace kiv_test;
using kiv_comp::CKivCreator;

namespace {

std::vector<uint8_t> Frames(uint32_t fscod, int count) {
    Ac3Frame f;
    f.fscod = fscod;
    std::vector<std::vector<uint8_t>> frames(static_cast<size_t>(count), f.Build());
    return JoinFrames(frames);
}

struct CreatorCase {
    const char* name;
    std::vector<uint8_t> stream;
    std::vector<uint32_t> startPts;
    bool result;
    const char* message;
    size_t items;  // items in the KIV file, terminating item included
};

class Ac3CreatorTest : public ::testing::TestWithParam<CreatorCase> {};

TEST_P(Ac3CreatorTest, ResultAndMessage) {
    const CreatorCase& c = GetParam();
    TempDir dir;
    const std::string es = dir.Write("a.ac3", c.stream);
    const std::string kiv = dir.File("a.kiv");
    CKivCreator creator;
    EXPECT_EQ(creator.CreateKiv(CKivCreator::ES_TYPE_AC3, es.c_str(), kiv.c_str(), c.startPts, nullptr), c.result);
    EXPECT_STREQ(creator.GetLastErrorMessage(), c.message);
    EXPECT_EQ(ReadAudioKiv(kiv).items.size(), c.items);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, Ac3CreatorTest,
    ::testing::Values(CreatorCase{"ac3", Frames(0, 3), {4000000000u}, true, "", 4},
                      CreatorCase{"ac3At44kHz", Frames(1, 3), {0}, false, "", 0},
                      CreatorCase{"noStartPts", Frames(0, 3), {}, false, "\nstart pts is not set.", 0},
                      CreatorCase{"byteSwapped", SwapWords(Frames(0, 3)), {0}, false, "An endian of es is inverse.", 0},
                      CreatorCase{"short", std::vector<uint8_t>(191, 0x0B), {0}, false, "The es file is short.", 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
