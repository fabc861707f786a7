// HDMV LPCM through the exported creator: the texts a host sees and the KIV files it gets.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "KivCreator.h"
#include "support/LpcmBuilder.h"
#include "support/TempDir.h"
#include "LpcmKivExpectation.h"

namespace {

using kiv_comp::CKivCreator;
using kiv_test::AudioKivBytes;
using kiv_test::LpcmBuilder;
using kiv_test::LpcmItems;
using kiv_test::TempDir;

constexpr CKivCreator::ES_TYPE kLpcm = CKivCreator::ES_TYPE_HDMV_LPCM;

struct CreatorCase {
    const char* name;
    std::vector<uint8_t> stream;
    std::vector<uint32_t> starts;
    std::vector<uint64_t> frameSizes;  // items before the end item, from starts[0]
};

void PrintTo(const CreatorCase& c, std::ostream* os) { *os << c.name; }

class LpcmThroughCreator : public ::testing::TestWithParam<CreatorCase> {};

TEST_P(LpcmThroughCreator, WritesOneItemPerCompleteFrame) {
    const CreatorCase& c = GetParam();
    TempDir dir;
    const std::string es = dir.Write("in.lpcm", c.stream);
    const std::string kiv = dir.File("out.kiv");
    CKivCreator creator;
    ASSERT_TRUE(creator.CreateKiv(kLpcm, es.c_str(), kiv.c_str(), c.starts, nullptr))
        << creator.GetLastErrorMessage();
    EXPECT_STREQ(creator.GetLastErrorMessage(), "");
    EXPECT_EQ(TempDir::Read(kiv), AudioKivBytes(LpcmItems(c.frameSizes, c.starts[0])));
}

INSTANTIATE_TEST_SUITE_P(
    Streams, LpcmThroughCreator,
    ::testing::Values(
        CreatorCase{"SingleFrameOf192Bytes", LpcmBuilder().Frame(188).Take(), {90000}, {192}},
        CreatorCase{"ThreeFramesFrom1000", LpcmBuilder().Frame(100).Frame(0).Frame(300).Take(), {1000}, {104, 4, 304}},
        CreatorCase{"TruncatedLastFrame", LpcmBuilder().Frame(100).Frame(0).Frame(300).FrameCutAt(300, 10).Take(),
                    {1000}, {104, 4, 304}},
        // 4294967295 must arrive zero-extended: the frames count on from 2^32 - 1, not from -1.
        CreatorCase{"LargestStartValue", LpcmBuilder().Frame(188).Frame(188).Take(), {4294967295u}, {192, 192}}),
    [](const auto& info) { return std::string(info.param.name); });

struct FailureCase {
    const char* name;
    std::vector<uint8_t> stream;
    std::vector<uint32_t> starts;
    const char* kivName;  // inside the scratch folder
    const char* message;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class LpcmCreatorFailure : public ::testing::TestWithParam<FailureCase> {};

// Each failure replaces an earlier text, even with an empty one.
TEST_P(LpcmCreatorFailure, FalseWithTheHostText) {
    const FailureCase& c = GetParam();
    TempDir dir;
    const std::string es = dir.Write("in.lpcm", c.stream);
    const std::string kiv = dir.File(c.kivName);
    CKivCreator creator;
    ASSERT_FALSE(creator.CreateKiv(static_cast<CKivCreator::ES_TYPE>(0), es.c_str(), kiv.c_str(), {0}, nullptr));
    ASSERT_STREQ(creator.GetLastErrorMessage(), "unknown es type.\n");
    EXPECT_FALSE(creator.CreateKiv(kLpcm, es.c_str(), kiv.c_str(), c.starts, nullptr));
    EXPECT_STREQ(creator.GetLastErrorMessage(), c.message);
    EXPECT_FALSE(std::filesystem::exists(kiv));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, LpcmCreatorFailure,
    ::testing::Values(FailureCase{"NoStartPts", LpcmBuilder().Frame(188).Take(), {}, "out.kiv", ""},
                      FailureCase{"TwoStartPts", LpcmBuilder().Frame(188).Take(), {0, 450}, "out.kiv", ""},
                      FailureCase{"Only191Bytes", LpcmBuilder().Frame(187).Take(), {0}, "out.kiv",
                                  "The es file is short."},
                      FailureCase{"KivInMissingFolder", LpcmBuilder().Frame(188).Take(), {0}, "missing/out.kiv", ""}),
    [](const auto& info) { return std::string(info.param.name); });

class AbortingNotice : public kiv_comp::CKivNotice {
public:
    void NotifyProgress(int64_t processedBytes, int64_t totalBytes) override {
        calls.emplace_back(processedBytes, totalBytes);
        Abort();
    }
    std::vector<std::pair<int64_t, int64_t>> calls;
};

TEST(LpcmCreatorNotice, AbortAfterTheFirstFrame) {
    TempDir dir;
    const std::string es = dir.Write("in.lpcm", LpcmBuilder().Frame(100).Frame(0).Frame(300).Take());
    AbortingNotice notice;
    CKivCreator creator;
    EXPECT_FALSE(creator.CreateKiv(kLpcm, es.c_str(), dir.File("out.kiv").c_str(), {1000}, &notice));
    EXPECT_STREQ(creator.GetLastErrorMessage(), "abort end.");
    EXPECT_EQ(notice.calls, (std::vector<std::pair<int64_t, int64_t>>{{104, 412}}));
}

// The bundled sample: 50 frames of 4320 payload bytes (six channels, 24 bits, 5 ms at 48 kHz).
TEST(LpcmBundledSample, FiftyFramesOf4324Bytes) {
    const char* source = std::getenv("KIV_SOURCE_DIR");
    if (source == nullptr) GTEST_SKIP() << "KIV_SOURCE_DIR is not set";
    const std::string es = std::string(source) + "/samples/sine_48k_24bit_6ch.lpcm";
    TempDir dir;
    const std::string kiv = dir.File("sample.kiv");
    CKivCreator creator;
    ASSERT_TRUE(creator.CreateKiv(kLpcm, es.c_str(), kiv.c_str(), {90000}, nullptr));
    EXPECT_EQ(TempDir::Read(kiv), AudioKivBytes(LpcmItems(std::vector<uint64_t>(50, 4324), 90000)));
}

}  // namespace
