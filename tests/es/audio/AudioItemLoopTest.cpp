// The shared audio item loop and the channel-code test.
#include <gtest/gtest.h>

#include "es/audio/CAudioItemLoop.h"
#include "es/audio/IsMultiChannelCode.h"
#include "foundation/CTsMuxException.h"
#include "support/KivReader.h"
#include "support/RecordingNotice.h"
#include "support/TempDir.h"

using namespace kiv_test;
using PRIVATE_LIBRARY::CL_CString;
using ts_comp::es::CAudioItemLoop;

namespace {

// A minimal audio analyser: every run writes the units it is given through the loop.
class FixedUnitsEs : public ts_comp::es::CAudioEs {
public:
    explicit FixedUnitsEs(const CL_CString& path) : CAudioEs(path, "FixedUnitsEs") {}
    void GetXmlText(CL_CString& out) override { out = ""; }
    bool Run(const char* kivPath, uint64_t pts, const std::vector<uint32_t>& sizes, uint64_t step) {
        CAudioItemLoop loop(*this, pts);
        if (!loop.Create(kivPath)) return false;
        for (uint32_t size : sizes) {
            if (!loop.WriteUnit(size % 3 == 0 ? 7 : 0, size)) return false;
            loop.AdvancePts(step);
        }
        processed = loop.GetProcessedBytes();
        return loop.WriteEnd();
    }
    int64_t processed = 0;
};

class AudioItemLoopTest : public ::testing::Test {
protected:
    AudioItemLoopTest() : es(CL_CString(dir.Write("a.es", std::vector<uint8_t>(1000, 0)).c_str())) {}
    TempDir dir;
    FixedUnitsEs es;
};

TEST_F(AudioItemLoopTest, WritesUnitsAndTheTerminatingItem) {
    ASSERT_TRUE(es.Run(dir.File("a.kiv").c_str(), 90000, {964, 10, 3}, 450));
    EXPECT_EQ(ReadKiv(dir.File("a.kiv")).items, (std::vector<KivItem>{{0, 964, 90000, 90000},
                                                                      {0, 10, 90450, 90450},
                                                                      {7, 3, 90900, 90900},
                                                                      {255, 0, 0, 91350}}));
    EXPECT_EQ(es.processed, 977);
}

TEST_F(AudioItemLoopTest, PollsAfterEachUnitAndAbortsWithTheOwnersName) {
    RecordingNotice notice(2);
    es.SetNotice(&notice);
    try {
        es.Run(dir.File("a.kiv").c_str(), 0, {1, 2, 4, 8}, 1);
        FAIL() << "no abort";
    } catch (const ts_comp::CTsMuxException& e) {
        CL_CString m;
        e.GetMessage(m);
        EXPECT_STREQ(m.GetString(), "abort end.");
        EXPECT_EQ(e.GetErrorCode(), 0);
        EXPECT_STREQ(e.GetSourceFile(), "FixedUnitsEs");
    }
    EXPECT_EQ(notice.progress, (std::vector<int64_t>{1, 3}));
    EXPECT_EQ(notice.totals, (std::vector<int64_t>{1000, 1000}));
    EXPECT_EQ(notice.polls, 3);
}

TEST(IsMultiChannelCode, ThreeOrMoreChannelsOrAnyLfe) {
    const struct {
        int code;
        bool multi;
    } cases[] = {{0, false},  {10, false}, {20, false}, {30, true}, {51, true}, {71, true}, {1, true},
                 {11, true},  {21, true},  {22, true},  {29, true}, {40, true}, {2, true},  {-10, false}};
    for (const auto& c : cases) EXPECT_EQ(ts_comp::es::IsMultiChannelCode(c.code), c.multi) << c.code;
}

}  // namespace
