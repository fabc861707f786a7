// libx264 streams encoded at test time, and the bundled sample, through the exported creator against
// ffprobe's packet list: one item per packet with its size, the first presented at the start PTS and the
// presentation times one frame period apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "KivCreator.h"
#include "support/KivReader.h"
#include "support/TempDir.h"

namespace {

struct EncodeCase {
    const char* name;
    const char* source;  // lavfi source for ffmpeg; none: the bundled sample
    const char* options;
    double framePeriod;  // in 90 kHz units
};

class AvcConformance : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(AvcConformance, ItemsMatchFfprobePackets) {
    if (std::system("command -v ffmpeg && command -v ffprobe") != 0) GTEST_SKIP() << "ffmpeg or ffprobe is missing";
    const EncodeCase& c = GetParam();
    kiv_test::TempDir dir;
    std::string es = dir.File("clip.264");
    if (c.source == nullptr) {
        es = std::string(std::getenv("KIV_SOURCE_DIR")) + "/samples/testsrc_1080p_23.976.264";
    } else {
        const std::string command = std::string("ffmpeg -nostdin -loglevel error -y -f lavfi -i '") + c.source +
                                    "' -c:v libx264 -preset ultrafast -g 12 -b:v 1M -maxrate 2M -bufsize 2M " +
                                    c.options + " -x264-params nal-hrd=vbr:pic-struct=1:aud=1 -f h264 '" + es + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    const uint32_t start = 54000;
    kiv_comp::CKivCreator creator;
    ASSERT_TRUE(creator.CreateKiv(kiv_comp::CKivCreator::ES_TYPE_AVC_VIDEO, es.c_str(), dir.File("c.kiv").c_str(), {start},
                                  nullptr))
        << creator.GetLastErrorMessage();
    const std::vector<kiv_test::KivItem> items = kiv_test::ReadKiv(dir.File("c.kiv")).items;

    std::vector<uint64_t> sizes;
    FILE* pipe = popen(("ffprobe -v error -show_packets -show_entries packet=size -of csv=p=0 '" + es + "'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    for (unsigned long long size = 0; std::fscanf(pipe, "%llu", &size) == 1;) sizes.push_back(size);
    pclose(pipe);
    ASSERT_EQ(items.size(), sizes.size() + 1);
    uint64_t total = 0;
    std::vector<uint64_t> pts;
    for (size_t i = 0; i < sizes.size(); total += items[i].size, pts.push_back(items[i].pts), ++i) {
        EXPECT_EQ(items[i].size, sizes[i]) << "packet " << i;
    }
    EXPECT_EQ(total, kiv_test::TempDir::Read(es).size());
    EXPECT_EQ(items.front().type, 1u);
    EXPECT_EQ(items.front().pts, start);
    EXPECT_EQ(items.back().type, 255u);
    std::sort(pts.begin(), pts.end());
    for (size_t i = 1; i < pts.size(); ++i) {
        EXPECT_NEAR(static_cast<double>(pts[i] - pts[0]), i * c.framePeriod, 1.0) << "picture " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, AvcConformance,
    ::testing::Values(EncodeCase{"ProgressiveWithB", "testsrc=size=640x360:rate=24000/1001:duration=2", "-bf 2",
                                 90000.0 * 1001 / 24000},
                      EncodeCase{"Interlaced", "testsrc=size=720x480:rate=30000/1001:duration=2",
                                 "-bf 2 -flags +ildct+ilme -top 1", 90000.0 * 1001 / 30000},
                      EncodeCase{"Progressive720p5994", "testsrc=size=1280x720:rate=60000/1001:duration=1", "-bf 0",
                                 90000.0 * 1001 / 60000},
                      EncodeCase{"BundledSample", nullptr, "", 90000.0 * 1001 / 24000}),
    [](const ::testing::TestParamInfo<EncodeCase>& info) { return std::string(info.param.name); });

}  // namespace
