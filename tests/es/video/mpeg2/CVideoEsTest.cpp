// Time stamps, flags and texts of the MPEG-2 video analyser on synthesised streams.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "es/video/mpeg2/CVideoEs.h"
#include "foundation/CTsMuxException.h"
#include "support/KivReader.h"
#include "support/Mpeg2Builder.h"
#include "support/TempDir.h"

namespace {

using namespace ts_comp;
using kiv_test::Mpeg2Builder;
using kiv_test::TempDir;
using PRIVATE_LIBRARY::CL_CString;

using kiv_test::KivItem;

// Items of the KIV file with their sizes checked (they cover the stream, the end item none) and zeroed.
std::vector<KivItem> ReadItems(const std::string& path, size_t streamSize) {
    std::vector<KivItem> items = kiv_test::ReadKiv(path).items;
    uint64_t total = 0;
    for (KivItem& i : items) total += std::exchange(i.size, 0);
    EXPECT_EQ(total, streamSize);
    return items;
}

struct TimingCase {
    const char* name;
    std::vector<uint8_t> stream;
    std::vector<uint64_t> startPts;
    std::vector<KivItem> expected;  // sizes 0
};

std::vector<uint8_t> Progressive() {
    return Mpeg2Builder().Sequence(1080, 1, 1).Gop(1).Picture(1).Picture(2).Picture(3).Picture(3).Bytes();
}
// I with rff+tff, P, B with rff only, B with rff+tff.
std::vector<uint8_t> PullDown() {
    return Mpeg2Builder().Sequence(1080, 1, 1).Gop(0).Picture(1, 3, 1, 1).Picture(2).Picture(3, 3, 0, 1)
        .Picture(3, 3, 1, 1).Bytes();
}
std::vector<uint8_t> InterlacedFrames() {
    return Mpeg2Builder().Sequence(1080, 4, 0).Gop(1).Picture(1).Picture(2).Picture(3).Bytes();
}
std::vector<uint8_t> FieldPairs() {
    return Mpeg2Builder().Sequence(1080, 4, 0).Gop(1).Picture(1, 1).Picture(2, 2).Picture(2, 1).Picture(2, 2)
        .Picture(3, 1).Picture(3, 2).Bytes();
}
std::vector<uint8_t> TwoSequences() {
    return Mpeg2Builder().Sequence(1080, 1, 1).Gop(1).Picture(1).Picture(2).SequenceEnd().Sequence(1080, 1, 1)
        .Gop(1).Picture(1).Picture(2).Bytes();
}

// An I and a P frame picture at another frame rate.
std::vector<uint8_t> IP(uint8_t frameRateCode, uint8_t progressive) {
    return Mpeg2Builder().Sequence(1080, frameRateCode, progressive).Gop(1).Picture(1, 3, 0, 0, 99).Picture(2).Bytes();
}
// Pictures without a picture coding extension (structure 0) are neither frames nor fields of a pair.
std::vector<uint8_t> NoCodingExtension() {
    Mpeg2Builder b;
    b.Sequence(1080, 4, 1).Gop(1);
    for (uint8_t type : {1, 2, 3, 2}) b.PictureHeader(type).Slice(40);
    return b.Bytes();
}
// Picture type 5 is reserved: not a reference picture.
std::vector<uint8_t> ReservedPictureType() {
    return Mpeg2Builder().Sequence(1080, 4, 1).Gop(1).Picture(1).Picture(5).Picture(2).Picture(5).Bytes();
}

class VideoEsTiming : public ::testing::TestWithParam<TimingCase> {};

TEST_P(VideoEsTiming, ItemsCarryTheExpectedTimes) {
    const TimingCase& c = GetParam();
    TempDir dir;
    es::CVideoEs analyser{CL_CString(dir.Write("a.m2v", c.stream).c_str())};
    ASSERT_TRUE(analyser.CreateKiv(dir.File("a.kiv").c_str(), c.startPts));
    EXPECT_EQ(ReadItems(dir.File("a.kiv"), c.stream.size()), c.expected);
}

// 23.976 Hz frame period 1126125 ticks, 29.97 Hz field period 450450 ticks; start PTS 90000.
INSTANTIATE_TEST_SUITE_P(
    Streams, VideoEsTiming,
    ::testing::Values(
        TimingCase{"Progressive23976",
                   Progressive(),
                   {90000},
                   {{1, 0, 86246, 90000, 0, 1, 0},
                    {2, 0, 90000, 101261, 0, 0, 0},
                    {3, 0, 93753, 93753, 0, 0, 0},
                    {3, 0, 97507, 97507, 0, 0, 0},
                    {255, 0, 0, 105015, 0, 0, 0}}},
        TimingCase{"PullDown",
                   PullDown(),
                   {90000},
                   {{1, 0, 86246, 90000, 0, 0, 0},
                    {2, 0, 90000, 120030, 0, 0, 0},
                    {3, 0, 101261, 101261, 0, 0, 0},
                    {3, 0, 108768, 108768, 0, 0, 0},
                    {255, 0, 0, 131291, 0, 0, 0}}},
        TimingCase{"InterlacedFrames",
                   InterlacedFrames(),
                   {90000},
                   {{1, 0, 86997, 90000, 0, 1, 0},
                    {2, 0, 90000, 96006, 0, 0, 0},
                    {3, 0, 93003, 93003, 0, 0, 0},
                    {255, 0, 0, 99009, 0, 0, 0}}},
        TimingCase{"FieldPairs",
                   FieldPairs(),
                   {90000},
                   {{1, 0, 86997, 90000, 0, 1, 1},
                    {2, 0, 88498, 91501, 0, 0, 2},
                    {2, 0, 90000, 96006, 0, 0, 1},
                    {2, 0, 91501, 97507, 0, 0, 2},
                    {3, 0, 93003, 93003, 0, 0, 1},
                    {3, 0, 94504, 94504, 0, 0, 2},
                    {255, 0, 0, 99009, 0, 0, 0}}},
        TimingCase{"TwoSequencesTwoStarts",
                   TwoSequences(),
                   {90000, 900000},
                   {{1, 0, 86246, 90000, 0, 1, 0},
                    {2, 0, 90000, 93753, 1, 0, 0},
                    {1, 0, 896246, 900000, 0, 1, 0},
                    {2, 0, 900000, 903753, 0, 0, 0},
                    {255, 0, 0, 907507, 0, 0, 0}}},
        TimingCase{"Progressive60", IP(8, 1), {90000}, {{1, 0, 88500, 90000, 0, 1, 0}, {2, 0, 90000, 91500}, {255, 0, 0, 93000}}},
        TimingCase{"Interlaced25", IP(3, 0), {90000}, {{1, 0, 86400, 90000, 0, 1, 0}, {2, 0, 90000, 93600}, {255, 0, 0, 97200}}},
        TimingCase{"NoCodingExtension",
                   NoCodingExtension(),
                   {90000},
                   {{1, 0, 77988, 90000, 0, 1, 2},
                    {2, 0, 80991, 93003, 0, 0, 2},
                    {3, 0, 83994, 83994, 0, 0, 2},
                    {2, 0, 86997, 86997, 0, 0, 2},
                    {255, 0, 0, 96006, 0, 0, 0}}},
        TimingCase{"ReservedPictureType",
                   ReservedPictureType(),
                   {90000},
                   {{1, 0, 83994, 90000, 0, 1, 0},
                    {5, 0, 86997, 86997, 0, 0, 0},
                    {2, 0, 90000, 96006, 0, 0, 0},
                    {5, 0, 93003, 93003, 0, 0, 0},
                    {255, 0, 0, 99009, 0, 0, 0}}},
        // With a single start PTS the second sequence keeps the first offset.
        TimingCase{"TwoSequencesOneStart",
                   TwoSequences(),
                   {90000},
                   {{1, 0, 86246, 90000, 0, 1, 0},
                    {2, 0, 90000, 93753, 1, 0, 0},
                    {1, 0, 93753, 97507, 0, 1, 0},
                    {2, 0, 97507, 101261, 0, 0, 0},
                    {255, 0, 0, 105015, 0, 0, 0}}}),
    [](const ::testing::TestParamInfo<TimingCase>& info) { return std::string(info.param.name); });

struct FailureCase {
    const char* name;
    std::vector<uint8_t> stream;
    const char* message;
};

std::vector<uint8_t> Padded(std::vector<uint8_t> bytes, size_t size) {
    bytes.resize(size, 0x5A);
    return bytes;
}

class VideoEsConstructor : public ::testing::TestWithParam<FailureCase> {};

TEST_P(VideoEsConstructor, Throws) {
    TempDir dir;
    const std::string es = dir.Write("bad.m2v", GetParam().stream);
    try {
        es::CVideoEs analyser{CL_CString(es.c_str())};
        FAIL() << "no exception";
    } catch (const CTsMuxException& e) {
        EXPECT_STREQ(e.GetDetail(), GetParam().message);
        EXPECT_EQ(e.GetErrorCode(), 15);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Heads, VideoEsConstructor,
    ::testing::Values(
        FailureCase{"Short", Padded(Mpeg2Builder().Sequence(1080, 4, 0).Bytes(), 191), "The es file is short."},
        FailureCase{"LeadingZero", Padded(Mpeg2Builder().Raw({0}).Sequence(1080, 4, 0).Bytes(), 400),
                    "The es attribute is invalid.(parse error)"},
        FailureCase{"NoExtension", Padded(Mpeg2Builder().SequenceHeader(1920, 1080, 3, 4).Bytes(), 400),
                    "The es attribute is invalid.(parse error)"},
        FailureCase{"ExtensionTooLate",
                    Padded(Mpeg2Builder().SequenceHeader(1920, 1080, 3, 4).Slice(150).SequenceExtension(0x48, 0).Bytes(),
                           400),
                    "The es attribute is invalid.(parse error)"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

std::unique_ptr<es::CVideoEs> Analyse(TempDir& dir, std::vector<uint8_t> bytes) {
    return std::make_unique<es::CVideoEs>(CL_CString(dir.Write("t.m2v", bytes).c_str()));
}

TEST(VideoEsTexts, InterlacedSevenTwentyLinesReport) {
    TempDir dir;
    auto a = Analyse(dir, Mpeg2Builder().Sequence(720, 4, 0, 3, 0x44).Picture(1).Picture(2).Picture(2).Bytes());
    CL_CString report;
    a->GetReportText(report);
    EXPECT_STREQ(report.GetString(),
                 "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
                 "combinations of parameters for video_format is invalid.\r\n"
                 "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
                 "[horizontal_size] : 1920\r\n[vertical_size] : 720\r\n[aspect_ratio] : 3\r\n"
                 "[frame_rate] : 4\r\n[bit_rate] : 20000\r\n[vbv_buffer_size] : 112\r\n[profile] : 4\r\n"
                 "[level] : 4\r\n[progressive_sequence] : 0\r\n");
}

TEST(VideoEsTexts, AspectZeroReportsBothBanners) {
    TempDir dir;
    auto a = Analyse(dir, Mpeg2Builder().Sequence(1000, 4, 1, 0).Picture(1).Picture(2).Picture(2).Bytes());
    CL_CString report;
    a->GetReportText(report);
    EXPECT_EQ(std::string(report.GetString()).rfind(
                  "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
                  "combinations of parameters for video_format is invalid.\r\n"
                  "combinations of parameters for aspect_ratio is invalid.\r\n"
                  "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n[horizontal_size] : 1920\r\n",
                  0),
              0u);
}

TEST(VideoEsTexts, ProfileLevelAndVideoFormatCodes) {
    struct Row {
        uint16_t height;
        uint8_t progressive;
        uint8_t profileAndLevel;
        int videoFormat;
        int code;
    };
    const Row rows[] = {{480, 0, 0x48, 1, 0}, {480, 1, 0x44, 3, 1}, {576, 0, 0x46, 2, 2}, {576, 1, 0x4A, 7, 3},
                        {720, 1, 0x58, 5, 3}, {1088, 0, 0x14, 4, 3}, {1080, 1, 0x48, 6, 0}, {1000, 0, 0x48, 0, 0}};
    for (const Row& r : rows) {
        TempDir dir;
        auto a = Analyse(dir, Mpeg2Builder()
                                  .Sequence(r.height, 4, r.progressive, 2, r.profileAndLevel)
                                  .Picture(1)
                                  .Picture(2)
                                  .Picture(2)
                                  .Bytes());
        EXPECT_EQ(a->GetProfileAndLevelIndication(), r.code) << r.height;
        CL_CString xml;
        a->GetXmlText(xml);
        const std::string expected = "<video_format>" + std::to_string(r.videoFormat) + "</video_format>";
        EXPECT_NE(std::string(xml.GetString()).find(expected), std::string::npos) << r.height;
    }
}

TEST(VideoEsCreate, KivThatCannotBeCreatedFails) {
    TempDir dir;
    auto a = Analyse(dir, Progressive());
    EXPECT_FALSE(a->CreateKiv(dir.File("missing/dir/a.kiv").c_str(), {0}));
}

}  // namespace
