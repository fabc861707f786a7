// DTS streams through the exported creator: items, results and texts; the channel check, report and XML.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <sstream>
#include <string>

#include "KivCreator.h"
#include "es/audio/ac3/Ac3TestSupport.h"
#include "es/audio/dts/CDtsHDEs.h"
#include "support/DtsBuilder.h"

using namespace kiv_test;
using PRIVATE_LIBRARY::CL_CString;
using ts_comp::es::CDtsHDEs;

namespace {

std::vector<uint8_t> Core(uint32_t amode = 9, uint32_t lff = 1) {
    DtsCoreFrame f;
    f.amode = amode, f.lff = lff;
    return f.Build();
}

std::vector<uint8_t> Ext(uint32_t bytes = 1000, uint32_t durationCode = 0, uint32_t clock = 2, uint32_t channels = 8) {
    DtsExtensionSubstream s;
    s.bytes = bytes, s.durationCode = durationCode, s.refClockCode = clock, s.channels = channels;
    return s.Build();
}

std::vector<uint8_t> Ext(void (*edit)(DtsExtensionSubstream&)) {
    DtsExtensionSubstream s;
    edit(s);
    return s.Build();
}

std::vector<uint8_t> Repeat(const std::vector<std::vector<uint8_t>>& unit, int times, size_t cutTo = 0) {
    std::vector<std::vector<uint8_t>> all;
    for (int i = 0; i < times; ++i) all.insert(all.end(), unit.begin(), unit.end());
    std::vector<uint8_t> bytes = JoinUnits(all);
    if (cutTo != 0) bytes.resize(cutTo);
    return bytes;
}

// Items written as "type:size@pts" (dts = pts) and "E@pts" for the terminating item.
std::vector<AudioItem> Items(const std::string& text) {
    std::istringstream in(text);
    std::vector<AudioItem> items;
    for (std::string word; in >> word;) {
        const size_t colon = word.find(':'), at = word.find('@');
        const uint64_t pts = std::stoull(word.substr(at + 1));
        if (word[0] == 'E') items.push_back({255, 0, 0, pts, 0});
        else items.push_back({std::stoull(word.substr(0, colon)), std::stoull(word.substr(colon + 1, at)), pts, pts, 0});
    }
    return items;
}

struct ScanCase {
    const char* name;
    std::vector<uint8_t> stream;
    std::vector<uint32_t> start;
    bool result;
    const char* message;
    const char* items;
};

class DtsScanTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(DtsScanTest, ItemsResultAndMessage) {
    const ScanCase& c = GetParam();
    TempDir dir;
    const std::string es = dir.Write("a.dts", c.stream), kiv = dir.File("a.kiv");
    kiv_comp::CKivCreator creator;
    EXPECT_EQ(creator.CreateKiv(kiv_comp::CKivCreator::ES_TYPE_DTS, es.c_str(), kiv.c_str(), c.start, nullptr), c.result);
    EXPECT_STREQ(creator.GetLastErrorMessage(), c.message);
    EXPECT_EQ(ReadAudioKiv(kiv).items, Items(c.items));
}

const std::vector<uint8_t> kByte = {0x11};
const char* const kCountMessage = "\nNumber of extension frame is not equal to number of main frame. (number of main "
                                  "frame = 10, number of extension frame = 9)";
const char* const kTenNine = "0:2013@0 1:1000@0 0:2013@960 1:1000@960 0:2013@1920 1:1000@1920 0:2013@2880 1:1000@2880 "
                             "0:2013@3840 1:1000@3840 0:2013@4800 1:1000@4800 0:2013@5760 1:1000@5760 0:2013@6720 "
                             "1:1000@6720 0:2013@7680 1:1000@7680 0:2013@8640";

INSTANTIATE_TEST_SUITE_P(
    Streams, DtsScanTest,
    ::testing::Values(
        ScanCase{"coreOnly", Repeat({Core()}, 3), {90000}, true, "", "0:2013@90000 0:2013@90960 0:2013@91920 E@92880"},
        ScanCase{"pairs", Repeat({Core(), Ext()}, 2), {0, 5}, true, "", "0:2013@0 1:1000@0 0:2013@960 1:1000@960 E@1920"},
        ScanCase{"longerExtensionStep", Repeat({Core(), Ext(600, 1)}, 2), {0}, true, "",
                 "0:2013@0 1:600@0 0:2013@960 1:600@1920 E@3840"},
        ScanCase{"extensionOnly2048At48k", Repeat({Ext(500, 3)}, 2), {7}, true, "", "1:500@7 1:500@3847 E@7687"},
        ScanCase{"stepRoundsDownAt44k", Repeat({Ext(500, 0, 1)}, 2), {0}, true, "", "1:500@0 1:500@1044 E@2088"},
        ScanCase{"reservedClockKeeps960", Repeat({Ext(500, 3, 3)}, 2), {0}, true, "", "1:500@0 1:500@960 E@1920"},
        ScanCase{"headerSizeType1Rich", Repeat({Core(), Ext([](DtsExtensionSubstream& s) {
                                                   s.headerSizeType = 1, s.rich = true, s.bytes = 70000;
                                               })}, 1),
                 {0}, true, "", "0:2013@0 1:70000@0 E@960"},
        ScanCase{"noStaticFields", Repeat({Ext([](DtsExtensionSubstream& s) { s.staticFields = false; })}, 2), {0}, true,
                 "", "1:1000@0 1:1000@960 E@1920"},
        ScanCase{"bytesWithoutSyncAtEnd", JoinUnits({Core(), Core(), {1, 2, 3, 4, 5}}), {0}, true, "",
                 "0:2013@0 0:2013@960 E@1920"},
        ScanCase{"garbageByte", JoinUnits({Core(), kByte, Core()}), {0}, false,
                 "\nStuffnig bits exist. (pos = 2013[byte])", "0:2013@0"},
        ScanCase{"tenCoreNineExtension", JoinUnits({Repeat({Core(), Ext()}, 9), Core()}), {0}, false, kCountMessage,
                 kTenNine},
        ScanCase{"coreFrameCutShort", Repeat({Core()}, 2, 3000), {0}, false, "", "0:2013@0"},
        ScanCase{"coreHeaderCutOff", Repeat({Core()}, 2, 2020), {0}, false, "", "0:2013@0"},
        ScanCase{"extensionHeaderCutOff", Repeat({Core(), Ext()}, 2, 5033), {0}, false,
                 "\nThe es file ends inside an extension substream. (pos = 5026[byte])", "0:2013@0 1:1000@0 0:2013@960"},
        ScanCase{"noStartPts", Repeat({Core()}, 2), {}, false, "\nstart pts is not set.", ""},
        ScanCase{"oneCoreFrame", Repeat({Core()}, 1), {0}, false, "The es attribute is invalid.(parse error)", ""},
        ScanCase{"metadataHeader", JoinUnits({{'D', 'T', 'S', 'H', 'D', 'H', 'D', 'R'}, Core()}), {0}, false,
                 "An dtshd contains metadata.", ""},
        ScanCase{"otherPrefix", JoinUnits({{'D', 'T', 'S', 'H', 'D', 'H', 'D', 'X'}, Core()}), {0}, false,
                 "The es attribute is invalid.(parse error)", ""},
        ScanCase{"short", Repeat({Core()}, 1, 191), {0}, false, "The es file is short.", ""},
        ScanCase{"extensionCutInHead", Repeat({Core(), Ext()}, 1, 2020), {0}, false,
                 "The es attribute is invalid.(parse error)", ""}),
    [](const auto& info) { return std::string(info.param.name); });

class DtsChannelTest : public ::testing::TestWithParam<std::array<int, 6>> {};

// core, AMODE, LFF, extension, nTotalNumCHs -> result
TEST_P(DtsChannelTest, Combination) {
    const auto& c = GetParam();
    CDtsHDEs::Attributes a;
    a.core = uint8_t(c[0]), a.AMODE = uint8_t(c[1]), a.LFF = uint8_t(c[2]), a.extension_substream_flag = uint8_t(c[3]);
    a.nTotalNumCHs = uint16_t(c[4]);
    EXPECT_EQ(CDtsHDEs::CheckChannelCombination(a), c[5]);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DtsChannelTest,
    ::testing::ValuesIn(std::vector<std::array<int, 6>>{
        {0, 0, 0, 0, 0, 0},  {0, 0, 0, 1, 10, 1}, {0, 0, 0, 1, 20, 3}, {0, 0, 0, 1, 8, 6},  {0, 0, 0, 1, 40, 6},
        {0, 0, 0, 1, 266, 1}, {0, 0, 0, 1, 256, 0}, {1, 0, 0, 0, 0, 1}, {1, 2, 0, 0, 0, 3},  {1, 2, 2, 0, 0, 6},
        {1, 15, 0, 0, 0, 0}, {1, 16, 1, 0, 0, 6}, {1, 0, 3, 1, 10, 1}, {1, 4, 0, 1, 20, 3}, {1, 9, 1, 1, 8, 6},
        {1, 9, 0, 1, 20, 0}, {1, 0, 1, 1, 30, 6}, {1, 3, 0, 1, 8, 12}, {1, 3, 0, 1, 10, 0}, {1, 0, 0, 1, 2, 0}}));

struct TextCase {
    const char* name;
    std::vector<uint8_t> stream;
    const char* report;
};

class DtsTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(DtsTextTest, ReportIsAppended) {
    TempDir dir;
    CDtsHDEs analyser{CL_CString(dir.Write("a.dts", GetParam().stream).c_str())};
    CL_CString out("head\r\n");
    analyser.GetReportText(out);
    EXPECT_EQ(std::string(out.GetString()), std::string("head\r\n") + GetParam().report);
}

std::vector<uint8_t> MarkedCore(uint32_t amode, uint32_t sfreq, uint32_t id, uint32_t lff) {
    DtsCoreFrame f;
    f.amode = amode, f.sfreq = sfreq, f.extAudio = 1, f.extAudioId = id, f.lff = lff;
    return Repeat({f.Build()}, 2);
}

#define SEP "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
#define CORE(amode, lff) "[Legacy Core] : EXIST\r\n[amode] : " amode "\r\n[sfreq] : 13\r\n[EXT_AUDIO] : 0\r\n[LFF] : " lff "\r\n"
#define EXT(n) "[Extension Substream] : EXIST\r\n[Extension Substream Sync] : 41A29547\r\n[nTotalNumCHs] : " n \
               "\r\n[nMaxSampleRate] : 8\r\n[nuSpkrActivityMask] : 2123\r\n"
#define NO_EXT "[Extension Substream] : NO EXIST\r\n"
#define OVER "\r\n" SEP "An number of channels is over 7.1[ch].\r\n" SEP
#define INVALID "\r\n" SEP "combinations of channels is invalid.\r\n" SEP

INSTANTIATE_TEST_SUITE_P(
    Streams, DtsTextTest,
    ::testing::Values(
        TextCase{"markers", MarkedCore(1, 4, 3, 3),
                 "[Legacy Core] : EXIST\r\n[amode] : 1   <--- error\r\n[sfreq] : 4   <--- error\r\n[EXT_AUDIO] : 1\r\n"
                 "[EXT_AUDIO_ID] : 3   <--- error\r\n[LFF] : 3   <--- error\r\n" NO_EXT},
        TextCase{"noMarkers", MarkedCore(9, 13, 6, 2),
                 "[Legacy Core] : EXIST\r\n[amode] : 9\r\n[sfreq] : 13\r\n[EXT_AUDIO] : 1\r\n[EXT_AUDIO_ID] : 6\r\n"
                 "[LFF] : 2\r\n" NO_EXT},
        TextCase{"fiveOneCoreEightChannels", Repeat({Core(), Ext()}, 2), CORE("9", "1") EXT("8")},
        TextCase{"richHeader", Repeat({Core(), Ext([](DtsExtensionSubstream& s) { s.rich = true; })}, 1),
                 CORE("9", "1") EXT("8")},
        TextCase{"stereoCoreEightChannels", Repeat({Core(2, 0), Ext()}, 1), CORE("2", "0") EXT("8")},
        TextCase{"reservedAmode", Repeat({Core(15, 0)}, 2), CORE("15   <--- error", "0") NO_EXT INVALID},
        TextCase{"overSevenOne", Repeat({Ext(1000, 0, 2, 72)}, 2), "[Legacy Core] : NO EXIST\r\n" EXT("72") OVER},
        TextCase{"justBelowBanner", Repeat({Ext(1000, 0, 2, 71)}, 2), "[Legacy Core] : NO EXIST\r\n" EXT("71")},
        TextCase{"monoCoreOverSevenOne", Repeat({Core(0, 0), Ext(1000, 0, 2, 80)}, 1),
                 CORE("0", "0") EXT("80") INVALID OVER}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DtsXmlTest, CoreOnlyWritesTheExtensionBlockAsZeros) {
    TempDir dir;
    CDtsHDEs analyser{CL_CString(dir.Write("a.dts", Repeat({Core(2, 0)}, 2)).c_str())};
    CL_CString out("discarded");
    analyser.GetXmlText(out);
    EXPECT_STREQ(out.GetString(),
                 "<?xml version=\"1.0\" standalone=\"yes\"?>\n<DTS xmlns=\"urn:kiv:es-attribute:1.0\">\n  <parameter>\n"
                 "    <AMODE>2</AMODE>\n    <SFREQ>13</SFREQ>\n    <EXT_AUDIO>0</EXT_AUDIO>\n"
                 "    <EXT_AUDIO_ID>0</EXT_AUDIO_ID>\n    <LFF>0</LFF>\n"
                 "    <extension_substream_flag>0</extension_substream_flag>\n    <extension_parameter>\n"
                 "      <extensionSubStreamSync>00000000</extensionSubStreamSync>\n      <nTotalNumCHs>0</nTotalNumCHs>\n"
                 "      <nMaxSampleRate>0</nMaxSampleRate>\n      <nuSpkrActivityMask>0</nuSpkrActivityMask>\n"
                 "    </extension_parameter>\n  </parameter>\n</DTS>\n");
}

// A sparse stream: 4097 extension substreams of 1 MiB, then past 4 GiB a core frame, one stray byte, a core frame.
TEST(DtsLargeFileTest, PositionsPastFourGiB) {
    TempDir dir;
    const std::string es = dir.File("big.dts"), kiv = dir.File("big.kiv");
    const int fd = ::open(es.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    const std::vector<uint8_t> head = Ext([](DtsExtensionSubstream& s) { s.headerSizeType = 1, s.bytes = 1u << 20; });
    for (off_t k = 0; k < 4097; ++k) ASSERT_EQ(::pwrite(fd, head.data(), 64, k << 20), 64);
    const std::vector<uint8_t> tail = JoinUnits({Core(), kByte, Core()});
    ASSERT_EQ(::pwrite(fd, tail.data(), tail.size(), off_t{4097} << 20), ssize_t(tail.size()));
    ::close(fd);
    RecordingNotice notice;
    kiv_comp::CKivCreator creator;
    EXPECT_FALSE(creator.CreateKiv(kiv_comp::CKivCreator::ES_TYPE_DTS, es.c_str(), kiv.c_str(), {0}, &notice));
    EXPECT_STREQ(creator.GetLastErrorMessage(), "\nStuffnig bits exist. (pos = 4296017885[byte])");
    const std::vector<AudioItem> items = ReadAudioKiv(kiv).items;
    ASSERT_EQ(items.size(), 4098u);
    EXPECT_EQ(items[4096], (AudioItem{1, 1048576, 3932160, 3932160, 0}));
    EXPECT_EQ(items[4097], (AudioItem{0, 2013, 0, 0, 0}));
    EXPECT_EQ(notice.progress.back(), 4296017885);
    EXPECT_EQ(notice.totals.back(), 4296019899);
}

}  // namespace
