// CDraEs and its parser: junk before the first sync word, the printed line for a header cut off at the end,
// the report and XML of normal and extended headers. Frame sizes and time stamps are rows of the creator
// table (tests/api/CreatorTableDra.cpp).
#include <gtest/gtest.h>

#include "es/audio/dra/CDraAudioParser.h"
#include "es/audio/dra/CDraEs.h"
#include "support/DraBuilder.h"
#include "support/TempDir.h"

using kiv_test::DraFrame;
using PRIVATE_LIBRARY::CL_CString;

namespace {

std::vector<uint8_t> Stream(std::vector<uint8_t> bytes, const DraFrame& frame, int count) {
    for (int i = 0; i < count; ++i) frame.AppendTo(bytes);
    return bytes;
}

TEST(DraEsTest, JunkBeforeTheFirstSyncBelongsToNoFrame) {
    kiv_test::TempDir dir;
    ts_comp::es::dra_audio::CDraAudioParser parser;
    ASSERT_TRUE(parser.Open(dir.Write("a.dra", Stream({0x7F, 0x00, 0xFF, 0x7F}, DraFrame{}, 2)).c_str()));
    std::vector<int64_t> sizes;
    while (const auto* f = parser.ParseNextFrame()) sizes.push_back(f->frameSize);
    EXPECT_EQ(sizes, (std::vector<int64_t>{64, 64}));
}

TEST(DraEsTest, HeaderCutOffAtTheEndIsPrinted) {
    kiv_test::TempDir dir;
    std::vector<uint8_t> bytes = Stream({}, DraFrame{}, 3);
    bytes.insert(bytes.end(), {0x7F, 0xFF, 0x01});
    ts_comp::es::CDraEs es{CL_CString(dir.Write("a.dra", bytes).c_str())};
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(es.CreateKiv(dir.File("a.kiv").c_str(), {0}));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "file read error Unknown exception\n");
}

TEST(DraEsTest, ReportAndXmlOfTheFirstHeader) {
    const std::pair<DraFrame, const char*> heads[] = {
        {DraFrame{1, 3, 10, 37, 2}, "x[nSampleRateIndex] : 10\r\n[nNumNormalCh] : 37\r\n[nNumLfeCh] : 2\r\n"},
        {DraFrame{0, 3, 9, 5, 1}, "x[nSampleRateIndex] : 9\r\n[nNumNormalCh] : 5\r\n[nNumLfeCh] : 1\r\n"}};
    for (const auto& [frame, text] : heads) {
        kiv_test::TempDir dir;
        ts_comp::es::CDraEs es{CL_CString(dir.Write("a.dra", Stream({}, frame, 4)).c_str())};
        CL_CString report("x"), xml;
        es.GetReportText(report);
        EXPECT_STREQ(report.GetString(), text);
        es.GetXmlText(xml);
        if (frame.extended == 0) continue;
        EXPECT_STREQ(xml.GetString(),
                     "<?xml version=\"1.0\" standalone=\"yes\"?>\n<DRA xmlns=\"urn:kiv:es-attribute:1.0\">\n <parameter>\n"
                     "    <nSampleRateIndex>10</nSampleRateIndex>\n    <nNumNormalCh>37</nNumNormalCh>\n"
                     "    <nNumLfeCh>2</nNumLfeCh>\n  </parameter>\n</DRA>\n");
    }
}

}  // namespace
