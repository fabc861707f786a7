// CDtsHDEs beyond the creator rows: the channel check's banner, the report's markers and banners, positions
// past 4 GiB.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "KivCreator.h"
#include "es/audio/dts/CDtsHDEs.h"
#include "support/DtsBuilder.h"
#include "support/KivReader.h"
#include "support/RecordingNotice.h"

namespace kiv_test {
namespace {

std::string Report(const std::vector<uint8_t>& stream) {
    TempDir dir;
    ts_comp::es::CDtsHDEs analyser{PRIVATE_LIBRARY::CL_CString(dir.Write("a.dts", stream).c_str())};
    PRIVATE_LIBRARY::CL_CString out("head\r\n");
    analyser.GetReportText(out);
    return out.GetString();
}

TEST(DtsEs, BannerOnlyForInvalidChannelCombinations) {
    // AMODE (-1: no core), LFF, channels of the extension asset (0: no extension substream), banner expected.
    const int rows[][4] = {{-1, 0, 10, 0}, {-1, 0, 20, 0}, {-1, 0, 8, 0},  {-1, 0, 40, 0}, {-1, 0, 256, 1}, {0, 0, 0, 0},
                           {2, 2, 0, 0},   {15, 0, 0, 1},  {16, 1, 0, 0},  {15, 3, 0, 1},  {0, 3, 10, 0},   {4, 0, 20, 0},
                           {9, 1, 8, 0},   {9, 0, 20, 1},  {0, 1, 30, 0},  {3, 0, 8, 0},   {3, 0, 10, 1},   {0, 0, 2, 1}};
    for (const auto& r : rows) {
        std::vector<std::vector<uint8_t>> unit;
        if (r[0] >= 0) unit.push_back(DtsCore(uint32_t(r[0]), uint32_t(r[1])));
        if (r[2] > 0) unit.push_back(DtsExt(1000, 0, 2, uint32_t(r[2])));
        EXPECT_EQ(Report(JoinUnits(unit, 2)).find("combinations of channels is invalid.") != std::string::npos, r[3] == 1)
            << r[0] << " " << r[1] << " " << r[2];
    }
}

#define SEP "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
#define CORE(amode, lff) "[Legacy Core] : EXIST\r\n[amode] : " amode "\r\n[sfreq] : 13\r\n[EXT_AUDIO] : 0\r\n[LFF] : " lff "\r\n"
#define EXT(n) "[Extension Substream] : EXIST\r\n[Extension Substream Sync] : 41A29547\r\n[nTotalNumCHs] : " n \
               "\r\n[nMaxSampleRate] : 12\r\n[nuSpkrActivityMask] : 79\r\n"
#define NO_EXT "[Extension Substream] : NO EXIST\r\n"

TEST(DtsEs, ReportIsAppendedWithMarkersAndBanners) {
    const std::string over = "\r\n" SEP "An number of channels is over 7.1[ch].\r\n" SEP, invalid = "\r\n" SEP "combinations of channels is invalid.\r\n" SEP;
    const std::pair<std::vector<uint8_t>, std::string> rows[] = {
        {JoinUnits({DtsCore(1, 3, 4, 1, 3)}, 2), "[Legacy Core] : EXIST\r\n[amode] : 1   <--- error\r\n[sfreq] : 4   <--- error\r\n"
                                                 "[EXT_AUDIO] : 1\r\n[EXT_AUDIO_ID] : 3   <--- error\r\n[LFF] : 3   <--- error\r\n" NO_EXT},
        {JoinUnits({DtsCore(9, 2, 13, 1, 6)}, 2),
         "[Legacy Core] : EXIST\r\n[amode] : 9\r\n[sfreq] : 13\r\n[EXT_AUDIO] : 1\r\n[EXT_AUDIO_ID] : 6\r\n[LFF] : 2\r\n" NO_EXT},
        {JoinUnits({DtsCore(), DtsExt()}, 2), CORE("9", "1") EXT("8")},
        {JoinUnits({DtsCore(), DtsExt(1000, 0, 2, 8, [](DtsExtensionSubstream& s) { s.rich = true; })}), CORE("9", "1") EXT("8")},
        {JoinUnits({DtsCore(15, 0)}, 2), CORE("15   <--- error", "0") NO_EXT + invalid},
        {JoinUnits({DtsExt(1000, 0, 2, 72)}, 2), "[Legacy Core] : NO EXIST\r\n" EXT("72") + over},
        {JoinUnits({DtsExt(1000, 0, 2, 71)}, 2), "[Legacy Core] : NO EXIST\r\n" EXT("71")},
        {JoinUnits({DtsCore(0, 0), DtsExt(1000, 0, 2, 80)}), CORE("0", "0") EXT("80") + invalid + over}};
    for (const auto& [stream, report] : rows) EXPECT_EQ(Report(stream), "head\r\n" + report);
}

// A sparse stream: 4097 extension substreams of 1 MiB, then past 4 GiB a core frame, one stray byte, a core frame.
TEST(DtsEs, PositionsPastFourGiB) {
    TempDir dir;
    const std::string es = dir.File("big.dts"), kiv = dir.File("big.kiv");
    const int fd = ::open(es.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    const std::vector<uint8_t> head = DtsExt(1u << 20, 0, 2, 8, [](DtsExtensionSubstream& s) { s.headerSizeType = 1; });
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
    EXPECT_EQ(std::make_pair(notice.progress.back(), notice.totals.back()), std::make_pair(int64_t{4296017885}, int64_t{4296019899}));
}

}  // namespace
}  // namespace kiv_test
