// The HDMV LPCM analyser on its own: head checks, KIV items, silent failures, notice calls, report and XML.
#include "es/audio/lpcm/CHdmvLpcmEs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "foundation/CTsMuxException.h"
#include "support/KivReader.h"
#include "support/LpcmBuilder.h"
#include "support/RecordingNotice.h"
#include "support/TempDir.h"

namespace {

using namespace kiv_test;
using PRIVATE_LIBRARY::CL_CString;
using ts_comp::es::CHdmvLpcmEs;
using Bytes = std::vector<uint8_t>;

class Lpcm : public ::testing::Test {
protected:
    std::unique_ptr<CHdmvLpcmEs> Open(const Bytes& bytes) {
        path = dir.Write("in.lpcm", bytes);
        return std::make_unique<CHdmvLpcmEs>(CL_CString(path.c_str()));
    }
    std::string Kiv() const { return dir.File("out.kiv"); }
    TempDir dir;
    std::string path;
};

TEST_F(Lpcm, HeadFieldsAndShortFiles) {
    for (size_t size : {0u, 4u, 191u}) {
        try {
            Open(Bytes(size, 0x11));
            ADD_FAILURE() << size << " bytes accepted";
        } catch (const ts_comp::CTsMuxException& e) {
            CL_CString message;
            e.GetErrorMessage(message);
            EXPECT_STREQ(message.GetString(), "The es file is short.");
            EXPECT_EQ(e.GetErrorCode(), 15);
            EXPECT_EQ(e.GetFileName(), path);
            EXPECT_STREQ(e.GetDetail(), "The es file is short.");
        }
    }
    const struct {
        Bytes head;  // padded to 192 bytes
        int payload, channels, frequency, bits;
    } cases[] = {{{0x00, 0xBC, 0x31, 0x40}, 188, 3, 1, 1},  {{0xAB, 0xCD, 0x9F, 0xFF}, 0xABCD, 9, 15, 3},
                 {{0x10, 0x00, 0xB5, 0xBF}, 0x1000, 11, 5, 2}, {{0xFF, 0xFF, 0x21, 0x00}, 0xFFFF, 2, 1, 0}};
    for (const auto& c : cases) {
        Bytes bytes = c.head;
        bytes.resize(192, 0xFF);
        auto es = Open(bytes);
        EXPECT_EQ(es->GetAudioDataPayloadSize(), c.payload);
        EXPECT_EQ(es->GetChannelAssignment(), c.channels);
        EXPECT_EQ(es->GetSamplingFrequency(), c.frequency);
        EXPECT_EQ(es->GetBitsPerSample(), c.bits);
    }
}

// One item per whole frame, 450 ticks apart from the start value; cut frames at the end are left out.
TEST_F(Lpcm, ItemsPerWholeFrame) {
    const uint64_t wrap = uint64_t{1} << 33;
    const struct {
        const char* name;
        Bytes stream;
        uint64_t start;
        std::vector<KivItem> items;
    } cases[] = {
        {"Three", LpcmBuilder().Frame(100).Frame(0).Frame(300).Take(), 1000,
         {{0, 104, 1000, 1000}, {0, 4, 1450, 1450}, {0, 304, 1900, 1900}, {255, 0, 0, 2350}}},
        {"CutPayload", LpcmBuilder().Frame(300).FrameCutAt(300, 299).Take(), 0, {{0, 304, 0, 0}, {255, 0, 0, 450}}},
        {"CutHeader", LpcmBuilder().Frame(200).HeaderCutAt(16, 3).Take(), 5, {{0, 204, 5, 5}, {255, 0, 0, 455}}},
        {"BareHeader", LpcmBuilder().Frame(200).HeaderCutAt(16, 4).Take(), 5, {{0, 204, 5, 5}, {255, 0, 0, 455}}},
        {"FirstFrameCut", LpcmBuilder().FrameCutAt(1000, 500).Take(), 3000, {{255, 0, 0, 3000}}},
        {"LargestPayload", LpcmBuilder().Frame(65535).Frame(1).Take(), 0,
         {{0, 65539, 0, 0}, {0, 5, 450, 450}, {255, 0, 0, 900}}},
        {"LaterCodesIgnored", LpcmBuilder().Frame(200).Codes({0, 15, 0, 63}).Frame(10).Take(), 0,
         {{0, 204, 0, 0}, {0, 14, 450, 450}, {255, 0, 0, 900}}},
        {"PtsWrapsAt33Bits", LpcmBuilder().Frame(188).Frame(188).Take(), wrap - 592,
         {{0, 192, wrap - 592, wrap - 592}, {0, 192, wrap - 142, wrap - 142}, {255, 0, 0, 308}}},
    };
    for (const auto& c : cases) {
        auto es = Open(c.stream);
        ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {c.start})) << c.name;
        EXPECT_EQ(ReadKiv(Kiv()).items, c.items) << c.name;
        ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {c.start}));
        EXPECT_EQ(ReadKiv(Kiv()).items, c.items) << c.name << ": a second run sees every frame again";
    }
    // 130 frames of 4324 bytes cross two refills of the 262144-byte buffer; a cut frame follows.
    LpcmBuilder b;
    for (int i = 0; i < 130; ++i) b.Frame(4320);
    auto es = Open(b.FrameCutAt(4320, 4319).Take());
    ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {0}));
    const std::vector<KivItem> items = ReadKiv(Kiv()).items;
    ASSERT_EQ(items.size(), 131u);
    EXPECT_EQ(items[60], (KivItem{0, 4324, 27000, 27000}));
    EXPECT_EQ(items[129], (KivItem{0, 4324, 58050, 58050}));
    EXPECT_EQ(items[130], (KivItem{255, 0, 0, 58500}));
}

// Anything but one start value, a null or unwritable path: false, no text.
TEST_F(Lpcm, SilentFailures) {
    auto es = Open(LpcmBuilder().Frame(188).Take());
    for (const std::vector<uint64_t>& starts : {std::vector<uint64_t>{}, {1000, 2000}, {0, 0, 0}}) {
        EXPECT_FALSE(es->CreateKiv(Kiv().c_str(), starts));
    }
    EXPECT_FALSE(std::filesystem::exists(Kiv()));
    EXPECT_FALSE(es->CreateKiv(nullptr, {0}));
    EXPECT_FALSE(es->CreateKiv(dir.File("no/such/out.kiv").c_str(), {0}));
    EXPECT_STREQ(es->GetLastErrorMessage(), "");
    if (!std::filesystem::exists("/dev/full")) return;
    LpcmBuilder b;
    for (int i = 0; i < 20000; ++i) b.Frame(0);  // more items than one buffer of the writer holds
    es = Open(b.Take());
    EXPECT_FALSE(es->CreateKiv("/dev/full", {0}));
    EXPECT_STREQ(es->GetLastErrorMessage(), "");
}

// Progress after each frame with the file length; an abort is seen at the next poll, with no end item.
TEST_F(Lpcm, NoticeAndAbort) {
    const Bytes stream = LpcmBuilder().Frame(100).Frame(0).Frame(300).FrameCutAt(50, 7).Take();
    auto es = Open(stream);
    RecordingNotice notice;
    es->SetNotice(&notice);
    ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {0}));
    EXPECT_EQ(notice.progress, (std::vector<int64_t>{104, 108, 412}));
    EXPECT_EQ(notice.totals, std::vector<int64_t>(3, static_cast<int64_t>(stream.size())));
    for (int abortAfter : {0, 1}) {
        RecordingNotice aborting(abortAfter);
        es = Open(stream);
        es->SetNotice(&aborting);
        EXPECT_THROW(es->CreateKiv(Kiv().c_str(), {1000}), ts_comp::CTsMuxException);
        std::vector<KivItem> expected = {{0, 104, 1000, 1000}, {0, 4, 1450, 1450}};
        expected.resize(abortAfter + 1);
        EXPECT_EQ(ReadKiv(Kiv()).items, expected) << abortAfter;
        EXPECT_EQ(aborting.progress.size(), size_t(abortAfter));
    }
}

// Codes outside the accepted sets are marked in the report (appended to the text given), never in the XML.
TEST_F(Lpcm, ReportMarksAndXmlValues) {
    const struct {
        LpcmHeaderCodes codes;
        const char* marks;  // channel, frequency, bits: 'x' marked
    } cases[] = {{{3, 1, 1, 0}, "..."}, {{2, 1, 1, 0}, "x.."}, {{11, 5, 3, 63}, "..."}, {{1, 4, 2, 0}, "..."},
                 {{0, 0, 0, 0}, "xxx"}, {{12, 6, 1, 0}, "xx."}, {{2, 3, 2, 0}, "xx."},   {{15, 15, 3, 0}, "xx."}};
    for (const auto& c : cases) {
        auto es = Open(LpcmBuilder().Codes(c.codes).Header(4320).Payload(Bytes(188, 0)).Take());
        const auto line = [&](const char* name, int value, int i) {
            return std::string(name) + " : " + std::to_string(value) + (c.marks[i] == 'x' ? "   <--- error" : "") + "\r\n";
        };
        CL_CString out("before\r\n");
        es->GetReportText(out);
        EXPECT_EQ(std::string(out.GetString()),
                  "before\r\n[audio_data_payload_size] : 4320\r\n" + line("[channel_assignment]", c.codes.channelAssignment, 0) +
                      line("[sampling_frequency]", c.codes.samplingFrequency, 1) +
                      line("[bits_per_sample]", c.codes.bitsPerSample, 2));
        es->GetXmlText(out);
        EXPECT_NE(std::string(out.GetString()).find("    <channel_assignment>" + std::to_string(c.codes.channelAssignment) +
                                                    "</channel_assignment>\n    <sampling_frequency>" +
                                                    std::to_string(c.codes.samplingFrequency) +
                                                    "</sampling_frequency>\n    <bit_per_sample>" +
                                                    std::to_string(c.codes.bitsPerSample) + "</bit_per_sample>\n  </"),
                  std::string::npos);
    }
}

}  // namespace
