// CDraEs beyond the creator rows and the sample: the first header's values, normal and extended, and the line
// printed for a header cut off at the end of the file.
#include <gtest/gtest.h>

#include "es/audio/dra/CDraEs.h"
#include "support/DraBuilder.h"
#include "support/TempDir.h"

namespace kiv_test {
namespace {

using PRIVATE_LIBRARY::CL_CString;

std::vector<uint8_t> Frames(const DraFrame& frame, int count, std::vector<uint8_t> tail = {}) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < count; ++i) frame.AppendTo(bytes);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

TEST(DraEs, ReportOfTheFirstHeader) {
    const std::pair<DraFrame, const char*> rows[] = {
        {DraFrame{1, 3, 10, 37, 2}, "x[nSampleRateIndex] : 10\r\n[nNumNormalCh] : 37\r\n[nNumLfeCh] : 2\r\n"},
        {DraFrame{0, 3, 9, 5, 1}, "x[nSampleRateIndex] : 9\r\n[nNumNormalCh] : 5\r\n[nNumLfeCh] : 1\r\n"}};
    for (const auto& [frame, text] : rows) {
        TempDir dir;
        ts_comp::es::CDraEs es{CL_CString(dir.Write("a.dra", Frames(frame, 4)).c_str())};
        CL_CString report("x");
        es.GetReportText(report);
        EXPECT_STREQ(report.GetString(), text);
    }
}

TEST(DraEs, HeaderCutOffAtTheEndIsPrinted) {
    TempDir dir;
    ts_comp::es::CDraEs es{CL_CString(dir.Write("a.dra", Frames(DraFrame{}, 3, {0x7F, 0xFF, 0x01})).c_str())};
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(es.CreateKiv(dir.File("a.kiv").c_str(), {0}));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "file read error Unknown exception\n");
}

}  // namespace
}  // namespace kiv_test
