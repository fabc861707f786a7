// Report banners and the XML values that CreateKiv fills in (fields per GOP, still pictures, the MVC
// descriptor) on synthesised streams; the report's lines are in the golden files of the bundled sample.
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

AvcSps Sps(uint32_t w, uint32_t h, uint8_t frames, int aspect, uint32_t timeScale, bool subset = false) {
    AvcSps s;
    s.widthMbsMinus1 = w, s.heightMapUnitsMinus1 = h, s.frameMbsOnly = frames, s.aspectIdc = aspect;
    s.timeScale = timeScale, s.subset = subset, s.profile = subset ? 128 : 100;
    return s;
}
const AvcSps k720p = Sps(79, 44, 1, 1, 120000), k1080i = Sps(119, 33, 0, 1, 60000);
const AvcSps kOdd = Sps(79, 44, 0, -1, 50000), kMvc = Sps(119, 67, 1, 1, 48000, true);
const std::string kStars = "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n";

const struct {
    const char* name;
    std::vector<uint8_t> stream;
    std::string report;            // the start of the report
    std::vector<std::string> xml;  // "element value": lines of the XML after CreateKiv
} kCases[] = {
    {"Progressive720p5994",
     AvcBuilder().Unit(k720p, 7, {0, 2, 0, true}).Unit(k720p, 5, {2, 2}).Unit(k720p, 5, {4, 2}).Bytes(),
     "[PIC_WIDTH_IN_MBS_MINUS1] : 79\r\n[PIC_HEIGHT_IN_MBS_MINUS1] : 44\r\n",
     {"video_format 5", "frame_rate 7", "aspect_ratio 3", "maximum_number_of_fields_displayed_in_a_GOP 6",
      "AvcStillPresent 0", "temporal_id_start 0", "temporal_id_end 0", "no_sei_nal_unit_present 0",
      "no_prefix_nal_unit_present 1"}},
    // Without aspect_ratio_idc its line is left out.
    {"NoFormatNoAspect", AvcBuilder().Unit(kOdd, 7, {0, 2, 0, true}).Bytes(),
     kStars + "combinations of parameters for video_format is invalid.\r\n"
              "combinations of parameters for aspect_ratio is invalid.\r\n" + kStars +
         "[PIC_WIDTH_IN_MBS_MINUS1] : 79\r\n[PIC_HEIGHT_IN_MBS_MINUS1] : 44\r\n[FRAME_MBS_ONLY_FLAG] : 0\r\n"
         "[ASPECT_RATIO_IDC_FLAG] : 0\r\n[TIMING_INFO_PRESENT_FLAG] : 1\r\n",
     {"frame_rate 0", "maximum_number_of_fields_displayed_in_a_GOP 1"}},
    {"InterlacedGopFields",
     AvcBuilder().Unit(k1080i, 7, {0, 2, 0, true}).Unit(k1080i, 5, {2, 6}).Unit(k1080i, 6, {4, 0})
         .Unit(k1080i, 6, {6, 0}).Unit(k1080i, 7, {0, 2, 0, true}).Unit(k1080i, 5, {2, 2}).Bytes(),
     "", {"video_format 4", "frame_rate 4", "aspect_ratio 3", "maximum_number_of_fields_displayed_in_a_GOP 4"}},
    {"StillPicture", AvcBuilder().Unit(k720p, 7, {0, 2, 0, true}).EndOfSequence().Bytes(), "",
     {"AvcVideoDescriptorPresent 1", "AvcStillPresent 1"}},
    {"StillFieldPair",
     AvcBuilder().Unit(k1080i, 7, {0, 2, 1, true}, 0).Unit(k1080i, 7, {1, 2, 2}, 1).EndOfSequence().Bytes(), "",
     {"AvcStillPresent 1"}},
    {"PrefixUnits",
     AvcBuilder().Aud().Sps(k720p).Pps().Sei(k720p, {0, 2, 0, true}).Prefix({0, 1, 1}).Slice(5, 7, k720p).Bytes(),
     "", {"temporal_id_start 1", "temporal_id_end 1", "no_prefix_nal_unit_present 0"}},
    {"DependentView",
     AvcBuilder().DependentUnit(kMvc, 2, {0, 2, 0, true}, {0, 2, 1}).DependentUnit(kMvc, 5, {2, 2}, {1, 3, 0})
         .Bytes(),
     "", {"temporal_id_start 2", "temporal_id_end 3", "ProfileIdc 128"}},
};

TEST(AvcVideoEs, ReportAndXml) {
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        kiv_test::TempDir dir;
        ts_comp::es::CAvcVideoEs es(CL_CString(dir.Write("a.264", c.stream).c_str()));
        CL_CString report, xml;
        es.GetReportText(report);
        EXPECT_EQ(std::string(report.GetString()).rfind(c.report, 0), 0u) << report.GetString();
        ASSERT_TRUE(es.CreateKiv(dir.File("a.kiv").c_str(), {90000})) << es.GetLastErrorMessage();
        es.GetXmlText(xml);
        for (const std::string& pair : c.xml) {
            const std::string name = pair.substr(0, pair.find(' '));
            const std::string line = "<" + name + ">" + pair.substr(name.size() + 1) + "</" + name + ">\n";
            EXPECT_NE(std::string(xml.GetString()).find(line), std::string::npos) << pair;
        }
    }
}

}  // namespace
