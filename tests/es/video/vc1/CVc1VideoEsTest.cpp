// Time stamps, flags, admission and texts of the VC-1 analyser on synthesised streams.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <string>
#include <vector>

#include "KivCreator.h"
#include "KivNotice.h"
#include "es/video/vc1/CVc1VideoEs.h"
#include "foundation/CTsMuxException.h"
#include "kiv/CVideoKiv.h"
#include "kiv/CVideoKivItem.h"
#include "kiv/KivConstants.h"
#include "support/TempDir.h"
#include "support/Vc1Builder.h"

namespace {

using namespace ts_comp;
using kiv_test::TempDir;
using kiv_test::Vc1Builder;
using kiv_test::Vc1Sequence;
using PRIVATE_LIBRARY::CL_CString;

// enc_item_type, dts, pts, closed_gop, sequence_end_code.
using Item = std::array<uint64_t, 5>;

const uint64_t kIds[] = {kiv::kIdEncItemType, kiv::kIdDts, kiv::kIdPts, kiv::kIdClosedGop, kiv::kIdSequenceEndCode};

// Items of a KIV file; the sizes are summed into total.
std::vector<Item> ReadItems(const std::string& path, uint64_t& total) {
    kiv::CVideoKiv reader;
    EXPECT_TRUE(reader.Open(path.c_str()));
    std::vector<Item> items;
    kiv::CVideoKivItem item;
    for (int64_t i = reader.GetItemCount(); i > 0 && reader.ReadItem(item); --i) {
        items.push_back({});
        for (size_t f = 0; f < 5; ++f) items.back()[f] = item.GetValue(kIds[f]);
        total += item.GetValue(kiv::kIdEncItemSize);
    }
    return items;
}

struct TimingCase {
    const char* name;
    const char* script;
    std::vector<uint64_t> starts;
    std::vector<Item> items;
};

class Vc1Timing : public ::testing::TestWithParam<TimingCase> {};

TEST_P(Vc1Timing, ItemsCoverTheFileWithTheseTimes) {
    TempDir dir;
    const std::string kiv = dir.File("a.kiv");
    const std::vector<uint8_t> stream = Vc1Builder().Script(GetParam().script).Bytes();
    es::CVc1VideoEs analyser{CL_CString(dir.Write("a.vc1", stream).c_str())};
    ASSERT_TRUE(analyser.CreateKiv(kiv.c_str(), GetParam().starts)) << analyser.GetLastErrorMessage();
    uint64_t total = 0;
    EXPECT_EQ(ReadItems(kiv, total), GetParam().items);
    EXPECT_EQ(total, stream.size());
}

// 25 Hz: a frame period is 3600 in 90 kHz units.
INSTANTIATE_TEST_SUITE_P(
    Streams, Vc1Timing,
    ::testing::Values(
        TimingCase{"FirstAnchorAtFirstStart", "H I P B P", {90000},
                   {{1, 86400, 90000, 1, 0}, {2, 90000, 97200, 0, 0}, {3, 93600, 93600, 0, 0},
                    {2, 97200, 100800, 0, 0}, {255, 0, 104400, 0, 0}}},
        TimingCase{"IWithoutHeaderUnit", "H I I", {90000},
                   {{1, 86400, 90000, 1, 0}, {4, 90000, 93600, 0, 0}, {255, 0, 97200, 0, 0}}},
        TimingCase{"RepeatedFrameCountsFourFields", "Hp I1 P0", {90000},
                   {{1, 86400, 90000, 1, 0}, {2, 90000, 97200, 0, 0}, {255, 0, 100800, 0, 0}}},
        TimingCase{"RepeatedFieldCountsThree", "Hip I1 P", {90000},
                   {{1, 86400, 90000, 1, 0}, {2, 90000, 95400, 0, 0}, {255, 0, 99000, 0, 0}}},
        TimingCase{"OnePicture", "H I", {90000}, {{1, 86400, 90000, 1, 0}, {255, 0, 93600, 0, 0}}},
        TimingCase{"RebasedAfterEndOfSequence", "H I P E H I P", {90000, 900000},
                   {{1, 86400, 90000, 1, 0}, {2, 896400, 900000, 0, 1}, {1, 900000, 903600, 1, 0},
                    {2, 903600, 907200, 0, 0}, {255, 0, 910800, 0, 0}}},
        TimingCase{"StartListExhausted", "H I P E H I P", {90000},
                   {{1, 86400, 90000, 1, 0}, {2, 90000, 93600, 0, 1}, {1, 93600, 97200, 1, 0},
                    {2, 97200, 100800, 0, 0}, {255, 0, 104400, 0, 0}}}),
    [](const ::testing::TestParamInfo<TimingCase>& info) { return std::string(info.param.name); });

TEST(Vc1Admission, RefusedStreamsWriteNothingAndKeepTheLastMessage) {
    const char* rows[][2] = {{"Hr I", "Frame rate does not calculate."},
                             {"H1 I", "A profile is not Advanced profile."},
                             {"H1n I", "Frame rate does not calculate."}};
    for (const auto& row : rows) {
        TempDir dir;
        es::CVc1VideoEs analyser{CL_CString(dir.Write("a.vc1", Vc1Builder().Script(row[0]).Bytes()).c_str())};
        EXPECT_FALSE(analyser.CreateKiv(dir.File("a.kiv").c_str(), {0}));
        EXPECT_STREQ(analyser.GetLastErrorMessage(), row[1]);
        EXPECT_FALSE(std::ifstream(dir.File("a.kiv")).good());
    }
}

TEST(Vc1Admission, FirstUnitWithoutSequenceHeaderIsRefusedAtConstruction) {
    TempDir dir;
    const std::string es = dir.Write("a.vc1", Vc1Builder().Script("U H I").Bytes());
    try {
        es::CVc1VideoEs analyser{CL_CString(es.c_str())};
        FAIL() << "no exception";
    } catch (const CTsMuxException& e) {
        EXPECT_EQ(e.GetErrorCode(), 15);
        EXPECT_STREQ(e.GetDetail(), "The es attribute is invalid.(parse error)");
    }
}

Vc1Sequence Display(uint16_t width, uint16_t height, uint8_t interlace, uint8_t aspect, uint8_t nr, uint8_t dr) {
    Vc1Sequence s;
    s.dispWidth = width, s.dispHeight = height, s.interlace = interlace, s.aspect = aspect;
    s.frameRateNr = nr, s.frameRateDr = dr;
    return s;
}

// The XML text (or the report) of the stream, after indexing it when kiv is true.
std::string Text(const std::vector<uint8_t>& stream, bool xml, bool kiv = false) {
    TempDir dir;
    es::CVc1VideoEs analyser{CL_CString(dir.Write("a.vc1", stream).c_str())};
    if (kiv) {
        EXPECT_TRUE(analyser.CreateKiv(dir.File("a.kiv").c_str(), {0}));
    }
    CL_CString text;
    xml ? analyser.GetXmlText(text) : analyser.GetReportText(text);
    return text.GetString();
}

TEST(Vc1Texts, XmlAfterIndexingAndReport) {
    // Six fields before the second entry point, two after it.
    const std::vector<uint8_t> stream = Vc1Builder().Head(Display(719, 479, 1, 3, 1, 2)).Script("I P B N I").Bytes();
    EXPECT_EQ(Text(stream, true, true),
              "<?xml version=\"1.0\" standalone=\"yes\"?>\n<VC1ES xmlns=\"urn:kiv:es-attribute:1.0\">\n<parameter>\n"
              "<video_format>1</video_format>\n<frame_rate>1</frame_rate>\n<aspect_ratio>2</aspect_ratio>\n"
              "<interlace>1</interlace>\n<level>3</level>\n"
              "<maximum_number_of_frames_display_in_an_EPS>3</maximum_number_of_frames_display_in_an_EPS>\n"
              "</parameter>\n</VC1ES>\n");
    EXPECT_EQ(Text(stream, false),
              "[DISP_HORIZ_SIZE] : 719\r\n[DISP_VERT_SIZE] : 479\r\n[ASPECT_RATIO] : 3\r\n[INTERLACE] : 1\r\n"
              "[FRAME_RATE] :  23.976\r\n[level] : 3\r\n");
    EXPECT_EQ(Text(Vc1Builder().Script("Hd I").Bytes(), false),
              "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
              "combinations of parameters for video_format is invalid.\r\n"
              "combinations of parameters for aspect_ratio is invalid.\r\n"
              "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
              "[DISP_HORIZ_SIZE] : no exist\r\n[DISP_VERT_SIZE] : no exist\r\n[ASPECT_RATIO] : no exist\r\n"
              "[INTERLACE] : 0\r\n[FRAME_RATE] : no exist\r\n[level] : 3\r\n");
}

TEST(Vc1Texts, CodesOfFormatRateAndAspect) {
    const struct {
        Vc1Sequence s;
        const char* codes;
    } rows[] = {
        {Display(719, 575, 1, 4, 2, 1), "<video_format>2</video_format>\n<frame_rate>3</frame_rate>\n<aspect_ratio>3"},
        {Display(719, 575, 0, 2, 4, 1), "<video_format>7</video_format>\n<frame_rate>6</frame_rate>\n<aspect_ratio>2"},
        {Display(1279, 719, 0, 1, 5, 2), "<video_format>5</video_format>\n<frame_rate>7</frame_rate>\n<aspect_ratio>3"},
        {Display(1279, 719, 1, 2, 3, 2), "<video_format>0</video_format>\n<frame_rate>4</frame_rate>\n<aspect_ratio>0"},
        {Display(1919, 1079, 1, 15, 1, 1), "<video_format>4</video_format>\n<frame_rate>2</frame_rate>\n<aspect_ratio>3"},
        {Display(719, 479, 0, 5, 7, 1), "<video_format>3</video_format>\n<frame_rate>0</frame_rate>\n<aspect_ratio>3"},
        {Display(1439, 1079, 0, 1, 2, 3), "<video_format>6</video_format>\n<frame_rate>0</frame_rate>\n<aspect_ratio>0"},
    };
    for (const auto& row : rows) {
        EXPECT_NE(Text(Vc1Builder().Head(row.s).Script("I").Bytes(), true).find(row.codes), std::string::npos)
            << row.codes;
    }
}

// Asks to abort at its second report, so the third picture stops the run with "abort end.".
class AbortAtSecond : public kiv_comp::CKivNotice {
public:
    void NotifyProgress(int64_t processed, int64_t) override {
        if (m_calls++ == 0) m_first = processed;
        if (m_calls == 2) Abort();
    }
    int m_calls = 0;
    int64_t m_first = 0;
};

TEST(Vc1Creator, DispatchesAndAbortsBetweenPictures) {
    TempDir dir;
    Vc1Builder b;
    const size_t first = b.Script("H I").Size();
    AbortAtSecond notice;
    kiv_comp::CKivCreator creator;
    EXPECT_FALSE(creator.CreateKiv(kiv_comp::CKivCreator::ES_TYPE_VC1_VIDEO,
                                   dir.Write("a.vc1", b.Script("P P P").Bytes()).c_str(), dir.File("a.kiv").c_str(), {0},
                                   &notice));
    EXPECT_STREQ(creator.GetLastErrorMessage(), "abort end.");
    EXPECT_EQ(notice.m_calls, 2);
    EXPECT_EQ(notice.m_first, static_cast<int64_t>(first));
}

}  // namespace
