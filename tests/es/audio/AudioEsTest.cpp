// Every audio kind: the exception an unusable stream throws, the report and XML values the bundled samples
// do not show (markers, banners, later frames), cases of one analyser object (a second run, a full disk,
// positions past 4 GiB), and clips encoded by ffmpeg at test time checked against ffprobe's packet list (one
// item per packet, same sizes, a fixed step) and the attributes it reports. Items and host texts of streams
// written by the builders are rows of the creator table.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "CEsFactoryTable.h"
#include "KivCreator.h"
#include "foundation/CTsMuxException.h"
#include "support/Ac3Builder.h"
#include "support/DraBuilder.h"
#include "support/DtsBuilder.h"
#include "support/Ffprobe.h"
#include "support/KivReader.h"
#include "support/LpcmBuilder.h"
#include "support/MlpBuilder.h"
#include "support/RecordingNotice.h"

namespace kiv_test {
namespace {

using kiv_comp::CKivCreator;
using PRIVATE_LIBRARY::CL_CString;
using Bytes = std::vector<uint8_t>;
constexpr auto kAc3 = CKivCreator::ES_TYPE_AC3, kDts = CKivCreator::ES_TYPE_DTS, kMlp = CKivCreator::ES_TYPE_MLP;
constexpr auto kLpcm = CKivCreator::ES_TYPE_HDMV_LPCM, kDra = CKivCreator::ES_TYPE_DRA;

std::unique_ptr<ts_comp::es::CEs> Make(CKivCreator::ES_TYPE type, const std::string& path) {
    return ts_comp::api::CEsFactoryTable::BuiltIn().Find(type)(CL_CString(path.c_str()));
}
// The report appended to "x" (xml false) or the XML document of the stream.
std::string Text(CKivCreator::ES_TYPE type, const Bytes& stream, bool xml = false) {
    TempDir dir;
    CL_CString text("x");
    xml ? Make(type, dir.Write("in.es", stream))->GetXmlText(text) : Make(type, dir.Write("in.es", stream))->GetReportText(text);
    return text.GetString();
}

TEST(AudioEs, UnusableStreamThrowsCode15WithPathAndMessage) {
    const char* const invalid = "The es attribute is invalid.(parse error)";
    const struct {
        CKivCreator::ES_TYPE type;
        Bytes stream;
        const char *message, *source;
    } rows[] = {{kAc3, Bytes(191, 0x0B), "The es file is short.", "Ac3Es"}, {kLpcm, {}, "The es file is short.", "HdmvLpcmEs"},
                {kDts, Bytes(192, 0x7F), invalid, "DtsHDEs"}, {kMlp, Bytes(192, 0), invalid, "MlpEs"}, {kDra, Bytes(192, 0x7F), invalid, "DraEs"}};
    for (const auto& row : rows) {
        TempDir dir;
        const std::string path = dir.Write("in.es", row.stream);
        try {
            Make(row.type, path);
            ADD_FAILURE() << row.source << " accepted " << row.message;
        } catch (const ts_comp::CTsMuxException& e) {
            CL_CString message;
            e.GetErrorMessage(message);
            EXPECT_EQ(std::vector<std::string>({message.GetString(), e.GetSourceFile(), e.GetFileName(), e.GetDetail()}),
                      std::vector<std::string>({row.message, row.source, path, row.message}));
            EXPECT_EQ(e.GetErrorCode(), 15) << row.source;
        }
    }
}

// `count` copies of an MLP unit or a DRA frame.
template <class Unit>
Bytes Times(int count, const Unit& unit) {
    Bytes bytes;
    for (int i = 0; i < count; ++i) unit.AppendTo(bytes);
    return bytes;
}
const Bytes kAc3First = Ac3Frame{2, 0, 0, 18, 8, 1, 2}.Build(), kDualMono = Ac3Frame{0, 0, 0, 28, 8, 0, 3, kLang2 | kCompr2, 9, 77}.Build();
void Rich(DtsExtensionSubstream& s) { s.rich = true; }
#define SEP "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
#define CORE(amode, lff) "[Legacy Core] : EXIST\r\n[amode] : " amode "\r\n[sfreq] : 13\r\n[EXT_AUDIO] : 0\r\n[LFF] : " lff "\r\n"
#define EXT(n) "[Extension Substream] : EXIST\r\n[Extension Substream Sync] : 41A29547\r\n[nTotalNumCHs] : " n \
               "\r\n[nMaxSampleRate] : 12\r\n[nuSpkrActivityMask] : 79\r\n"
#define NO_EXT "[Extension Substream] : NO EXIST\r\n"
#define OVER "\r\n" SEP "An number of channels is over 7.1[ch].\r\n" SEP
#define INVALID "\r\n" SEP "combinations of channels is invalid.\r\n" SEP

// The report after "x" and a fragment of the XML: the first header's values (AC-3: the second frame's, the
// language lines, dual mono, the dependent substream), markers of codes outside the accepted sets, banners.
TEST(AudioEs, ReportAndXmlValues) {
    const struct {
        CKivCreator::ES_TYPE type;
        Bytes stream;
        const char *report, *xml;
    } rows[] = {
        {kDra, Times(4, DraFrame{1, 3, 10, 37, 2}), "[nSampleRateIndex] : 10\r\n[nNumNormalCh] : 37\r\n[nNumLfeCh] : 2\r\n", ""},
        {kDra, Times(4, DraFrame{0, 3, 9, 5, 1}), "[nSampleRateIndex] : 9\r\n[nNumNormalCh] : 5\r\n[nNumLfeCh] : 1\r\n", ""},
        {kMlp, Times(2, MlpUnit{0, true, 0x300A9001, {{1, 1, 0, 5}, {1, 1, 0, 7}, {0}}}),
         "[audio_sampling_frequency] : 3   <--- error\r\n[_6ch_decorder_channel_assignment] : 21\r\n[_8ch_decorder_channel_assignment] : 4097\r\n"
         "[restart_header_exists] : 1\r\n[substreams] : 3\r\n[max_chan0] : 5\r\n[max_chan1] : 7\r\n[max_chan2] : 0\r\n",
         ">3</audio_sampling_frequency>\n    <_6ch_decorder_channel_assignment>21</_6ch_decorder_channel_assignment>\n    "
         "<_8ch_decorder_channel_assignment>4097</_8ch_decorder_channel_assignment>\n    <restart_header_exists>1</restart_header_exists>\n"
         "    <substreams>3</substreams>\n    <max_chan0>5</max_chan0>\n    <max_chan1>7</max_chan1>\n    <max_chan2>0<"},
        {kAc3, JoinUnits({kAc3First, Ac3Frame{7, 1, 0, 36, 6, 2, 0, kCompr | kLang | kProd}.Build(), kAc3First}),
         "[Legacy Core] : EXIST\r\n[fscod] : 0\r\n[frmsizecod] : 36\r\n[bsid] : 6\r\n[bsmod] : 2\r\n[acmod] : 7\r\n[lfeon] : 1\r\n"
         "[dsurmod] : 0\r\n[compre] : 1\r\n[langcode] : 1\r\n[langcod] : 9\r\n[audprodie] : 1\r\n[compr2e] : 0\r\n"
         "[langcod2e] : 0\r\n[fullSvc] : 0\r\n\r\n[Substream0] : NO EXIST\r\n",
         "<bsid>6</bsid>\n    <bit_rate_code>18</bit_rate_code>\n    <dsurmod>0</dsurmod>\n    <bsmod>2</bsmod>\n    <acmod>7</acmod>\n"
         "    <lfeon>1</lfeon>\n    <fullSvc>0</fullSvc>\n    <langcod>9</langcod>"},
        {kAc3, JoinUnits({kDualMono, Eac3Frame{1, 2, 1, kChanmap, 3, 0, 0, 0, 0, 0, 0x1234, 0, 0, 0, 255}.Build(), kDualMono}),
         SEP "combinations of channels is invalid.\r\n" SEP "\r\n[Legacy Core] : EXIST\r\n[fscod] : 0\r\n[frmsizecod] : 28\r\n[bsid] : 8\r\n"
         "[bsmod] : 0\r\n[acmod] : 0\r\n[lfeon] : 0\r\n[dsurmod] : 0\r\n[compre] : 0\r\n[langcode] : 0\r\n[audprodie] : 0\r\n"
         "[compr2e] : 1\r\n[langcod2e] : 1\r\n[langcod2] : 77\r\n[fullSvc] : 0\r\n\r\n"
         "[Substream0] : EXIST\r\n[fscod] : 0\r\n[acmod] : 2\r\n[lfeon] : 1\r\n[chanmape] : 1\r\n[chanmap] : 4660\r\n",
         "<langcod>255</langcod>\n    <langcod2>77</langcod2>"},
        {kDts, JoinUnits({DtsCore(1, 3, 4, 1, 3)}, 2), "[Legacy Core] : EXIST\r\n[amode] : 1   <--- error\r\n[sfreq] : 4   <--- error\r\n"
         "[EXT_AUDIO] : 1\r\n[EXT_AUDIO_ID] : 3   <--- error\r\n[LFF] : 3   <--- error\r\n" NO_EXT, ""},
        {kDts, JoinUnits({DtsCore(9, 2, 13, 1, 6)}, 2),
         "[Legacy Core] : EXIST\r\n[amode] : 9\r\n[sfreq] : 13\r\n[EXT_AUDIO] : 1\r\n[EXT_AUDIO_ID] : 6\r\n[LFF] : 2\r\n" NO_EXT, ""},
        {kDts, JoinUnits({DtsCore(), DtsExt()}, 2), CORE("9", "1") EXT("8"), ""},
        {kDts, JoinUnits({DtsCore(), DtsExt(1000, 0, 2, 8, Rich)}), CORE("9", "1") EXT("8"), ""},
        {kDts, JoinUnits({DtsCore(15, 0)}, 2), CORE("15   <--- error", "0") NO_EXT INVALID, ""},
        {kDts, JoinUnits({DtsExt(1000, 0, 2, 72)}, 2), "[Legacy Core] : NO EXIST\r\n" EXT("72") OVER, ""},
        {kDts, JoinUnits({DtsExt(1000, 0, 2, 71)}, 2), "[Legacy Core] : NO EXIST\r\n" EXT("71"), ""},
        {kDts, JoinUnits({DtsCore(0, 0), DtsExt(1000, 0, 2, 80)}), CORE("0", "0") EXT("80") INVALID OVER, ""},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(Text(r.type, r.stream), std::string("x") + r.report);
        EXPECT_NE(Text(r.type, r.stream, true).find(r.xml), std::string::npos) << r.xml;
    }
}

// The banner for channel combinations the check refuses. AC-3 streams: core, E-AC-3 frame, core; or two of
// whichever of the two is given. DTS streams: two units of a core frame and an extension substream.
TEST(AudioEs, ChannelCombinationBanner) {
    // core acmod, lfeon (-1: no core); E-AC-3 strmtyp (-1: none), acmod, lfeon, chanmap (-1: none); banner shown
    const int ac3[][7] = {{2, 0, 1, 2, 0, -1, 1},  {7, 1, 1, 2, 0, -1, 0},  {1, 0, 1, 1, 0, -1, 1},      {0, 0, 1, 2, 0, -1, 1},
                          {3, 0, 1, 2, 0, -1, 0},  {2, 1, 1, 2, 0, -1, 0},  {1, 0, -1, 0, 0, -1, 0},     {0, 0, -1, 0, 0, -1, 0},
                          {4, 0, -1, 0, 0, -1, 0}, {1, 1, -1, 0, 0, -1, 0}, {-1, 0, 0, 1, 0, -1, 0},     {-1, 0, 1, 7, 1, 0, 1},
                          {-1, 0, 1, 7, 1, 5, 0},  {-1, 0, 1, 7, 1, 0x8000, 0}, {-1, 0, 1, 7, 0, 0x4000, 0}};
    const std::string banner = SEP "combinations of channels is invalid.\r\n" SEP "\r\n[Legacy Core]";
    for (const auto& r : ac3) {
        const Bytes core = Ac3Frame{uint32_t(r[0]), uint32_t(r[1])}.Build();
        const Bytes e = Eac3Frame{uint32_t(r[2]), uint32_t(r[3]), uint32_t(r[4]), r[5] < 0 ? 0u : kChanmap, 3, 0, 0, 0, 0, 0,
                                  uint32_t(r[5]), 0, 0, 0, 255}.Build();
        const Bytes stream = r[0] < 0 ? JoinUnits({e, e}) : r[2] < 0 ? JoinUnits({core, core}) : JoinUnits({core, e, core});
        EXPECT_EQ(Text(kAc3, stream).rfind(r[6] ? "x" + banner : "x[Legacy Core]", 0), 0u) << r[0] << " " << r[2] << " " << r[5];
    }
    // AMODE (-1: no core), LFF, channels of the extension asset (0: no extension substream), banner expected.
    const int dts[][4] = {{-1, 0, 10, 0}, {-1, 0, 20, 0}, {-1, 0, 8, 0},  {-1, 0, 40, 0}, {-1, 0, 256, 1}, {0, 0, 0, 0},
                          {2, 2, 0, 0},   {15, 0, 0, 1},  {16, 1, 0, 0},  {15, 3, 0, 1},  {0, 3, 10, 0},   {4, 0, 20, 0},
                          {9, 1, 8, 0},   {9, 0, 20, 1},  {0, 1, 30, 0},  {3, 0, 8, 0},   {3, 0, 10, 1},   {0, 0, 2, 1}};
    for (const auto& r : dts) {
        std::vector<Bytes> unit;
        if (r[0] >= 0) unit.push_back(DtsCore(uint32_t(r[0]), uint32_t(r[1])));
        if (r[2] > 0) unit.push_back(DtsExt(1000, 0, 2, uint32_t(r[2])));
        EXPECT_EQ(Text(kDts, JoinUnits(unit, 2)).find("combinations of channels is invalid.") != std::string::npos, r[3] == 1)
            << r[0] << " " << r[1] << " " << r[2];
    }
}

// HDMV LPCM: the first header's values, codes outside the accepted sets marked (the sample shows the XML).
TEST(AudioEs, LpcmReportMarks) {
    const struct {
        Bytes head;  // padded with 0xFF to 192 bytes
        int payload, channels, frequency, bits;
        const char* marks;  // channel, frequency, bits: 'x' marked
    } rows[] = {{{0x00, 0xBC, 0x31, 0x40}, 188, 3, 1, 1, "..."},     {{0xAB, 0xCD, 0x9F, 0xFF}, 0xABCD, 9, 15, 3, ".x."},
                {{0x10, 0x00, 0xB5, 0xBF}, 0x1000, 11, 5, 2, "..."}, {{0xFF, 0xFF, 0x21, 0x00}, 0xFFFF, 2, 1, 0, "x.x"},
                {{0x10, 0xE0, 0x14, 0x80}, 4320, 1, 4, 2, "..."},    {{0x10, 0xE0, 0x00, 0x00}, 4320, 0, 0, 0, "xxx"},
                {{0x10, 0xE0, 0xC6, 0x40}, 4320, 12, 6, 1, "xx."},   {{0x10, 0xE0, 0x23, 0x80}, 4320, 2, 3, 2, "xx."},
                {{0x10, 0xE0, 0xFF, 0xC0}, 4320, 15, 15, 3, "xx."},  {{0x10, 0xE0, 0xA4, 0x40}, 4320, 10, 4, 1, "..."}};
    for (const auto& r : rows) {
        Bytes head = r.head;
        head.resize(192, 0xFF);
        const auto line = [&](const char* name, int value, int i) {
            return std::string(name) + " : " + std::to_string(value) + (r.marks[i] == 'x' ? "   <--- error" : "") + "\r\n";
        };
        EXPECT_EQ(Text(kLpcm, head), "x[audio_data_payload_size] : " + std::to_string(r.payload) + "\r\n" +
                                         line("[channel_assignment]", r.channels, 0) + line("[sampling_frequency]", r.frequency, 1) +
                                         line("[bits_per_sample]", r.bits, 2));
    }
}

// One analyser object: a second run writes the same items; a null path and a full disk give false and no
// text. A DRA header cut off at the end of the file is printed and the run succeeds.
TEST(AudioEs, SecondRunNullPathFullDiskAndCutDraHeader) {
    TempDir dir;
    const std::string kiv = dir.File("out.kiv");
    auto lpcm = Make(kLpcm, dir.Write("in.lpcm", LpcmBuilder().Frame(100).Frame(0).Frame(300).Take()));
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(lpcm->CreateKiv(kiv.c_str(), {0}));
        EXPECT_EQ(ReadKiv(kiv).items.size(), 4u) << "run " << run;
    }
    EXPECT_FALSE(lpcm->CreateKiv(nullptr, {0}));
    EXPECT_STREQ(lpcm->GetLastErrorMessage(), "");
    Bytes dra = Times(3, DraFrame{});
    dra.insert(dra.end(), {0x7F, 0xFF, 0x01});
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(Make(kDra, dir.Write("a.dra", dra))->CreateKiv(kiv.c_str(), {0}));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "file read error Unknown exception\n");
    if (!std::filesystem::exists("/dev/full")) return;
    LpcmBuilder b;
    for (int i = 0; i < 20000; ++i) b.Frame(0);  // more items than one buffer of the writer holds
    auto full = Make(kLpcm, dir.Write("full.lpcm", b.Take()));
    EXPECT_FALSE(full->CreateKiv("/dev/full", {0}));
    EXPECT_STREQ(full->GetLastErrorMessage(), "");
}

// A sparse DTS stream: 4097 extension substreams of 1 MiB, then past 4 GiB a core frame, one stray byte, a core frame.
TEST(AudioEs, DtsPositionsPastFourGiB) {
    TempDir dir;
    const std::string es = dir.File("big.dts"), kiv = dir.File("big.kiv");
    const int fd = ::open(es.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    const Bytes head = DtsExt(1u << 20, 0, 2, 8, [](DtsExtensionSubstream& s) { s.headerSizeType = 1; });
    for (off_t k = 0; k < 4097; ++k) ASSERT_EQ(::pwrite(fd, head.data(), 64, k << 20), 64);
    const Bytes tail = JoinUnits({DtsCore(), {0x11}, DtsCore()});
    ASSERT_EQ(::pwrite(fd, tail.data(), tail.size(), off_t{4097} << 20), ssize_t(tail.size()));
    ::close(fd);
    RecordingNotice notice;
    CKivCreator creator;
    EXPECT_FALSE(creator.CreateKiv(kDts, es.c_str(), kiv.c_str(), {0}, &notice));
    EXPECT_STREQ(creator.GetLastErrorMessage(), "\nStuffnig bits exist. (pos = 4296017885[byte])");
    const std::vector<KivItem> items = ReadKiv(kiv).items;
    ASSERT_EQ(items.size(), 4098u);
    EXPECT_EQ(items[4096], (KivItem{1, 1048576, 3932160, 3932160}));
    EXPECT_EQ(items[4097], (KivItem{0, 2013, 0, 0}));
    EXPECT_EQ(std::make_pair(notice.progress.back(), notice.totals.back()), std::make_pair(int64_t{4296017885}, int64_t{4296019899}));
}

// ffmpeg's lavfi sine source and encoder options, ffprobe's demuxer, ticks per item, first item type, and
// fragments of the XML document separated by spaces.
struct ClipRow {
    const char *name, *encode, *format;
    CKivCreator::ES_TYPE type;
    uint64_t step, firstType;
    const char* xml;
};

class AudioConformance : public ::testing::TestWithParam<ClipRow> {};

TEST_P(AudioConformance, ItemsMatchPacketsAndAttributesMatchTheEncoder) {
    if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg or ffprobe is not installed";
    const ClipRow& row = GetParam();
    TempDir dir;
    const std::string es = dir.File("clip"), kiv = dir.File("clip.kiv");
    ASSERT_EQ(std::system(("ffmpeg -nostdin -loglevel error -f lavfi -i sine=frequency=997:" + std::string(row.encode) +
                           " -strict -2 -f " + row.format + " '" + es + "'").c_str()), 0);
    CKivCreator creator;
    ASSERT_TRUE(creator.CreateKiv(row.type, es.c_str(), kiv.c_str(), {9000}, nullptr));
    const std::vector<KivItem> items = ReadKiv(kiv).items;
    const std::vector<uint64_t> sizes = ProbePacketSizes(es, row.format);
    ASSERT_GT(sizes.size(), 10u);
    ASSERT_EQ(items.size(), sizes.size() + 1);
    uint64_t total = 0;
    for (size_t i = 0; i < sizes.size(); total += sizes[i++]) {
        EXPECT_EQ(std::vector<uint64_t>({items[i].size, items[i].pts}), std::vector<uint64_t>({sizes[i], 9000 + row.step * i}));
    }
    EXPECT_EQ(items[0].type, row.firstType);
    EXPECT_EQ(total, TempDir::Read(es).size());
    EXPECT_EQ(items.back(), (KivItem{255, 0, 0, 9000 + row.step * sizes.size()}));
    const std::string xml = Text(row.type, TempDir::Read(es), true);
    std::istringstream fragments(row.xml);
    for (std::string f; fragments >> f;) EXPECT_NE(xml.find(f), std::string::npos) << f << xml;
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, AudioConformance,
    ::testing::ValuesIn(std::vector<ClipRow>{
        {"Ac3Mono", "r=48000:d=0.7 -ac 1 -c:a ac3 -b:a 96k", "ac3", kAc3, 2880, 0,
         "<bsid>8</bsid> <bit_rate_code>6</bit_rate_code> <acmod>1</acmod> <lfeon>0</lfeon> <substream0_flag>0<"},
        {"Ac3Stereo", "r=48000:d=0.7 -ac 2 -c:a ac3 -b:a 640k", "ac3", kAc3, 2880, 0,
         "<bit_rate_code>18</bit_rate_code> <acmod>2</acmod> <lfeon>0</lfeon> <sample_rate_code>0<"},
        {"Ac3FiveOne", "r=48000:d=0.7 -ac 6 -c:a ac3 -b:a 448k", "ac3", kAc3, 2880, 0,
         "<bit_rate_code>15</bit_rate_code> <acmod>7</acmod> <lfeon>1</lfeon>"},
        {"Eac3FiveOne", "r=48000:d=0.7 -ac 6 -c:a eac3 -b:a 384k", "eac3", kAc3, 2880, 0,
         "<bsid>16< <acmod>7</acmod> <lfeon>0</lfeon> <substream0_flag>1< <lfeon>1</lfeon>"},
        {"DtsStereo", "r=48000:d=0.6 -af aformat=channel_layouts=stereo -c:a dca", "dts", kDts, 960, 0,
         "<AMODE>2< <SFREQ>13< <LFF>0< <extension_substream_flag>0<"},
        {"DtsFiveOne", "r=48000:d=0.6 -af aformat=channel_layouts=5.1 -c:a dca", "dts", kDts, 960, 0, "<AMODE>9< <LFF>2<"},
        {"DtsMono44k", "r=44100:d=0.6 -af aformat=channel_layouts=mono -c:a dca", "dts", kDts, 960, 0,
         "<AMODE>0< <SFREQ>8< <LFF>0<"},
        {"Truehd96k", "r=96000:d=0.3 -ac 2 -c:a truehd", "truehd", kMlp, 75, 1, "<audio_sampling_frequency>1<"},
        {"TruehdSixChannels", "r=48000:d=0.3 -ac 6 -c:a truehd", "truehd", kMlp, 75, 1, "<max_chan0>5< <_6ch_decorder_channel_assignment>15<"},
        {"Mlp", "r=48000:d=0.3 -ac 2 -c:a mlp", "mlp", kMlp, 75, 1, "<audio_sampling_frequency>0< <max_chan0>1<"},
    }),
    [](const ::testing::TestParamInfo<ClipRow>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kiv_test
