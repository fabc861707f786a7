// CDraEs and its frame parser: frame sizes to the next sync word, durations, cut-off and refused streams,
// the printed read-error line, the report and the XML document.
#include <gtest/gtest.h>

#include "es/audio/ac3/Ac3TestSupport.h"
#include "es/audio/dra/CDraAudioParser.h"
#include "es/audio/dra/CDraEs.h"
#include "foundation/CTsMuxException.h"
#include "support/DraBuilder.h"

using namespace kiv_test;
using PRIVATE_LIBRARY::CL_CString;

namespace {

// Frames of 64 bytes (48 kHz, 8 blocks unless changed), then `tail`; `lead` goes in front.
std::vector<uint8_t> Stream(std::vector<DraFrame> frames, std::vector<uint8_t> tail = {}, std::vector<uint8_t> lead = {}) {
    for (const DraFrame& f : frames) f.AppendTo(lead);
    lead.insert(lead.end(), tail.begin(), tail.end());
    return lead;
}
DraFrame Rate(unsigned index) { return DraFrame{0, 3, index}; }
DraFrame Sized(unsigned bytes, int numWord) {
    DraFrame f;
    f.bytes = bytes;
    f.numWord = numWord;
    return f;
}
// A sync word and filler, n bytes.
std::vector<uint8_t> SyncThen(size_t n) {
    std::vector<uint8_t> v = {0x7F, 0xFF};
    v.resize(n, 0x55);
    return v;
}

struct KivCase {
    const char* name;
    std::vector<uint8_t> stream;
    std::vector<uint64_t> start;
    const char* items;  // size/pts of each item
    const char* message = "";
    const char* printed = "";
};

class DraKivTest : public ::testing::TestWithParam<KivCase> {};

TEST_P(DraKivTest, ItemsAndMessage) {
    const KivCase& c = GetParam();
    TempDir dir;
    ts_comp::es::CDraEs es{CL_CString(dir.Write("a.dra", c.stream).c_str())};
    bool result = false;
    std::string message;
    ::testing::internal::CaptureStdout();
    try {
        result = es.CreateKiv(dir.File("a.kiv").c_str(), c.start);
        message = es.GetLastErrorMessage();
    } catch (const ts_comp::CTsMuxException& e) {
        CL_CString m;
        e.GetMessage(m);
        message = std::to_string(e.GetErrorCode()) + " " + m.GetString();
    }
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.printed);
    std::string items;
    for (const AudioItem& i : ReadAudioKiv(dir.File("a.kiv")).items) {
        EXPECT_EQ(i.dts, i.type == 255 ? 0 : i.pts);
        items += " " + (i.type == 255 ? "end" : std::to_string(i.size)) + "/" + std::to_string(i.pts);
    }
    EXPECT_EQ(items, c.items);
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(result, items.find(" end/") != std::string::npos);
}

const DraFrame k48{};

INSTANTIATE_TEST_SUITE_P(
    Streams, DraKivTest,
    ::testing::Values(
        KivCase{"at48k", Stream({k48, k48, k48, k48}), {1000}, " 64/1000 64/2920 64/4840 64/6760 end/8680"},
        KivCase{"at44k1", Stream({Rate(7), Rate(7), Rate(7), Rate(7)}), {0}, " 64/0 64/2089 64/4178 64/6267 end/8356"},
        KivCase{"strayBytes", Stream({k48, k48, k48}, {}, Stream({k48}, {0x12, 0x7F})), {0}, " 66/0 64/1920 64/3840 64/5760 end/7680"},
        KivCase{"syncInsideDeclaredLength", Stream({k48, k48, k48}, {}, Stream({Sized(20, 16)}, SyncThen(44))), {0},
                " 64/0 64/1920 64/3840 64/5760 end/7680"},
        KivCase{"lastCutShort", Stream({k48, k48, k48, Sized(40, 16)}), {0}, " 64/0 64/1920 64/3840 40/5760 end/7680"},
        KivCase{"noWordsDeclared", Stream({Sized(64, 0), k48, k48, k48}), {0}, " 64/0 64/1920 64/3840 64/5760 end/7680"},
        KivCase{"headerCutOff", Stream({k48, k48, k48}, {0x7F, 0xFF, 0x01}), {0}, " 64/0 64/1920 64/3840 end/5760", "",
                "file read error Unknown exception\n"},
        KivCase{"index15", Stream({Rate(15), Rate(15), Rate(15)}), {0}, " 64/0", "15 The es attribute is invalid.(parse error)"},
        KivCase{"twoStartPts", Stream({k48, k48, k48}), {0, 1}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DraEsTest, JunkBeforeTheFirstSyncBelongsToNoFrame) {
    TempDir dir;
    ts_comp::es::dra_audio::CDraAudioParser parser;
    ASSERT_TRUE(parser.Open(dir.Write("a.dra", Stream({k48, Sized(64, 10)}, {}, {0x7F, 0x00, 0xFF, 0x7F})).c_str()));
    std::vector<int64_t> sizes;
    while (const auto* f = parser.ParseNextFrame()) sizes.push_back(f->frameSize);
    EXPECT_EQ(sizes, (std::vector<int64_t>{64, 64}));
}

TEST(DraEsTest, RefusedHeads) {
    const std::vector<uint8_t> good = Stream({k48, k48, k48, k48});
    const std::pair<std::vector<uint8_t>, const char*> heads[] = {
        {std::vector<uint8_t>(good.begin() + 1, good.end()), "The es attribute is invalid.(parse error)"},
        {std::vector<uint8_t>(good.begin(), good.begin() + 191), "The es file is short."}};
    for (const auto& [bytes, message] : heads) {
        TempDir dir;
        try {
            ts_comp::es::CDraEs es{CL_CString(dir.Write("a.dra", bytes).c_str())};
            ADD_FAILURE() << message;
        } catch (const ts_comp::CTsMuxException& e) {
            CL_CString m;
            e.GetMessage(m);
            EXPECT_EQ(e.GetErrorCode(), 15);
            EXPECT_STREQ(m.GetString(), message);
        }
    }
}

TEST(DraEsTest, ReportAndXmlOfTheFirstHeader) {
    const std::pair<DraFrame, const char*> heads[] = {
        {DraFrame{1, 3, 10, 37, 2}, "x[nSampleRateIndex] : 10\r\n[nNumNormalCh] : 37\r\n[nNumLfeCh] : 2\r\n"},
        {DraFrame{0, 3, 9, 5, 1}, "x[nSampleRateIndex] : 9\r\n[nNumNormalCh] : 5\r\n[nNumLfeCh] : 1\r\n"}};
    for (const auto& [frame, text] : heads) {
        TempDir dir;
        ts_comp::es::CDraEs es{CL_CString(dir.Write("a.dra", Stream({frame, frame, frame, frame})).c_str())};
        CL_CString report("x"), xml;
        es.GetReportText(report);
        EXPECT_STREQ(report.GetString(), text);
        es.GetXmlText(xml);
        if (frame.extended) {
            EXPECT_STREQ(xml.GetString(),
                         "<?xml version=\"1.0\" standalone=\"yes\"?>\n<DRA xmlns=\"urn:kiv:es-attribute:1.0\">\n <parameter>\n"
                         "    <nSampleRateIndex>10</nSampleRateIndex>\n    <nNumNormalCh>37</nNumNormalCh>\n"
                         "    <nNumLfeCh>2</nNumLfeCh>\n  </parameter>\n</DRA>\n");
        }
    }
}

}  // namespace
