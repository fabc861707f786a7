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
    std::string report;            // whole report; empty: not checked
    std::vector<std::string> xml;  // "element value" pairs the XML holds after CreateKiv
};

class AvcTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(AvcTexts, ReportAndXml) {
    kiv_test::TempDir dir;
    ts_comp::es::CAvcVideoEs es(CL_CString(dir.Write("a.264", GetParam().stream).c_str()));
    CL_CString report, xml;
    es.GetReportText(report);
    EXPECT_TRUE(GetParam().report.empty() || GetParam().report == report.GetString()) << report.GetString();
    ASSERT_TRUE(es.CreateKiv(dir.File("a.kiv").c_str(), {90000})) << es.GetLastErrorMessage();
    es.GetXmlText(xml);
    for (const std::string& pair : GetParam().xml) {
        const std::string name = pair.substr(0, pair.find(' ')), line = "<" + name + ">" + pair.substr(name.size() + 1);
        EXPECT_NE(std::string(xml.GetString()).find(line + "</" + name + ">\n"), std::string::npos) << pair;
    }
}

const std::string kSeparator = "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n";

INSTANTIATE_TEST_SUITE_P(
    Table, AvcTexts,
    ::testing::Values(
        TextCase{"Progressive720p5994",
                 AvcBuilder().Unit(k720p, 7, {0, 2, 0, true}).Unit(k720p, 5, {2, 2}).Unit(k720p, 5, {4, 2}).Bytes(),
                 "[PIC_WIDTH_IN_MBS_MINUS1] : 79\r\n[PIC_HEIGHT_IN_MBS_MINUS1] : 44\r\n[FRAME_MBS_ONLY_FLAG] : 1\r\n"
                 "[ASPECT_RATIO_IDC_FLAG] : 1\r\n[ASPECT_RATIO_IDC] : 1\r\n[TIMING_INFO_PRESENT_FLAG] : 1\r\n"
                 "[NUM_UNITS_IN_TICK] : 1001\r\n[TIME_SCALE] : 120000\r\n[PROFILE_IDC] : 100\r\n[LEVEL_IDC] : 40\r\n",
                 {"video_format 5", "frame_rate 7", "aspect_ratio 3", "maximum_number_of_fields_displayed_in_a_GOP 6",
                  "AvcStillPresent 0", "temporal_id_start 0", "temporal_id_end 0", "no_sei_nal_unit_present 0",
                  "no_prefix_nal_unit_present 1"}},
        TextCase{"NoFormatNoAspect", AvcBuilder().Unit(kOdd, 7, {0, 2, 0, true}).Bytes(),
                 kSeparator + "combinations of parameters for video_format is invalid.\r\n"
                              "combinations of parameters for aspect_ratio is invalid.\r\n" + kSeparator +
                     "[PIC_WIDTH_IN_MBS_MINUS1] : 79\r\n[PIC_HEIGHT_IN_MBS_MINUS1] : 44\r\n[FRAME_MBS_ONLY_FLAG] : 0\r\n"
                     "[ASPECT_RATIO_IDC_FLAG] : 0\r\n[TIMING_INFO_PRESENT_FLAG] : 1\r\n[NUM_UNITS_IN_TICK] : 1001\r\n"
                     "[TIME_SCALE] : 50000\r\n[PROFILE_IDC] : 100\r\n[LEVEL_IDC] : 40\r\n",
                 {"frame_rate 0", "maximum_number_of_fields_displayed_in_a_GOP 1"}},
        TextCase{"InterlacedGopFields",
                 AvcBuilder().Unit(k1080i, 7, {0, 2, 0, true}).Unit(k1080i, 5, {2, 6}).Unit(k1080i, 6, {4, 0})
                     .Unit(k1080i, 6, {6, 0}).Unit(k1080i, 7, {0, 2, 0, true}).Unit(k1080i, 5, {2, 2}).Bytes(),
                 "", {"video_format 4", "frame_rate 4", "aspect_ratio 3", "maximum_number_of_fields_displayed_in_a_GOP 4"}},
        TextCase{"StillPicture", AvcBuilder().Unit(k720p, 7, {0, 2, 0, true}).EndOfSequence().Bytes(), "",
                 {"AvcVideoDescriptorPresent 1", "AvcStillPresent 1"}},
        TextCase{"StillFieldPair",
                 AvcBuilder().Unit(k1080i, 7, {0, 2, 1, true}, 0).Unit(k1080i, 7, {1, 2, 2}, 1).EndOfSequence().Bytes(),
                 "", {"AvcStillPresent 1"}},
        TextCase{"PrefixUnits",
                 AvcBuilder().Aud().Sps(k720p).Pps().Sei(k720p, {0, 2, 0, true}).Prefix({0, 1, 1}).Slice(5, 7, k720p).Bytes(),
                 "", {"temporal_id_start 1", "temporal_id_end 1", "no_prefix_nal_unit_present 0"}},
        TextCase{"DependentView",
                 AvcBuilder().DependentUnit(kMvc, 2, {0, 2, 0, true}, {0, 2, 1}).DependentUnit(kMvc, 5, {2, 2}, {1, 3, 0}).Bytes(),
                 "", {"temporal_id_start 2", "temporal_id_end 3", "view_order_index_min 1", "ProfileIdc 128"}}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

}  // namespace
