// DTS core streams from ffmpeg's dca encoder, made at test time, against ffprobe's packet list.
#include <gtest/gtest.h>

#include <sstream>

#include "es/audio/dts/CDtsHDEs.h"
#include "support/KivReader.h"
#include "support/ProcessRunner.h"

using namespace kiv_test;

namespace {

// Output of a shell command line, empty when it failed.
std::string Shell(const std::string& command) {
    const ProcessRun run = RunProcess("/bin/sh", {"-c", command});
    return run.status == 0 ? run.out : std::string();
}

struct EncodeCase {
    const char* name;
    int rate;
    const char* layout;
    int amode, sfreq, lff;
};

class DtsConformanceTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(DtsConformanceTest, ItemsMatchFfprobePackets) {
    if (Shell("command -v ffmpeg && command -v ffprobe").empty()) GTEST_SKIP() << "ffmpeg or ffprobe is not installed";
    const EncodeCase& c = GetParam();
    TempDir dir;
    const std::string es = dir.File("clip.dts"), kiv = dir.File("clip.kiv");
    const std::string encode = "ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=frequency=997:sample_rate=" +
                               std::to_string(c.rate) + ":duration=0.6 -af aformat=channel_layouts=" + c.layout +
                               " -c:a dca -strict -2 -f dts '" + es + "'";
    ASSERT_EQ(RunProcess("/bin/sh", {"-c", encode}).status, 0) << encode;
    ts_comp::es::CDtsHDEs analyser{PRIVATE_LIBRARY::CL_CString(es.c_str())};
    ASSERT_TRUE(analyser.CreateKiv(kiv.c_str(), {0}));
    const std::vector<KivItem> items = ReadKiv(kiv).items;
    std::istringstream packets(Shell("ffprobe -v error -show_entries packet=pts,size -of csv=p=0 '" + es + "'"));
    size_t i = 0;
    uint64_t total = 0;
    for (std::string line; std::getline(packets, line); ++i) {
        ASSERT_LT(i + 1, items.size());
        EXPECT_EQ(items[i], (KivItem{0, std::stoull(line.substr(line.find(',') + 1)), 960 * i, 960 * i})) << i;
        if (c.rate == 48000) {
            EXPECT_EQ(std::to_string(960 * i), line.substr(0, line.find(','))) << i;
        }
        total += items[i].size;
    }
    EXPECT_GT(i, 20u);
    EXPECT_EQ(items.size(), i + 1);
    EXPECT_EQ(items.back(), (KivItem{255, 0, 0, 960 * i}));
    EXPECT_EQ(total, TempDir::Read(es).size());
    const auto& a = analyser.GetAttributes();
    EXPECT_EQ(std::vector<int>({a.core, a.AMODE, a.SFREQ, a.LFF, a.extension_substream_flag}),
              std::vector<int>({1, c.amode, c.sfreq, c.lff, 0}));
}

INSTANTIATE_TEST_SUITE_P(Encoders, DtsConformanceTest,
                         ::testing::Values(EncodeCase{"stereo48k", 48000, "stereo", 2, 13, 0},
                                           EncodeCase{"fiveOne48k", 48000, "5.1", 9, 13, 2},
                                           EncodeCase{"mono44k", 44100, "mono", 0, 8, 0},
                                           EncodeCase{"fiveOne32k", 32000, "5.1", 9, 3, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
