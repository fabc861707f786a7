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

namespace kiv_test {
namespace {

using kiv_comp::CKivCreator;

const std::string kMpeg2 = " -c:v mpeg2video -b:v 2M -bf 2 -f mpeg2video";
const std::string kX264 = " -c:v libx264 -preset ultrafast -g 12 -b:v 1M -maxrate 2M -bufsize 2M "
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
    const std::string options = std::string("-f lavfi -i testsrc=size=") + r.input + (mpeg2 ? kMpeg2 : kX264);
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
