// The HDMV LPCM analyser on its own: head checks, KIV items, notice calls, report and XML texts.
#include "es/audio/lpcm/CHdmvLpcmEs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include "es/EsMessages.h"
#include "foundation/CL_CString.h"
#include "foundation/CTsMuxException.h"
#include "support/LpcmBuilder.h"
#include "support/TempDir.h"
#include "LpcmKivExpectation.h"

namespace {

using kiv_test::AudioKivBytes;
using kiv_test::ExpectedAudioItem;
using kiv_test::LpcmBuilder;
using kiv_test::LpcmHeaderCodes;
using kiv_test::LpcmItems;
using kiv_test::TempDir;
using PRIVATE_LIBRARY::CL_CString;
using ts_comp::CTsMuxException;
using ts_comp::es::CHdmvLpcmEs;

std::unique_ptr<CHdmvLpcmEs> Open(const std::string& path) {
    return std::make_unique<CHdmvLpcmEs>(CL_CString(path.c_str()));
}

// A stream of at least 192 bytes whose first header carries the given codes.
std::vector<uint8_t> StreamWithCodes(uint16_t payloadSize, const LpcmHeaderCodes& codes) {
    return LpcmBuilder().Codes(codes).Header(payloadSize).Payload(std::vector<uint8_t>(188, 0)).Take();
}

// --- the head of the stream -------------------------------------------------------------------

class LpcmShortStream : public ::testing::TestWithParam<size_t> {};

TEST_P(LpcmShortStream, ConstructorRefusesFilesBelow192Bytes) {
    TempDir dir;
    const std::string path = dir.Write("short.lpcm", std::vector<uint8_t>(GetParam(), 0x11));
    try {
        CHdmvLpcmEs es(CL_CString(path.c_str()));
        FAIL() << "a " << GetParam() << "-byte stream was accepted";
    } catch (CTsMuxException& e) {
        CL_CString message;
        e.GetErrorMessage(message);
        EXPECT_STREQ(message.GetString(), "The es file is short.");
        EXPECT_EQ(e.GetErrorCode(), 15);
        EXPECT_STREQ(e.GetFileName(), path.c_str());
        EXPECT_STREQ(e.GetDetail(), "The es file is short.");
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, LpcmShortStream, ::testing::Values(0u, 3u, 4u, 191u));

struct HeadCase {
    const char* name;
    std::vector<uint8_t> head;  // first bytes; the stream is padded to 192 bytes
    uint16_t payloadSize;
    uint8_t channelAssignment;
    uint8_t samplingFrequency;
    uint8_t bitsPerSample;
};

void PrintTo(const HeadCase& c, std::ostream* os) { *os << c.name; }

class LpcmHeadFields : public ::testing::TestWithParam<HeadCase> {};

TEST_P(LpcmHeadFields, TakenFromTheFirstFourBytes) {
    const HeadCase& c = GetParam();
    std::vector<uint8_t> bytes = c.head;
    bytes.resize(192, 0xFF);
    TempDir dir;
    auto es = Open(dir.Write("head.lpcm", bytes));
    EXPECT_EQ(es->GetAudioDataPayloadSize(), c.payloadSize);
    EXPECT_EQ(es->GetChannelAssignment(), c.channelAssignment);
    EXPECT_EQ(es->GetSamplingFrequency(), c.samplingFrequency);
    EXPECT_EQ(es->GetBitsPerSample(), c.bitsPerSample);
    EXPECT_STREQ(es->GetLastErrorMessage(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Headers, LpcmHeadFields,
    ::testing::Values(HeadCase{"Stereo48k16", {0x00, 0xBC, 0x31, 0x40}, 188, 3, 1, 1},
                      HeadCase{"HighByteOfSize", {0xAB, 0xCD, 0x9F, 0xFF}, 0xABCD, 9, 15, 3},
                      HeadCase{"AllZero", {0x00, 0x00, 0x00, 0x00}, 0, 0, 0, 0},
                      HeadCase{"LowBitsOfByte3Ignored", {0x10, 0x00, 0xB5, 0xBF}, 0x1000, 11, 5, 2},
                      HeadCase{"SizeLargerThanFile", {0xFF, 0xFF, 0x21, 0x00}, 0xFFFF, 2, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// --- KIV items ----------------------------------------------------------------------------------

struct KivCase {
    const char* name;
    std::vector<uint8_t> stream;
    uint64_t startPts;
    std::vector<uint64_t> frameSizes;  // items expected before the end item
};

void PrintTo(const KivCase& c, std::ostream* os) { *os << c.name; }

class LpcmKivItems : public ::testing::TestWithParam<KivCase> {};

TEST_P(LpcmKivItems, OneItemPerCompleteFrame) {
    const KivCase& c = GetParam();
    TempDir dir;
    auto es = Open(dir.Write("in.lpcm", c.stream));
    const std::string kiv = dir.File("out.kiv");
    ASSERT_TRUE(es->CreateKiv(kiv.c_str(), {c.startPts}));
    es.reset();  // the writer has closed the file already; the reader goes too
    EXPECT_EQ(TempDir::Read(kiv), AudioKivBytes(LpcmItems(c.frameSizes, c.startPts)));
}

std::vector<uint8_t> FramesCrossingTheReadBuffer() {
    LpcmBuilder b;
    for (int i = 0; i < 130; ++i) b.Frame(4320);  // 562120 bytes: two refills of 262144
    return b.Take();
}

std::vector<uint64_t> Repeat(uint64_t value, size_t count) { return std::vector<uint64_t>(count, value); }

INSTANTIATE_TEST_SUITE_P(
    Streams, LpcmKivItems,
    ::testing::Values(
        KivCase{"SingleFrameOf192Bytes", LpcmBuilder().Frame(188).Take(), 90000, {192}},
        KivCase{"ThreeFramesFrom1000", LpcmBuilder().Frame(100).Frame(0).Frame(300).Take(), 1000, {104, 4, 304}},
        KivCase{"TruncatedPayloadDropped", LpcmBuilder().Frame(300).FrameCutAt(300, 299).Take(), 0, {304}},
        KivCase{"TruncatedHeaderDropped", LpcmBuilder().Frame(200).HeaderCutAt(16, 3).Take(), 5, {204}},
        KivCase{"BareHeaderAtEndDropped", LpcmBuilder().Frame(200).HeaderCutAt(16, 4).Take(), 5, {204}},
        KivCase{"EmptyFrameAtEndKept", LpcmBuilder().Frame(200).Frame(0).Take(), 7, {204, 4}},
        KivCase{"FirstFrameCutGivesOnlyTheEndItem", LpcmBuilder().FrameCutAt(1000, 500).Take(), 3000, {}},
        KivCase{"LargestPayload", LpcmBuilder().Frame(65535).Frame(65535).Frame(1).Take(), 0, {65539, 65539, 5}},
        KivCase{"LaterHeaderCodesIgnored",
                LpcmBuilder().Frame(200).Codes({0, 15, 0, 63}).Frame(10).Codes({2, 2, 2, 0}).Frame(20).Take(), 0,
                {204, 14, 24}},
        KivCase{"PtsWrapsAt33Bits", LpcmBuilder().Frame(188).Frame(188).Take(), (uint64_t{1} << 33) - 592,
                {192, 192}},
        KivCase{"StartAbove32Bits", LpcmBuilder().Frame(188).Take(), uint64_t{1} << 32, {192}},
        KivCase{"FramesAcrossReadBuffers", FramesCrossingTheReadBuffer(), 0, Repeat(4324, 130)},
        KivCase{"CutFrameAfterReadBuffers",
                [] {
                    auto s = FramesCrossingTheReadBuffer();
                    auto tail = LpcmBuilder().FrameCutAt(4320, 4319).Take();
                    s.insert(s.end(), tail.begin(), tail.end());
                    return s;
                }(),
                0, Repeat(4324, 130)}),
    [](const auto& info) { return std::string(info.param.name); });

// Literal bytes of the single-frame case at PTS 90000: one frame item and the end item.
TEST(LpcmKivBytes, SingleFrameAt90000) {
    TempDir dir;
    auto es = Open(dir.Write("in.lpcm", LpcmBuilder().Frame(188).Take()));
    const std::string kiv = dir.File("out.kiv");
    ASSERT_TRUE(es->CreateKiv(kiv.c_str(), {90000}));
    const std::vector<uint8_t> expected = {
        0x00, 0x00, 0x00, 0x02,                                                                    // file type
        0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0xAF, 0xC8, 0x00, 0x00, 0x57, 0xE4, 0x00,  // frame
        0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x58, 0x54, 0x80,  // end
    };
    EXPECT_EQ(TempDir::Read(kiv), expected);
}

// The reader is put back where it stood, so a second run over the same object sees every frame again.
TEST(LpcmKivBytes, SecondRunGivesTheSameFile) {
    TempDir dir;
    auto es = Open(dir.Write("in.lpcm", LpcmBuilder().Frame(100).Frame(0).Frame(300).FrameCutAt(9, 2).Take()));
    const std::string first = dir.File("1.kiv");
    const std::string second = dir.File("2.kiv");
    ASSERT_TRUE(es->CreateKiv(first.c_str(), {1000}));
    ASSERT_TRUE(es->CreateKiv(second.c_str(), {1000}));
    EXPECT_EQ(TempDir::Read(second), TempDir::Read(first));
    EXPECT_EQ(TempDir::Read(first), AudioKivBytes(LpcmItems({104, 4, 304}, 1000)));
}

// --- silent failures ------------------------------------------------------------------------------

struct StartListCase {
    const char* name;
    std::vector<uint64_t> starts;
};

void PrintTo(const StartListCase& c, std::ostream* os) { *os << c.name; }

class LpcmStartList : public ::testing::TestWithParam<StartListCase> {};

TEST_P(LpcmStartList, AnythingButOneValueFailsWithoutMessageOrFile) {
    TempDir dir;
    auto es = Open(dir.Write("in.lpcm", LpcmBuilder().Frame(188).Take()));
    const std::string kiv = dir.File("out.kiv");
    EXPECT_FALSE(es->CreateKiv(kiv.c_str(), GetParam().starts));
    EXPECT_STREQ(es->GetLastErrorMessage(), "");
    EXPECT_FALSE(std::filesystem::exists(kiv));
}

INSTANTIATE_TEST_SUITE_P(Lists, LpcmStartList,
                         ::testing::Values(StartListCase{"Empty", {}}, StartListCase{"Two", {1000, 2000}},
                                           StartListCase{"Three", {0, 0, 0}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LpcmSilentFailure, NullKivPath) {
    TempDir dir;
    auto es = Open(dir.Write("in.lpcm", LpcmBuilder().Frame(188).Take()));
    EXPECT_FALSE(es->CreateKiv(nullptr, {0}));
    EXPECT_STREQ(es->GetLastErrorMessage(), "");
}

TEST(LpcmSilentFailure, KivInMissingFolder) {
    TempDir dir;
    auto es = Open(dir.Write("in.lpcm", LpcmBuilder().Frame(188).Take()));
    const std::string kiv = dir.File("no/such/folder/out.kiv");
    EXPECT_FALSE(es->CreateKiv(kiv.c_str(), {0}));
    EXPECT_STREQ(es->GetLastErrorMessage(), "");
    EXPECT_FALSE(std::filesystem::exists(kiv));
}

// /dev/full takes the writer's buffer until the first flush; the item that needs it fails.
TEST(LpcmSilentFailure, WriteFailureOnAFullDevice) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this machine";
    LpcmBuilder b;
    for (int i = 0; i < 20000; ++i) b.Frame(0);  // 20000 items: more than one 262144-byte buffer
    TempDir dir;
    auto es = Open(dir.Write("in.lpcm", b.Take()));
    EXPECT_FALSE(es->CreateKiv("/dev/full", {0}));
    EXPECT_STREQ(es->GetLastErrorMessage(), "");
}

// --- notice -------------------------------------------------------------------------------------

class RecordingNotice : public kiv_comp::CKivNotice {
public:
    MOCK_METHOD(void, NotifyProgress, (int64_t processedBytes, int64_t totalBytes), (override));
};

TEST(LpcmNotice, ProgressAfterEachFrameWithTheFileLength) {
    TempDir dir;
    const std::vector<uint8_t> stream = LpcmBuilder().Frame(100).Frame(0).Frame(300).FrameCutAt(50, 7).Take();
    auto es = Open(dir.Write("in.lpcm", stream));
    ::testing::StrictMock<RecordingNotice> notice;
    const int64_t total = static_cast<int64_t>(stream.size());
    {
        ::testing::InSequence order;
        EXPECT_CALL(notice, NotifyProgress(104, total));
        EXPECT_CALL(notice, NotifyProgress(108, total));
        EXPECT_CALL(notice, NotifyProgress(412, total));
    }
    es->SetNotice(&notice);
    EXPECT_TRUE(es->CreateKiv(dir.File("out.kiv").c_str(), {0}));
}

TEST(LpcmNotice, AbortAfterTheFirstFrame) {
    TempDir dir;
    auto es = Open(dir.Write("in.lpcm", LpcmBuilder().Frame(100).Frame(0).Frame(300).Take()));
    ::testing::StrictMock<RecordingNotice> notice;
    EXPECT_CALL(notice, NotifyProgress(104, 412)).WillOnce([&notice](int64_t, int64_t) { notice.Abort(); });
    es->SetNotice(&notice);
    const std::string kiv = dir.File("out.kiv");
    EXPECT_THROW(es->CreateKiv(kiv.c_str(), {1000}), CTsMuxException);
    // The second frame was written before the flag was seen; no end item follows.
    std::vector<ExpectedAudioItem> items = LpcmItems({104, 4}, 1000);
    items.pop_back();
    EXPECT_EQ(TempDir::Read(kiv), AudioKivBytes(items));
}

TEST(LpcmNotice, AlreadyAbortedStopsAfterTheFirstFrame) {
    TempDir dir;
    auto es = Open(dir.Write("in.lpcm", LpcmBuilder().Frame(188).Frame(0).Take()));
    ::testing::StrictMock<RecordingNotice> notice;  // NotifyProgress must not be called
    notice.Abort();
    es->SetNotice(&notice);
    const std::string kiv = dir.File("out.kiv");
    EXPECT_THROW(es->CreateKiv(kiv.c_str(), {0}), CTsMuxException);
    EXPECT_EQ(TempDir::Read(kiv), AudioKivBytes({{0, 192, 0, 0}}));
}

// --- report and XML -------------------------------------------------------------------------------

struct ReportCase {
    const char* name;
    uint16_t payloadSize;
    LpcmHeaderCodes codes;
    const char* report;
};

void PrintTo(const ReportCase& c, std::ostream* os) { *os << c.name; }

class LpcmReport : public ::testing::TestWithParam<ReportCase> {};

TEST_P(LpcmReport, MarksCodesOutsideTheAcceptedSets) {
    const ReportCase& c = GetParam();
    TempDir dir;
    auto es = Open(dir.Write("in.lpcm", StreamWithCodes(c.payloadSize, c.codes)));
    CL_CString out("before\r\n");
    es->GetReportText(out);
    EXPECT_EQ(std::string(out.GetString()), std::string("before\r\n") + c.report);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LpcmReport,
    ::testing::Values(
        ReportCase{"Accepted", 188, {3, 1, 1, 0},
                   "[audio_data_payload_size] : 188\r\n[channel_assignment] : 3\r\n"
                   "[sampling_frequency] : 1\r\n[bits_per_sample] : 1\r\n"},
        ReportCase{"ChannelTwo", 188, {2, 1, 1, 0},
                   "[audio_data_payload_size] : 188\r\n[channel_assignment] : 2   <--- error\r\n"
                   "[sampling_frequency] : 1\r\n[bits_per_sample] : 1\r\n"},
        ReportCase{"HighestAccepted", 65535, {11, 5, 3, 63},
                   "[audio_data_payload_size] : 65535\r\n[channel_assignment] : 11\r\n"
                   "[sampling_frequency] : 5\r\n[bits_per_sample] : 3\r\n"},
        ReportCase{"LowestAccepted", 0, {1, 4, 2, 0},
                   "[audio_data_payload_size] : 0\r\n[channel_assignment] : 1\r\n"
                   "[sampling_frequency] : 4\r\n[bits_per_sample] : 2\r\n"},
        ReportCase{"AllMarked", 4320, {0, 0, 0, 0},
                   "[audio_data_payload_size] : 4320\r\n[channel_assignment] : 0   <--- error\r\n"
                   "[sampling_frequency] : 0   <--- error\r\n[bits_per_sample] : 0   <--- error\r\n"},
        ReportCase{"JustAboveTheSets", 4320, {12, 6, 1, 0},
                   "[audio_data_payload_size] : 4320\r\n[channel_assignment] : 12   <--- error\r\n"
                   "[sampling_frequency] : 6   <--- error\r\n[bits_per_sample] : 1\r\n"},
        ReportCase{"GapsInTheSets", 4320, {2, 3, 2, 0},
                   "[audio_data_payload_size] : 4320\r\n[channel_assignment] : 2   <--- error\r\n"
                   "[sampling_frequency] : 3   <--- error\r\n[bits_per_sample] : 2\r\n"},
        ReportCase{"TopCodes", 4320, {15, 15, 3, 0},
                   "[audio_data_payload_size] : 4320\r\n[channel_assignment] : 15   <--- error\r\n"
                   "[sampling_frequency] : 15   <--- error\r\n[bits_per_sample] : 3\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

struct XmlCase {
    const char* name;
    LpcmHeaderCodes codes;
    std::vector<std::string> children;  // lines 4 to 6
};

void PrintTo(const XmlCase& c, std::ostream* os) { *os << c.name; }

class LpcmXml : public ::testing::TestWithParam<XmlCase> {};

TEST_P(LpcmXml, EightLinesWithExactIndentation) {
    const XmlCase& c = GetParam();
    TempDir dir;
    auto es = Open(dir.Write("in.lpcm", StreamWithCodes(188, c.codes)));
    CL_CString out("replaced");
    es->GetXmlText(out);
    const std::string text = out.GetString();
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    const std::vector<std::string> expected = {
        "<?xml version=\"1.0\" standalone=\"yes\"?>",
        std::string("<LPCM xmlns=\"") + ts_comp::es::kXmlNamespace + "\">",
        " <parameter>",
        c.children[0],
        c.children[1],
        c.children[2],
        "  </parameter>",
        "</LPCM>",
    };
    EXPECT_EQ(Lines(text), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LpcmXml,
    ::testing::Values(XmlCase{"Stereo", {3, 1, 1, 0},
                              {"    <channel_assignment>3</channel_assignment>",
                               "    <sampling_frequency>1</sampling_frequency>", "    <bit_per_sample>1</bit_per_sample>"}},
                      XmlCase{"UnacceptedCodesUnmarked", {15, 0, 0, 0},
                              {"    <channel_assignment>15</channel_assignment>",
                               "    <sampling_frequency>0</sampling_frequency>", "    <bit_per_sample>0</bit_per_sample>"}},
                      XmlCase{"SixChannels96k24", {9, 4, 3, 0},
                              {"    <channel_assignment>9</channel_assignment>",
                               "    <sampling_frequency>4</sampling_frequency>", "    <bit_per_sample>3</bit_per_sample>"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
