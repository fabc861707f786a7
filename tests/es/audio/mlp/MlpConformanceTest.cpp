// ffmpeg's truehd and mlp streams through the creator against ffprobe's packets: ffprobe cuts these streams
// into one packet per access unit, so packets and items match one to one.
#include <gtest/gtest.h>

#include "KivCreator.h"
#include "support/Ffprobe.h"
#include "support/KivReader.h"

using namespace kiv_test;

namespace {

class MlpConformanceTest : public ::testing::TestWithParam<std::tuple<const char*, int, int>> {};

TEST_P(MlpConformanceTest, ItemsMatchPackets) {
    if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg or ffprobe is not installed";
    const auto [codec, rate, channels] = GetParam();
    TempDir dir;
    const std::string es = dir.File("clip"), kiv = dir.File("clip.kiv");
    ASSERT_EQ(std::system(("ffmpeg -nostdin -loglevel error -f lavfi -i sine=r=" + std::to_string(rate) + ":d=0.3 -ac " +
                           std::to_string(channels) + " -c:a " + codec + " -strict -2 -f " + codec + " " + es).c_str()), 0);
    kiv_comp::CKivCreator creator;
    ASSERT_TRUE(creator.CreateKiv(kiv_comp::CKivCreator::ES_TYPE_MLP, es.c_str(), kiv.c_str(), {9000}, nullptr));
    const std::vector<KivItem> items = ReadKiv(kiv).items;
    const std::vector<uint64_t> sizes = ProbePacketSizes(es, codec);
    ASSERT_EQ(items.size(), sizes.size() + 1);
    uint64_t total = 0;
    for (size_t i = 0; i < sizes.size(); total += sizes[i++]) {
        EXPECT_EQ(items[i].size, sizes[i]) << i;
        EXPECT_EQ(items[i].pts, 9000 + 75 * i) << i;
    }
    EXPECT_EQ(items[0].type, 1u);
    EXPECT_EQ(total, TempDir::Read(es).size());
    EXPECT_EQ(items.back(), (KivItem{255, 0, 0, 9000 + 75 * sizes.size()}));
}

INSTANTIATE_TEST_SUITE_P(Encoders, MlpConformanceTest,
                         ::testing::Values(std::make_tuple("truehd", 48000, 2), std::make_tuple("truehd", 96000, 2),
                                           std::make_tuple("truehd", 48000, 6), std::make_tuple("mlp", 48000, 2)));

}  // namespace
