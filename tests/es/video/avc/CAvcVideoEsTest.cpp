// Attribute codes, report lines and the XML values CreateKiv fills in (still pictures, GOP fields,
// MVC descriptor) on synthesised streams.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "es/video/avc/CAvcVideoEs.h"
#include "support/AvcBuilder.h"
#include "support/TempDir.h"

namespace {

using kiv_test::AvcBuilder;
using kiv_test::AvcSps;
using PRIVATE_LIBRARY::CL_CString;

AvcSps Sps(uint32_t w, uint32_t h, uint8_t frames, int aspect, uint32_t timeScale = 48000, bool subset = false) {
    AvcSps s;
    s.widthMbsMinus1 = w, s.heightMapUnitsMinus1 = h, s.frameMbsOnly = frames, s.aspectIdc = aspect;
    s.timeScale = timeScale, s.subset = subset, s.profile = subset ? 128 : 100;
    return s;
}
const AvcSps k720p = Sps(79, 44, 1, 1, 120000);
const AvcSps k1080i = Sps(119, 33, 0, 1, 60000);
const AvcSps kOdd = Sps(79, 44, 0, -1, 50000);
const AvcSps kMvc = Sps(119, 67, 1, 1, 48000, true);

struct TextCase {
    const char* name;
    std::vector<uint8_t> stream;
    std::string report;               // whole report; empty: not checked
    std::vector<std::string> xml;     // lines the XML holds after CreateKiv
};

class AvcTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(AvcTexts, ReportAndXml) {
    kiv_test::TempDir dir;
    ts_comp::es::CAvcVideoEs es(CL_CString(dir.Write("a.264", GetParam().stream).c_str()));
    CL_CString report;
    es.GetReportText(report);
    if (!GetParam().report.empty()) {
        EXPECT_EQ(report.GetString(), GetParam().report);
    }
    ASSERT_TRUE(es.CreateKiv(dir.File("a.kiv").c_str(), {90000})) << es.GetLastErrorMessage();
    CL_CString xml;
    es.GetXmlText(xml);
    for (const std::string& line : GetParam().xml) EXPECT_NE(std::string(xml.GetString()).find(line + "\n"), std::string::npos) << line;
}

INSTANTIATE_TEST_SUITE_P(
    Table, AvcTexts,
    ::testing::Values(
        TextCase{"Progressive720p5994",
                 AvcBuilder().Unit(k720p, 7, {0, 2, 0, true}).Unit(k720p, 5, {2, 2}).Unit(k720p, 5, {4, 2}).Bytes(),
                 "[PIC_WIDTH_IN_MBS_MINUS1] : 79\r\n[PIC_HEIGHT_IN_MBS_MINUS1] : 44\r\n[FRAME_MBS_ONLY_FLAG] : 1\r\n"
                 "[ASPECT_RATIO_IDC_FLAG] : 1\r\n[ASPECT_RATIO_IDC] : 1\r\n[TIMING_INFO_PRESENT_FLAG] : 1\r\n"
                 "[NUM_UNITS_IN_TICK] : 1001\r\n[TIME_SCALE] : 120000\r\n[PROFILE_IDC] : 100\r\n[LEVEL_IDC] : 40\r\n",
                 {"    <video_format>5</video_format>", "    <frame_rate>7</frame_rate>",
                  "    <aspect_ratio>3</aspect_ratio>", "    <maximum_number_of_fields_displayed_in_a_GOP>6</"
                  "maximum_number_of_fields_displayed_in_a_GOP>", "    <AvcStillPresent>0</AvcStillPresent>",
                  "        <temporal_id_start>0</temporal_id_start>", "        <temporal_id_end>0</temporal_id_end>",
                  "        <no_sei_nal_unit_present>0</no_sei_nal_unit_present>",
                  "        <no_prefix_nal_unit_present>1</no_prefix_nal_unit_present>"}},
        TextCase{"NoFormatNoAspect", AvcBuilder().Unit(kOdd, 7, {0, 2, 0, true}).Bytes(),
                 "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
                 "combinations of parameters for video_format is invalid.\r\n"
                 "combinations of parameters for aspect_ratio is invalid.\r\n"
                 "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
                 "[PIC_WIDTH_IN_MBS_MINUS1] : 79\r\n[PIC_HEIGHT_IN_MBS_MINUS1] : 44\r\n[FRAME_MBS_ONLY_FLAG] : 0\r\n"
                 "[ASPECT_RATIO_IDC_FLAG] : 0\r\n[TIMING_INFO_PRESENT_FLAG] : 1\r\n[NUM_UNITS_IN_TICK] : 1001\r\n"
                 "[TIME_SCALE] : 50000\r\n[PROFILE_IDC] : 100\r\n[LEVEL_IDC] : 40\r\n",
                 {"    <frame_rate>0</frame_rate>", "    <maximum_number_of_fields_displayed_in_a_GOP>1</"
                  "maximum_number_of_fields_displayed_in_a_GOP>"}},
        TextCase{"InterlacedGopFields",
                 AvcBuilder().Unit(k1080i, 7, {0, 2, 0, true}).Unit(k1080i, 5, {2, 6}).Unit(k1080i, 6, {4, 0})
                     .Unit(k1080i, 6, {6, 0}).Unit(k1080i, 7, {0, 2, 0, true}).Unit(k1080i, 5, {2, 2}).Bytes(),
                 "", {"    <video_format>4</video_format>", "    <frame_rate>4</frame_rate>",
                      "    <aspect_ratio>3</aspect_ratio>", "    <maximum_number_of_fields_displayed_in_a_GOP>4</"
                      "maximum_number_of_fields_displayed_in_a_GOP>"}},
        TextCase{"StillPicture", AvcBuilder().Unit(k720p, 7, {0, 2, 0, true}).EndOfSequence().Bytes(), "",
                 {"    <AvcVideoDescriptorPresent>1</AvcVideoDescriptorPresent>",
                  "    <AvcStillPresent>1</AvcStillPresent>"}},
        TextCase{"StillFieldPair",
                 AvcBuilder().Unit(k1080i, 7, {0, 2, 1, true}, 0).Unit(k1080i, 7, {1, 2, 2}, 1).EndOfSequence().Bytes(),
                 "", {"    <AvcStillPresent>1</AvcStillPresent>"}},
        TextCase{"PrefixUnits",
                 AvcBuilder().Aud().Sps(k720p).Pps().Sei(k720p, {0, 2, 0, true}).Prefix({0, 1, 1})
                     .Slice(5, 7, k720p).Bytes(),
                 "", {"        <temporal_id_start>1</temporal_id_start>", "        <temporal_id_end>1</temporal_id_end>",
                      "        <no_prefix_nal_unit_present>0</no_prefix_nal_unit_present>"}},
        TextCase{"DependentView",
                 AvcBuilder().DependentUnit(kMvc, 2, {0, 2, 0, true}, {0, 2, 1}).DependentUnit(kMvc, 5, {2, 2}, {1, 3, 0})
                     .Bytes(),
                 "", {"        <temporal_id_start>2</temporal_id_start>", "        <temporal_id_end>3</temporal_id_end>",
                      "        <view_order_index_min>1</view_order_index_min>", "    <ProfileIdc>128</ProfileIdc>"}}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

}  // namespace
