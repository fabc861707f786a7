// Streams encoded by ffmpeg at test time and the bundled sample, through the exported creator,
// checked against ffprobe's packet list.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "KivCreator.h"
#include "kiv/CVideoKiv.h"
#include "kiv/CVideoKivItem.h"
#include "kiv/KivConstants.h"
#include "support/TempDir.h"

namespace {

using kiv_comp::CKivCreator;
using kiv_test::TempDir;

struct KivRow {
    uint64_t type;
    uint64_t size;
    uint64_t pts;
};

bool HaveTool(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::vector<uint64_t> ProbeSizes(const std::string& path) {
    const std::string command =
        "ffprobe -v error -show_packets -show_entries packet=size -of csv=p=0 '" + path + "'";
    std::vector<uint64_t> sizes;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return sizes;
    unsigned long long size = 0;
    while (std::fscanf(pipe, "%llu", &size) == 1) sizes.push_back(size);
    pclose(pipe);
    return sizes;
}

std::vector<KivRow> Index(const std::string& es, const std::string& kiv, uint32_t startPts) {
    CKivCreator creator;
    EXPECT_TRUE(creator.CreateKiv(CKivCreator::ES_TYPE_MPEG2_VIDEO, es.c_str(), kiv.c_str(), {startPts}, nullptr))
        << creator.GetLastErrorMessage();
    ts_comp::kiv::CVideoKiv reader;
    EXPECT_TRUE(reader.Open(kiv.c_str()));
    std::vector<KivRow> rows;
    for (int64_t i = 0, n = reader.GetItemCount(); i < n; ++i) {
        ts_comp::kiv::CVideoKivItem item;
        reader.ReadItem(item);
        rows.push_back({item.GetValue(ts_comp::kiv::kIdEncItemType), item.GetValue(ts_comp::kiv::kIdEncItemSize),
                        item.GetValue(ts_comp::kiv::kIdPts)});
    }
    return rows;
}

// ffprobe's MPEG video parser also cuts at each picture start code and counts the headers in front of a
// picture and the trailing sequence end code in the neighbouring picture, so both lists agree here.
void ExpectMatchesProbe(const std::string& es, const std::vector<KivRow>& rows, uint32_t startPts) {
    const std::vector<uint64_t> sizes = ProbeSizes(es);
    ASSERT_FALSE(sizes.empty());
    ASSERT_EQ(rows.size(), sizes.size() + 1);
    uint64_t total = 0;
    for (size_t i = 0; i < sizes.size(); ++i) {
        EXPECT_EQ(rows[i].size, sizes[i]) << "picture " << i;
        total += rows[i].size;
    }
    FILE* f = std::fopen(es.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 0, SEEK_END);
    EXPECT_EQ(total, static_cast<uint64_t>(std::ftell(f)));
    std::fclose(f);
    EXPECT_EQ(rows.front().type, 1u);
    EXPECT_EQ(rows.front().pts, startPts);
    EXPECT_EQ(rows.back().type, 255u);
    EXPECT_EQ(rows.back().size, 0u);
}

struct EncodeCase {
    const char* name;
    const char* options;
};

class Mpeg2Conformance : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(Mpeg2Conformance, ItemsMatchFfprobePackets) {
    if (!HaveTool("ffmpeg") || !HaveTool("ffprobe")) GTEST_SKIP() << "ffmpeg or ffprobe is not installed";
    TempDir dir;
    const std::string es = dir.File("clip.m2v");
    const std::string command = std::string("ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i ") +
                                GetParam().options + " -f mpeg2video '" + es + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const uint32_t start = 54000;
    ExpectMatchesProbe(es, Index(es, dir.File("clip.kiv"), start), start);
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, Mpeg2Conformance,
    ::testing::Values(
        EncodeCase{"ProgressiveWithB",
                   "'testsrc=size=720x480:rate=24000/1001:duration=2' -c:v mpeg2video -g 12 -bf 2 -b:v 2M"},
        EncodeCase{"Interlaced",
                   "'testsrc=size=720x480:rate=30000/1001:duration=2' -c:v mpeg2video -g 15 -bf 2 "
                   "-flags +ilme+ildct -top 1 -b:v 2M"}),
    [](const ::testing::TestParamInfo<EncodeCase>& info) { return std::string(info.param.name); });

TEST(Mpeg2Sample, BundledStreamIndexesWholeLength) {
    if (!HaveTool("ffprobe")) GTEST_SKIP() << "ffprobe is not installed";
    const char* source = std::getenv("KIV_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const std::string es = std::string(source) + "/samples/testsrc_480p_23.976.m2v";
    TempDir dir;
    ExpectMatchesProbe(es, Index(es, dir.File("s.kiv"), 0), 0);
}

}  // namespace
