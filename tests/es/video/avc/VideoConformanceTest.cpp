// MPEG-2 and AVC streams that ffmpeg encodes at test time, and the bundled samples, through the exported
// creator against ffprobe's packet list: one item per packet and of its size, the first presented at the
// start PTS, the presentation times one frame period apart. ffprobe's MPEG video parser also counts the
// headers before a picture and a trailing sequence end code with the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "KivCreator.h"
#include "support/Ffmpeg.h"
#include "support/KivReader.h"
#include "support/TempDir.h"

namespace {

using kiv_comp::CKivCreator;

const std::string kMpeg2 = " -c:v mpeg2video -b:v 2M -bf 2 -f mpeg2video";
const std::string kX264 = " -c:v libx264 -preset ultrafast -g 12 -b:v 1M -maxrate 2M -bufsize 2M "
                          "-x264-params nal-hrd=vbr:pic-struct=1:aud=1 -f h264";

struct Row {
    const char* name;
    CKivCreator::ES_TYPE type;
    std::string file;     // in the scratch folder, or samples/NAME
    std::string options;  // ffmpeg's input and output options; empty for a sample
    double period;        // one frame in 90 kHz units
};

const Row kRows[] = {
    {"Mpeg2Progressive", CKivCreator::ES_TYPE_MPEG2_VIDEO, "clip.m2v",
     "-f lavfi -i testsrc=size=720x480:rate=24000/1001:duration=2 -g 12" + kMpeg2, 3753.75},
    {"Mpeg2Interlaced", CKivCreator::ES_TYPE_MPEG2_VIDEO, "clip.m2v",
     "-f lavfi -i testsrc=size=720x480:rate=30000/1001:duration=2 -g 15 -flags +ilme+ildct -top 1" + kMpeg2, 3003},
    {"Mpeg2Sample", CKivCreator::ES_TYPE_MPEG2_VIDEO, "samples/testsrc_480p_23.976.m2v", "", 3753.75},
    {"AvcProgressiveWithB", CKivCreator::ES_TYPE_AVC_VIDEO, "clip.264",
     "-f lavfi -i testsrc=size=640x360:rate=24000/1001:duration=2 -bf 2" + kX264, 3753.75},
    {"AvcInterlaced", CKivCreator::ES_TYPE_AVC_VIDEO, "clip.264",
     "-f lavfi -i testsrc=size=720x480:rate=30000/1001:duration=2 -bf 2 -flags +ildct+ilme -top 1" + kX264, 3003},
    {"Avc720p5994", CKivCreator::ES_TYPE_AVC_VIDEO, "clip.264",
     "-f lavfi -i testsrc=size=1280x720:rate=60000/1001:duration=1 -bf 0" + kX264, 1501.5},
    {"AvcSample", CKivCreator::ES_TYPE_AVC_VIDEO, "samples/testsrc_1080p_23.976.264", "", 3753.75},
};

class VideoConformance : public ::testing::TestWithParam<Row> {};

TEST_P(VideoConformance, ItemsMatchFfprobePackets) {
    if (!kiv_test::HaveFfmpeg()) GTEST_SKIP() << "ffmpeg or ffprobe is not installed";
    const Row& r = GetParam();
    kiv_test::TempDir dir;
    const std::string es = r.options.empty() ? std::getenv("KIV_SOURCE_DIR") + ("/" + r.file) : dir.File(r.file);
    if (!r.options.empty()) { ASSERT_TRUE(kiv_test::Encode(r.options, es)); }
    CKivCreator creator;
    ASSERT_TRUE(creator.CreateKiv(r.type, es.c_str(), dir.File("c.kiv").c_str(), {54000}, nullptr))
        << creator.GetLastErrorMessage();
    const std::vector<kiv_test::KivItem> items = kiv_test::ReadKiv(dir.File("c.kiv")).items;
    const std::vector<std::string> sizes = kiv_test::Probe(es, "packet=size");
    ASSERT_EQ(items.size(), sizes.size() + 1);
    uint64_t total = 0;
    std::vector<uint64_t> pts;
    for (size_t i = 0; i < sizes.size(); total += items[i].size, pts.push_back(items[i].pts), ++i) {
        EXPECT_EQ(std::to_string(items[i].size), sizes[i]) << "packet " << i;
    }
    EXPECT_EQ(total, kiv_test::TempDir::Read(es).size());
    EXPECT_EQ(items.front().type, 1u);
    EXPECT_EQ(items.front().pts, 54000u);
    EXPECT_EQ(items.back().type, 255u);
    std::sort(pts.begin(), pts.end());
    for (size_t i = 1; i < pts.size(); ++i) EXPECT_NEAR(pts[i] - pts[0], i * r.period, 1.0) << "picture " << i;
}

INSTANTIATE_TEST_SUITE_P(Clips, VideoConformance, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
