// DTS core streams from ffmpeg's dca encoder, made at test time, against ffprobe's packet list.
#include <gtest/gtest.h>

#include <sstream>

#include "es/audio/dts/CDtsHDEs.h"
#include "support/KivReader.h"
#include "support/ProcessRunner.h"

namespace kiv_test {
namespace {

std::string Shell(const std::string& command) { return RunProcess("/bin/sh", {"-c", command}).out; }

// Sample rate, channel layout, then AMODE, SFREQ and LFF that ffmpeg writes for them.
class DtsConformanceTest : public ::testing::TestWithParam<std::tuple<int, const char*, int, int, int>> {};

TEST_P(DtsConformanceTest, ItemsMatchFfprobePackets) {
    if (Shell("command -v ffmpeg && command -v ffprobe").empty()) GTEST_SKIP() << "ffmpeg or ffprobe is not installed";
    const auto [rate, layout, amode, sfreq, lff] = GetParam();
    TempDir dir;
    const std::string es = dir.File("clip.dts"), kiv = dir.File("clip.kiv");
    Shell("ffmpeg -nostdin -loglevel error -f lavfi -i sine=frequency=997:sample_rate=" + std::to_string(rate) +
          ":duration=0.6 -af aformat=channel_layouts=" + layout + " -c:a dca -strict -2 -f dts " + es);
    ts_comp::es::CDtsHDEs analyser{PRIVATE_LIBRARY::CL_CString(es.c_str())};
    ASSERT_TRUE(analyser.CreateKiv(kiv.c_str(), {0}));
    const std::vector<KivItem> items = ReadKiv(kiv).items;
    std::istringstream packets(Shell("ffprobe -v error -show_entries packet=pts,size -of csv=p=0 " + es));
    uint64_t i = 0, total = 0;
    for (std::string line; std::getline(packets, line); ++i) {
        ASSERT_LT(i + 1, items.size());
        const uint64_t pts = rate == 48000 ? std::stoull(line) : 960 * i;  // ffprobe steps 1044 or 1045 at 44.1 kHz
        EXPECT_EQ(items[i], (KivItem{0, std::stoull(line.substr(line.find(',') + 1)), pts, 960 * i})) << i;
        total += items[i].size;
    }
    EXPECT_GT(i, 20u);
    EXPECT_EQ(items.size(), i + 1);
    EXPECT_EQ(items.back(), (KivItem{255, 0, 0, 960 * i}));
    EXPECT_EQ(total, TempDir::Read(es).size());
    const auto& a = analyser.GetAttributes();
    EXPECT_EQ(std::vector<int>({a.core, a.AMODE, a.SFREQ, a.LFF, a.extension_substream_flag}),
              std::vector<int>({1, amode, sfreq, lff, 0}));
}

INSTANTIATE_TEST_SUITE_P(Encoders, DtsConformanceTest,
                         ::testing::Values(std::make_tuple(48000, "stereo", 2, 13, 0),
                                           std::make_tuple(48000, "5.1", 9, 13, 2),
                                           std::make_tuple(44100, "mono", 0, 8, 0)));

}  // namespace
}  // namespace kiv_test
