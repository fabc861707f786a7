// Streams encoded by ffmpeg at test time and the bundled sample, through the exported creator,
// against ffprobe's packet list.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "KivCreator.h"
#include "support/Ffmpeg.h"
#include "support/KivReader.h"
#include "support/TempDir.h"

namespace {

using kiv_comp::CKivCreator;
using kiv_test::TempDir;

// ffprobe's MPEG video parser also cuts at each picture start code and counts the headers in front of a
// picture and the trailing sequence end code with it, so the sizes agree item for item.
void ExpectMatchesProbe(const std::string& es, const std::string& kiv, uint32_t startPts) {
    CKivCreator creator;
    ASSERT_TRUE(creator.CreateKiv(CKivCreator::ES_TYPE_MPEG2_VIDEO, es.c_str(), kiv.c_str(), {startPts}, nullptr))
        << creator.GetLastErrorMessage();
    const std::vector<kiv_test::KivItem> items = kiv_test::ReadKiv(kiv).items;
    const std::vector<std::string> sizes = kiv_test::Probe(es, "packet=size");
    ASSERT_FALSE(sizes.empty());
    ASSERT_EQ(items.size(), sizes.size() + 1);
    uint64_t total = 0;
    for (size_t i = 0; i < sizes.size(); ++i) {
        EXPECT_EQ(std::to_string(items[i].size), sizes[i]) << "picture " << i;
        total += items[i].size;
    }
    EXPECT_EQ(total, TempDir::Read(es).size());
    EXPECT_EQ(items.front().type, 1u);
    EXPECT_EQ(items.front().pts, startPts);
    EXPECT_EQ(items.back().type, 255u);
}

class Mpeg2Conformance : public ::testing::TestWithParam<std::string> {};

TEST_P(Mpeg2Conformance, ItemsMatchFfprobePackets) {
    if (!kiv_test::HaveFfmpeg()) GTEST_SKIP() << "ffmpeg or ffprobe is not installed";
    TempDir dir;
    ASSERT_TRUE(kiv_test::Encode("-f lavfi -i " + GetParam() + " -c:v mpeg2video -b:v 2M -bf 2 -f mpeg2video",
                                 dir.File("clip.m2v")));
    ExpectMatchesProbe(dir.File("clip.m2v"), dir.File("clip.kiv"), 54000);
}

INSTANTIATE_TEST_SUITE_P(Encoders, Mpeg2Conformance,
                         ::testing::Values("testsrc=size=720x480:rate=24000/1001:duration=2 -g 12",
                                           "testsrc=size=720x480:rate=30000/1001:duration=2 -g 15 -flags "
                                           "+ilme+ildct -top 1"));

TEST(Mpeg2Sample, BundledStreamIndexesWholeLength) {
    if (!kiv_test::HaveFfmpeg()) GTEST_SKIP() << "ffmpeg or ffprobe is not installed";
    const char* source = std::getenv("KIV_SOURCE_DIR");
    TempDir dir;
    ExpectMatchesProbe(std::string(source == nullptr ? "." : source) + "/samples/testsrc_480p_23.976.m2v",
                       dir.File("s.kiv"), 0);
}

}  // namespace
