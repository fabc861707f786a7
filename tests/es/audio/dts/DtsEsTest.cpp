// CDtsHDEs: the channel check, the report, and positions past 4 GiB.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "KivCreator.h"
#include "es/audio/dts/CDtsHDEs.h"
#include "support/DtsBuilder.h"
#include "support/KivReader.h"
#include "support/RecordingNotice.h"

using namespace kiv_test;
using PRIVATE_LIBRARY::CL_CString;
using ts_comp::es::CDtsHDEs;

namespace {

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
    return RepeatUnits({f.Build()}, 2);
}

#define SEP "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
#define CORE(amode, lff) "[Legacy Core] : EXIST\r\n[amode] : " amode "\r\n[sfreq] : 13\r\n[EXT_AUDIO] : 0\r\n[LFF] : " lff "\r\n"
#define EXT(n) "[Extension Substream] : EXIST\r\n[Extension Substream Sync] : 41A29547\r\n[nTotalNumCHs] : " n \
               "\r\n[nMaxSampleRate] : 12\r\n[nuSpkrActivityMask] : 79\r\n"
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
        TextCase{"fiveOneCoreEightChannels", RepeatUnits({DtsCore(), DtsExt()}, 2), CORE("9", "1") EXT("8")},
        TextCase{"richHeader", RepeatUnits({DtsCore(), DtsExt([](DtsExtensionSubstream& s) { s.rich = true; })}, 1),
                 CORE("9", "1") EXT("8")},
        TextCase{"stereoCoreEightChannels", RepeatUnits({DtsCore(2, 0), DtsExt()}, 1), CORE("2", "0") EXT("8")},
        TextCase{"reservedAmode", RepeatUnits({DtsCore(15, 0)}, 2), CORE("15   <--- error", "0") NO_EXT INVALID},
        TextCase{"overSevenOne", RepeatUnits({DtsExt(1000, 0, 2, 72)}, 2), "[Legacy Core] : NO EXIST\r\n" EXT("72") OVER},
        TextCase{"justBelowBanner", RepeatUnits({DtsExt(1000, 0, 2, 71)}, 2), "[Legacy Core] : NO EXIST\r\n" EXT("71")},
        TextCase{"monoCoreOverSevenOne", RepeatUnits({DtsCore(0, 0), DtsExt(1000, 0, 2, 80)}, 1),
                 CORE("0", "0") EXT("80") INVALID OVER}),
    [](const auto& info) { return std::string(info.param.name); });

// A sparse stream: 4097 extension substreams of 1 MiB, then past 4 GiB a core frame, one stray byte, a core frame.
TEST(DtsLargeFileTest, PositionsPastFourGiB) {
    TempDir dir;
    const std::string es = dir.File("big.dts"), kiv = dir.File("big.kiv");
    const int fd = ::open(es.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    const std::vector<uint8_t> head = DtsExt([](DtsExtensionSubstream& s) { s.headerSizeType = 1, s.bytes = 1u << 20; });
    for (off_t k = 0; k < 4097; ++k) ASSERT_EQ(::pwrite(fd, head.data(), 64, k << 20), 64);
    const std::vector<uint8_t> tail = JoinUnits({DtsCore(), {0x11}, DtsCore()});
    ASSERT_EQ(::pwrite(fd, tail.data(), tail.size(), off_t{4097} << 20), ssize_t(tail.size()));
    ::close(fd);
    RecordingNotice notice;
    kiv_comp::CKivCreator creator;
    EXPECT_FALSE(creator.CreateKiv(kiv_comp::CKivCreator::ES_TYPE_DTS, es.c_str(), kiv.c_str(), {0}, &notice));
    EXPECT_STREQ(creator.GetLastErrorMessage(), "\nStuffnig bits exist. (pos = 4296017885[byte])");
    const std::vector<KivItem> items = ReadKiv(kiv).items;
    ASSERT_EQ(items.size(), 4098u);
    EXPECT_EQ(items[4096], (KivItem{1, 1048576, 3932160, 3932160}));
    EXPECT_EQ(items[4097], (KivItem{0, 2013, 0, 0}));
    EXPECT_EQ(notice.progress.back(), 4296017885);
    EXPECT_EQ(notice.totals.back(), 4296019899);
}

}  // namespace
