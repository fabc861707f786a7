// MPEG-2, AVC and VC-1 analysers made as the creator makes them: the report and XML values no bundled sample
// shows (banners, "no exist" lines, codes of formats and rates, what CreateKiv counts); and streams that ffmpeg
// encodes at test time, and the bundled samples, through the exported creator against ffprobe's packet list:
// one item per packet and of its size, the first presented at the start PTS, the presentation times one frame
// period apart. ffprobe's MPEG video parser also counts the headers before a picture and a trailing sequence
// end code with the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>

#include "CEsFactoryTable.h"
#include "KivCreator.h"
#include "support/AvcBuilder.h"
#include "support/Ffmpeg.h"
#include "support/KivReader.h"
#include "support/Mpeg2Builder.h"
#include "support/TempDir.h"
#include "support/Vc1Builder.h"

namespace kiv_test {
namespace {

using kiv_comp::CKivCreator;
using Bytes = std::vector<uint8_t>;
constexpr auto kMpeg2 = CKivCreator::ES_TYPE_MPEG2_VIDEO, kAvc = CKivCreator::ES_TYPE_AVC_VIDEO, kVc1 = CKivCreator::ES_TYPE_VC1_VIDEO;

// A 1920-wide sequence of 29.97 Hz frames (bit rate 20000, VBV 112), then I P P.
Bytes M2(uint16_t height, uint8_t progressive, uint8_t aspect, uint8_t profileAndLevel) {
    return Mpeg2Builder().Sequence(height, 4, progressive, aspect, profileAndLevel).Picture(1).Picture(2).Picture(2).Bytes();
}
AvcSps Sps(uint32_t w, uint32_t h, uint8_t frames, int aspect, uint32_t timeScale, bool subset = false) {
    AvcSps s;
    s.widthMbsMinus1 = w, s.heightMapUnitsMinus1 = h, s.frameMbsOnly = frames, s.aspectIdc = aspect;
    s.timeScale = timeScale, s.subset = subset, s.profile = subset ? 128 : 100;
    return s;
}
const AvcSps k720p = Sps(79, 44, 1, 1, 120000), k1080i = Sps(119, 33, 0, 1, 60000);
const AvcSps kOdd = Sps(79, 44, 0, -1, 50000), kMvc = Sps(119, 67, 1, 1, 48000, true);
// A head with the display fields (sizes coded minus one) and a frame rate NR/DR, then the pictures.
Bytes Vc1(uint16_t width, uint16_t height, uint8_t interlace, uint8_t aspect, uint8_t nr, uint8_t dr, const char* script = "I") {
    Vc1Sequence s;
    s.dispWidth = width, s.dispHeight = height, s.interlace = interlace, s.aspect = aspect, s.frameRateNr = nr, s.frameRateDr = dr;
    return Vc1Builder().Head(s).Script(script).Bytes();
}
#define STARS "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
#define FORMAT "combinations of parameters for video_format is invalid.\r\n"
#define ASPECT "combinations of parameters for aspect_ratio is invalid.\r\n"

TEST(VideoEs, ReportAndXmlValues) {
    const struct {
        CKivCreator::ES_TYPE type;
        Bytes stream;
        const char* report;  // the start of the report
        const char* xml;     // "element=value" words: elements of the XML, after CreateKiv when kiv
        bool kiv = false;
    } rows[] = {
        {kMpeg2, M2(480, 0, 2, 0x48), "", "video_format=1 frame_rate=4 aspect_ratio=2 ProfileAndLevelIndication=0"},
        {kMpeg2, M2(480, 1, 1, 0x44), "", "video_format=3 aspect_ratio=3 ProfileAndLevelIndication=1"},
        {kMpeg2, M2(576, 0, 2, 0x46), "", "video_format=2 aspect_ratio=2 ProfileAndLevelIndication=2"},
        {kMpeg2, M2(576, 1, 3, 0x4A), "", "video_format=7 aspect_ratio=3 ProfileAndLevelIndication=3"},
        {kMpeg2, M2(720, 1, 2, 0x58), "", "video_format=5 aspect_ratio=2 ProfileAndLevelIndication=3"},
        {kMpeg2, M2(1088, 0, 2, 0x14), "", "video_format=4 aspect_ratio=2 ProfileAndLevelIndication=3"},
        {kMpeg2, M2(1080, 1, 2, 0x48), "[horizontal_size] : 1920\r\n", "video_format=6 aspect_ratio=2 ProfileAndLevelIndication=0"},
        {kMpeg2, M2(720, 0, 3, 0x44),
         STARS FORMAT STARS "[horizontal_size] : 1920\r\n[vertical_size] : 720\r\n[aspect_ratio] : 3\r\n[frame_rate] : 4\r\n"
         "[bit_rate] : 20000\r\n[vbv_buffer_size] : 112\r\n[profile] : 4\r\n[level] : 4\r\n[progressive_sequence] : 0\r\n",
         "video_format=0 aspect_ratio=3 ProfileAndLevelIndication=1"},
        {kMpeg2, M2(1000, 1, 0, 0x48), STARS FORMAT ASPECT STARS "[horizontal_size]", "video_format=0 aspect_ratio=0 ProfileAndLevelIndication=0"},
        {kAvc, AvcBuilder().Unit(k720p, 7, {0, 2, 0, true}).Unit(k720p, 5, {2, 2}).Unit(k720p, 5, {4, 2}).Bytes(),
         "[PIC_WIDTH_IN_MBS_MINUS1] : 79\r\n[PIC_HEIGHT_IN_MBS_MINUS1] : 44\r\n",
         "video_format=5 frame_rate=7 aspect_ratio=3 maximum_number_of_fields_displayed_in_a_GOP=6", true},
        // Without aspect_ratio_idc its line is left out.
        {kAvc, AvcBuilder().Unit(kOdd, 7, {0, 2, 0, true}).Bytes(),
         STARS FORMAT ASPECT STARS "[PIC_WIDTH_IN_MBS_MINUS1] : 79\r\n[PIC_HEIGHT_IN_MBS_MINUS1] : 44\r\n[FRAME_MBS_ONLY_FLAG] : 0\r\n"
         "[ASPECT_RATIO_IDC_FLAG] : 0\r\n[TIMING_INFO_PRESENT_FLAG] : 1\r\n", "frame_rate=0 maximum_number_of_fields_displayed_in_a_GOP=1", true},
        {kAvc, AvcBuilder().Unit(k1080i, 7, {0, 2, 0, true}).Unit(k1080i, 5, {2, 6}).Unit(k1080i, 6, {4, 0}).Unit(k1080i, 6, {6, 0})
             .Unit(k1080i, 7, {0, 2, 0, true}).Unit(k1080i, 5, {2, 2}).Bytes(),
         "", "video_format=4 frame_rate=4 aspect_ratio=3 maximum_number_of_fields_displayed_in_a_GOP=4", true},
        {kAvc, AvcBuilder().Unit(k720p, 7, {0, 2, 0, true}).EndOfSequence().Bytes(), "", "AvcVideoDescriptorPresent=1 AvcStillPresent=1", true},
        {kAvc, AvcBuilder().Unit(k1080i, 7, {0, 2, 1, true}, 0).Unit(k1080i, 7, {1, 2, 2}, 1).EndOfSequence().Bytes(), "",
         "AvcStillPresent=1", true},
        {kAvc, AvcBuilder().Aud().Sps(k720p).Pps().Sei(k720p, {0, 2, 0, true}).Prefix({0, 1, 1}).Slice(5, 7, k720p).Bytes(), "",
         "temporal_id_start=1 temporal_id_end=1 no_prefix_nal_unit_present=0", true},
        {kAvc, AvcBuilder().DependentUnit(kMvc, 2, {0, 2, 0, true}, {0, 2, 1}).DependentUnit(kMvc, 5, {2, 2}, {1, 3, 0}).Bytes(), "",
         "temporal_id_start=2 temporal_id_end=3 ProfileIdc=128", true},
        {kVc1, Vc1(719, 479, 1, 3, 1, 2), "", "video_format=1 frame_rate=1 aspect_ratio=2"},
        {kVc1, Vc1(719, 575, 1, 4, 2, 1), "", "video_format=2 frame_rate=3 aspect_ratio=3"},
        {kVc1, Vc1(719, 575, 0, 2, 4, 1), "", "video_format=7 frame_rate=6 aspect_ratio=2"},
        {kVc1, Vc1(1279, 719, 0, 1, 5, 2), "", "video_format=5 frame_rate=7 aspect_ratio=3"},
        {kVc1, Vc1(1279, 719, 1, 2, 3, 2), "", "video_format=0 frame_rate=4 aspect_ratio=0"},
        {kVc1, Vc1(1919, 1079, 1, 15, 1, 1), "", "video_format=4 frame_rate=2 aspect_ratio=3"},
        {kVc1, Vc1(719, 479, 0, 5, 7, 1), "", "video_format=3 frame_rate=0 aspect_ratio=3"},
        {kVc1, Vc1(1439, 1079, 0, 1, 2, 3), "", "video_format=6 frame_rate=0 aspect_ratio=0"},
        // Six fields before the second entry point, two after it.
        {kVc1, Vc1(719, 479, 1, 3, 1, 2, "I P B N I"), "[DISP_HORIZ_SIZE] : 719\r\n[DISP_VERT_SIZE] : 479\r\n[ASPECT_RATIO] : 3\r\n"
         "[INTERLACE] : 1\r\n[FRAME_RATE] :  23.976\r\n", "maximum_number_of_frames_display_in_an_EPS=3", true},
        {kVc1, Vc1Builder().Script("Hd I").Bytes(), STARS FORMAT ASPECT STARS "[DISP_HORIZ_SIZE] : no exist\r\n[DISP_VERT_SIZE] : no exist\r\n"
         "[ASPECT_RATIO] : no exist\r\n[INTERLACE] : 0\r\n[FRAME_RATE] : no exist\r\n[level] : 3\r\n", ""},
    };
    for (const auto& r : rows) {
        TempDir dir;
        auto es = ts_comp::api::CEsFactoryTable::BuiltIn().Find(r.type)(PRIVATE_LIBRARY::CL_CString(dir.Write("v.es", r.stream).c_str()));
        PRIVATE_LIBRARY::CL_CString report, xml;
        es->GetReportText(report);
        EXPECT_EQ(std::string(report.GetString()).rfind(r.report, 0), 0u) << report.GetString();
        if (r.kiv) { ASSERT_TRUE(es->CreateKiv(dir.File("v.kiv").c_str(), {90000})) << es->GetLastErrorMessage(); }
        es->GetXmlText(xml);
        std::istringstream words(r.xml);
        for (std::string w; words >> w;) {
            const std::string name = w.substr(0, w.find('='));
            EXPECT_NE(std::string(xml.GetString()).find("<" + name + ">" + w.substr(name.size() + 1) + "</" + name + ">"), std::string::npos)
                << w << " in\n" << xml.GetString();
        }
    }
}

const std::string kMpeg2Options = " -c:v mpeg2video -b:v 2M -bf 2 -f mpeg2video";
const std::string kX264Options = " -c:v libx264 -preset ultrafast -g 12 -b:v 1M -maxrate 2M -bufsize 2M "
                          "-x264-params nal-hrd=vbr:pic-struct=1:aud=1 -f h264";

// A clip of testsrc=size=INPUT in the scratch folder (.m2v MPEG-2, .264 AVC), or a sample (no input).
struct Row {
    const char *name, *file, *input;
    double period;  // one frame in 90 kHz units
};

const Row kRows[] = {
    {"Mpeg2Progressive", "clip.m2v", "720x480:rate=24000/1001:duration=2 -g 12", 3753.75},
    {"Mpeg2Interlaced", "clip.m2v", "720x480:rate=30000/1001:duration=2 -g 15 -flags +ilme+ildct -top 1", 3003},
    {"Mpeg2Sample", "samples/testsrc_480p_23.976.m2v", "", 3753.75},
    {"AvcProgressiveWithB", "clip.264", "640x360:rate=24000/1001:duration=2 -bf 2", 3753.75},
    {"AvcInterlaced", "clip.264", "720x480:rate=30000/1001:duration=2 -bf 2 -flags +ildct+ilme -top 1", 3003},
    {"Avc720p5994", "clip.264", "1280x720:rate=60000/1001:duration=1 -bf 0", 1501.5},
    {"AvcSample", "samples/testsrc_1080p_23.976.264", "", 3753.75},
};

class VideoConformance : public ::testing::TestWithParam<Row> {};

TEST_P(VideoConformance, ItemsMatchFfprobePackets) {
    if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg or ffprobe is not installed";
    const Row& r = GetParam();
    TempDir dir;
    const bool mpeg2 = std::string(r.file).find(".m2v") != std::string::npos;
    const std::string es = *r.input == 0 ? std::getenv("KIV_SOURCE_DIR") + std::string("/") + r.file : dir.File(r.file);
    const std::string options = std::string("-f lavfi -i testsrc=size=") + r.input + (mpeg2 ? kMpeg2Options : kX264Options);
    if (*r.input != 0) { ASSERT_TRUE(Encode(options, es)); }
    CKivCreator creator;
    const auto type = mpeg2 ? CKivCreator::ES_TYPE_MPEG2_VIDEO : CKivCreator::ES_TYPE_AVC_VIDEO;
    ASSERT_TRUE(creator.CreateKiv(type, es.c_str(), dir.File("c.kiv").c_str(), {54000}, nullptr))
        << creator.GetLastErrorMessage();
    const std::vector<KivItem> items = ReadKiv(dir.File("c.kiv")).items;
    const std::vector<std::string> sizes = Probe(es, "packet=size");
    ASSERT_EQ(items.size(), sizes.size() + 1);
    uint64_t total = 0;
    std::vector<uint64_t> pts;
    for (size_t i = 0; i < sizes.size(); total += items[i].size, pts.push_back(items[i].pts), ++i) {
        EXPECT_EQ(std::to_string(items[i].size), sizes[i]) << "packet " << i;
    }
    EXPECT_EQ(total, TempDir::Read(es).size());
    EXPECT_EQ((std::vector<uint64_t>{items.front().type, items.front().pts, items.back().type}),
              (std::vector<uint64_t>{1, 54000, 255}));
    std::sort(pts.begin(), pts.end());
    for (size_t i = 1; i < pts.size(); ++i) EXPECT_NEAR(pts[i] - pts[0], i * r.period, 1.0) << "picture " << i;
}

INSTANTIATE_TEST_SUITE_P(Clips, VideoConformance, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kiv_test
