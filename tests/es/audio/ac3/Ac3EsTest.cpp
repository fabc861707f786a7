// CAc3Es: construction, the frame scan into a KIV file, the report and the XML document.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "Ac3TestSupport.h"
#include "es/audio/ac3/CAc3Es.h"
#include "es/EsMessages.h"
#include "foundation/CTsMuxException.h"
#include "support/Ac3Builder.h"
#include "support/TempDir.h"

using namespace kiv_test;
using PRIVATE_LIBRARY::CL_CString;
using ts_comp::CTsMuxException;
using ts_comp::es::CAc3Es;

namespace {

struct Thrown {
    bool thrown = false;
    int code = -1;
    std::string message, source, fileName, detail;
};

Thrown Catch(const std::function<void()>& f) {
    Thrown t;
    try {
        f();
    } catch (const CTsMuxException& e) {
        CL_CString m;
        e.GetMessage(m);
        t = {true, e.GetErrorCode(), m.GetString(), e.GetSourceFile(), e.GetFileName(), e.GetDetail()};
    }
    return t;
}

std::vector<uint8_t> Repeat(const std::vector<uint8_t>& frame, int count) {
    std::vector<std::vector<uint8_t>> frames(static_cast<size_t>(count), frame);
    return JoinFrames(frames);
}

Ac3Frame Core(uint32_t acmod, uint32_t lfeon, uint32_t frmsizecod = 28) {
    Ac3Frame f;
    f.acmod = acmod;
    f.lfeon = lfeon;
    f.frmsizecod = frmsizecod;
    return f;
}

Eac3Frame Dependent(uint32_t substreamid, uint32_t acmod, uint32_t lfeon, uint32_t words = 256) {
    Eac3Frame f;
    f.strmtyp = 1;
    f.substreamid = substreamid;
    f.acmod = acmod;
    f.lfeon = lfeon;
    f.frmsiz = words - 1;
    return f;
}

std::string Report(CAc3Es& es) {
    CL_CString out;
    es.GetReportText(out);
    return out.GetString();
}

std::string Xml(CAc3Es& es) {
    CL_CString out;
    es.GetXmlText(out);
    return out.GetString();
}

class Ac3EsTest : public ::testing::Test {
protected:
    std::unique_ptr<CAc3Es> Make(const std::vector<uint8_t>& bytes) {
        esPath = dir.Write("a.ac3", bytes);
        return std::make_unique<CAc3Es>(CL_CString(esPath.c_str()));
    }
    Thrown MakeFails(const std::vector<uint8_t>& bytes) {
        esPath = dir.Write("a.ac3", bytes);
        return Catch([&] { CAc3Es es{CL_CString(esPath.c_str())}; });
    }
    std::string Kiv() const { return dir.File("a.kiv"); }
    TempDir dir;
    std::string esPath;
};

// ---- construction ----

TEST_F(Ac3EsTest, ShortFileIsRefusedAndExactly192BytesPasses) {
    const std::vector<uint8_t> frame = Core(2, 0, 4).Build();  // 96 words = 192 bytes
    ASSERT_EQ(frame.size(), 192u);
    std::vector<uint8_t> cut(frame.begin(), frame.end() - 1);
    const Thrown t = MakeFails(cut);
    EXPECT_TRUE(t.thrown);
    EXPECT_EQ(t.code, 15);
    EXPECT_EQ(t.message, "The es file is short.");
    EXPECT_EQ(t.source, "Ac3Es");
    EXPECT_EQ(t.fileName, esPath);
    EXPECT_EQ(t.detail, "The es file is short.");
    EXPECT_FALSE(MakeFails(frame).thrown);
}

struct HeadCase {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* message;
};

class Ac3HeadTest : public Ac3EsTest, public ::testing::WithParamInterface<HeadCase> {};

TEST_P(Ac3HeadTest, IsRefusedAtConstruction) {
    const Thrown t = MakeFails(GetParam().bytes);
    ASSERT_TRUE(t.thrown);
    EXPECT_EQ(t.code, 15);
    EXPECT_EQ(t.message, GetParam().message);
    EXPECT_EQ(t.fileName, esPath);
    EXPECT_EQ(t.detail, GetParam().message);
}

std::vector<uint8_t> Garbage() {
    std::vector<uint8_t> v(4096);
    for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<uint8_t>(i * 37 + 11);
    return v;
}

std::vector<uint8_t> AfterJunk() {
    std::vector<uint8_t> v(1, 0);
    const std::vector<uint8_t> s = Repeat(Core(2, 0).Build(), 2);
    v.insert(v.end(), s.begin(), s.end());
    return v;
}

std::vector<uint8_t> CutInsideFirstBsiOfBigFile() {
    // An AC-3 head whose frame claims more than the file holds still parses; bsid 10 does not.
    Ac3Frame f = Core(2, 0);
    f.bsid = 10;
    return Repeat(f.Build(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, Ac3HeadTest,
    ::testing::Values(
        HeadCase{"byteSwappedAc3", SwapWords(Repeat(Core(7, 1).Build(), 3)), "An endian of es is inverse."},
        HeadCase{"byteSwappedEac3", SwapWords(Repeat(Eac3Frame().Build(), 3)), "An endian of es is inverse."},
        HeadCase{"garbage", Garbage(), "The es attribute is invalid.(parse error)"},
        HeadCase{"oneByteBeforeSync", AfterJunk(), "The es attribute is invalid.(parse error)"},
        HeadCase{"bsid10", CutInsideFirstBsiOfBigFile(), "The es attribute is invalid.(parse error)"},
        HeadCase{"reservedRate", Repeat([] { Ac3Frame f = Core(2, 0); f.fscod = 3; f.lengthBytes = 1536; return f.Build(); }(), 2),
                 "The es attribute is invalid.(parse error)"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the scan ----

TEST_F(Ac3EsTest, Ac3At48kHzGivesOneItemPerFrameAndTheTerminatingItem) {
    auto es = Make(Repeat(Core(2, 0).Build(), 5));
    ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {1000, 777}));
    const AudioKivFile f = ReadAudioKiv(Kiv());
    EXPECT_EQ(f.fileType, 2);
    EXPECT_EQ(f.trailingBytes, 0u);
    std::vector<AudioItem> expected;
    for (uint64_t i = 0; i < 5; ++i) expected.push_back({0, 1536, 1000 + 2880 * i, 1000 + 2880 * i, 0});
    expected.push_back({255, 0, 0, 1000 + 2880 * 5, 0});
    EXPECT_EQ(f.items, expected);
    EXPECT_STREQ(es->GetLastErrorMessage(), "");
}

TEST_F(Ac3EsTest, ItemBytesArePackedExactly) {
    auto es = Make(Repeat(Core(2, 0).Build(), 1));
    ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {90000}));
    const std::vector<uint8_t> bytes = TempDir::Read(Kiv());
    const std::vector<uint8_t> expected = {0x00, 0x00, 0x00, 0x02,
                                           // type 0, size 1536, dts = pts = 90000
                                           0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0xAF, 0xC8, 0x00, 0x00, 0x57, 0xE4, 0x00,
                                           // end item, pts 92880
                                           0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x5A, 0xB4, 0x00};
    EXPECT_EQ(bytes, expected);
}

TEST_F(Ac3EsTest, DependentFramesTakeTheirSubstreamTypeAndThePreviousTimeStamp) {
    const std::vector<uint8_t> unit = JoinFrames({Core(7, 1).Build(), Dependent(0, 2, 0).Build(), Dependent(1, 2, 0, 300).Build()});
    auto es = Make(Repeat(unit, 2));
    ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {0}));
    const std::vector<AudioItem> expected = {{0, 1536, 0, 0, 0},       {1, 512, 0, 0, 0},       {2, 600, 0, 0, 0},
                                             {0, 1536, 2880, 2880, 0}, {1, 512, 2880, 2880, 0}, {2, 600, 2880, 2880, 0},
                                             {255, 0, 0, 5760, 0}};
    EXPECT_EQ(ReadAudioKiv(Kiv()).items, expected);
}

TEST_F(Ac3EsTest, SubstreamIdsOneToEightAndIndependentEac3Frames) {
    std::vector<std::vector<uint8_t>> frames;
    Eac3Frame independent;
    independent.frmsiz = 99;
    independent.numblkscod = 0;  // one block: the step is still 2880
    frames.push_back(independent.Build());
    for (uint32_t id = 0; id < 8; ++id) frames.push_back(Dependent(id, 2, 0, 10 + id).Build());
    frames.push_back(independent.Build());
    auto es = Make(JoinFrames(frames));
    ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {100}));
    const AudioKivFile f = ReadAudioKiv(Kiv());
    ASSERT_EQ(f.items.size(), 11u);
    EXPECT_EQ(f.items[0], (AudioItem{0, 200, 100, 100, 0}));
    for (uint64_t id = 0; id < 8; ++id) EXPECT_EQ(f.items[1 + id], (AudioItem{id + 1, 20 + 2 * id, 100, 100, 0}));
    EXPECT_EQ(f.items[9], (AudioItem{0, 200, 2980, 2980, 0}));
    EXPECT_EQ(f.items[10], (AudioItem{255, 0, 0, 5860, 0}));
}

TEST_F(Ac3EsTest, TimeStampsKeepTheLow33Bits) {
    auto es = Make(Repeat(Core(2, 0).Build(), 2));
    ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {(uint64_t{1} << 33) - 1000}));
    const AudioKivFile f = ReadAudioKiv(Kiv());
    ASSERT_EQ(f.items.size(), 3u);
    EXPECT_EQ(f.items[0].pts, (uint64_t{1} << 33) - 1000);
    EXPECT_EQ(f.items[1].pts, 1880u);
    EXPECT_EQ(f.items[1].dts, 1880u);
    EXPECT_EQ(f.items[2].pts, 4760u);
}

TEST_F(Ac3EsTest, Ac3At44kHzConstructsButTheScanFailsSilently) {
    Ac3Frame f = Core(2, 0);
    f.fscod = 1;
    auto es = Make(Repeat(f.Build(), 3));
    EXPECT_EQ(es->GetAttributes().fscod, 1);
    EXPECT_FALSE(es->CreateKiv(Kiv().c_str(), {0}));
    EXPECT_STREQ(es->GetLastErrorMessage(), "");
    const AudioKivFile k = ReadAudioKiv(Kiv());
    EXPECT_EQ(k.fileType, 2);
    EXPECT_TRUE(k.items.empty());
    EXPECT_EQ(k.trailingBytes, 0u);
}

struct BadFrameCase {
    const char* name;
    std::vector<uint8_t> frame;
};

class Ac3BadFrameTest : public Ac3EsTest, public ::testing::WithParamInterface<BadFrameCase> {};

// The first frame is written; the bad one ends the scan with false and no terminating item.
TEST_P(Ac3BadFrameTest, EndsTheScanWithFalseAndNoTerminatingItem) {
    const std::vector<uint8_t> good = Core(2, 0).Build();
    auto es = Make(JoinFrames({good, good, GetParam().frame, good}));
    EXPECT_FALSE(es->CreateKiv(Kiv().c_str(), {0}));
    EXPECT_STREQ(es->GetLastErrorMessage(), "");
    const std::vector<AudioItem> expected = {{0, 1536, 0, 0, 0}, {0, 1536, 2880, 2880, 0}};
    EXPECT_EQ(ReadAudioKiv(Kiv()).items, expected);
}

std::vector<uint8_t> WithByte(std::vector<uint8_t> v, size_t at, uint8_t value) {
    v[at] = value;
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, Ac3BadFrameTest,
    ::testing::Values(
        BadFrameCase{"syncWord", WithByte(Core(2, 0).Build(), 1, 0x78)},
        BadFrameCase{"swappedSync", SwapWords(Core(2, 0).Build())},
        BadFrameCase{"bsid5", [] { Ac3Frame f = Core(2, 0); f.bsid = 5; return f.Build(); }()},
        BadFrameCase{"bsid9", [] { Ac3Frame f = Core(2, 0); f.bsid = 9; return f.Build(); }()},
        BadFrameCase{"bsid0", [] { Ac3Frame f = Core(2, 0); f.bsid = 0; return f.Build(); }()},
        BadFrameCase{"fscod2", [] { Ac3Frame f = Core(2, 0); f.fscod = 2; return f.Build(); }()},
        BadFrameCase{"fscod3", [] { Ac3Frame f = Core(2, 0); f.fscod = 3; f.lengthBytes = 1536; return f.Build(); }()},
        BadFrameCase{"frmsizecod38", [] { Ac3Frame f = Core(2, 0, 38); f.lengthBytes = 1536; return f.Build(); }()},
        BadFrameCase{"frmsizecod63", [] { Ac3Frame f = Core(2, 0, 63); f.lengthBytes = 1536; return f.Build(); }()},
        BadFrameCase{"strmtyp2", [] { Eac3Frame f; f.strmtyp = 2; return f.Build(); }()},
        BadFrameCase{"strmtyp3", [] { Eac3Frame f; f.strmtyp = 3; return f.Build(); }()},
        BadFrameCase{"eac3SixBytes", [] { Eac3Frame f; f.frmsiz = 2; return f.Build(); }()},
        BadFrameCase{"eac3TwoBytes", [] { Eac3Frame f; f.frmsiz = 0; return f.Build(); }()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Ac3EsTest, SevenByteEac3FrameIsAccepted) {
    Eac3Frame tiny;
    tiny.frmsiz = 3;  // 8 bytes, the shortest frame that holds the scanned header
    std::vector<uint8_t> frame = tiny.Build();
    frame.resize(8);
    auto es = Make(JoinFrames({Core(2, 0).Build(), frame, Core(2, 0).Build()}));
    ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {0}));
    const std::vector<AudioItem> expected = {
        {0, 1536, 0, 0, 0}, {0, 8, 2880, 2880, 0}, {0, 1536, 5760, 5760, 0}, {255, 0, 0, 8640, 0}};
    EXPECT_EQ(ReadAudioKiv(Kiv()).items, expected);
}

struct CutCase {
    const char* name;
    size_t dropBytes;  // cut from the end of a three-frame stream
    size_t items;      // frames written before the terminating item
};

class Ac3CutTest : public Ac3EsTest, public ::testing::WithParamInterface<CutCase> {};

TEST_P(Ac3CutTest, ATruncatedLastFrameIsDropped) {
    std::vector<uint8_t> s = Repeat(Core(2, 0).Build(), 3);
    s.resize(s.size() - GetParam().dropBytes);
    auto es = Make(s);
    ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {5}));
    const AudioKivFile f = ReadAudioKiv(Kiv());
    ASSERT_EQ(f.items.size(), GetParam().items + 1);
    for (size_t i = 0; i < GetParam().items; ++i) EXPECT_EQ(f.items[i].size, 1536u);
    EXPECT_EQ(f.items.back(), (AudioItem{255, 0, 0, 5 + 2880 * GetParam().items, 0}));
}

INSTANTIATE_TEST_SUITE_P(Cuts, Ac3CutTest,
                         ::testing::Values(CutCase{"oneByte", 1, 2}, CutCase{"payload", 1000, 2},
                                           CutCase{"insideHeader", 1536 - 3, 2}, CutCase{"headerOnly", 1536 - 7, 2},
                                           CutCase{"wholeFrame", 1536, 2}, CutCase{"none", 0, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

// CreateKiv failures thrown before any item: kivName inside the scratch folder (null: a null path);
// "{kiv}" in the message stands for the full path.
struct ThrowCase {
    const char* name;
    const char* kivName;
    std::vector<uint64_t> startPts;
    int code;
    std::string message;
};

class Ac3ThrowTest : public Ac3EsTest, public ::testing::WithParamInterface<ThrowCase> {};

TEST_P(Ac3ThrowTest, ThrowsBeforeTheKivFileIsWritten) {
    const ThrowCase& c = GetParam();
    auto es = Make(Repeat(Core(2, 0).Build(), 2));
    const std::string kiv = c.kivName != nullptr ? dir.File(c.kivName) : "";
    const Thrown t = Catch([&] { es->CreateKiv(c.kivName != nullptr ? kiv.c_str() : nullptr, c.startPts); });
    std::string message = c.message;
    if (message.find("{kiv}") != std::string::npos) message.replace(message.find("{kiv}"), 5, kiv);
    EXPECT_TRUE(t.thrown);
    EXPECT_EQ(t.code, c.code);
    EXPECT_EQ(t.message, message);
    EXPECT_EQ(t.source, "Ac3Es");
    EXPECT_FALSE(std::filesystem::exists(Kiv()));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, Ac3ThrowTest,
    ::testing::Values(ThrowCase{"emptyStartList", "a.kiv", {}, 6, "\nstart pts is not set."},
                      ThrowCase{"kivInMissingFolder", "missing/a.kiv", {0}, 10, "\nfile open error.(file name = {kiv})"},
                      ThrowCase{"nullKivPath", nullptr, {0}, 10, "\nfile open error.(file name = (null))"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Ac3EsTest, AbortingNoticeStopsAfterTheFirstFrame) {
    auto es = Make(Repeat(Core(2, 0).Build(), 4));
    RecordingNotice notice(0);
    es->SetNotice(&notice);
    const Thrown t = Catch([&] { es->CreateKiv(Kiv().c_str(), {0}); });
    EXPECT_TRUE(t.thrown);
    EXPECT_EQ(t.code, 0);
    EXPECT_EQ(t.message, "abort end.");
    EXPECT_EQ(t.source, "Ac3Es");
    EXPECT_EQ(t.fileName, "");
    EXPECT_EQ(t.detail, "");
    EXPECT_EQ(notice.abortQueries, 1);
    EXPECT_TRUE(notice.progress.empty());
    es.reset();
    const std::vector<AudioItem> expected = {{0, 1536, 0, 0, 0}};
    EXPECT_EQ(ReadAudioKiv(Kiv()).items, expected);
}

TEST_F(Ac3EsTest, ProgressFollowsEachFrameButNotTheTerminatingItem) {
    const std::vector<uint8_t> s = JoinFrames({Core(2, 0).Build(), Dependent(0, 2, 0).Build(), Core(2, 0).Build()});
    auto es = Make(s);
    RecordingNotice notice;
    es->SetNotice(&notice);
    ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {0}));
    EXPECT_EQ(notice.progress, (std::vector<int64_t>{1536, 2048, 3584}));
    EXPECT_EQ(notice.totals, (std::vector<int64_t>(3, static_cast<int64_t>(s.size()))));
    EXPECT_EQ(notice.abortQueries, 3);
}

TEST_F(Ac3EsTest, SecondScanGivesTheSameFile) {
    auto es = Make(Repeat(Core(2, 0).Build(), 3));
    ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {0}));
    const std::vector<uint8_t> first = TempDir::Read(Kiv());
    ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {0}));
    EXPECT_EQ(TempDir::Read(Kiv()), first);
    EXPECT_EQ(first.size(), 4u + 4 * 14);
}

// ---- attributes, report and XML ----

TEST_F(Ac3EsTest, PlainAc3ReportsItsSecondFrame) {
    Ac3Frame first = Core(2, 0, 18);
    first.bsmod = 1;
    first.dsurmod = 2;
    Ac3Frame second = Core(7, 1, 36);
    second.bsid = 6;
    second.bsmod = 2;
    second.compre = 1;
    second.langcode = 1;
    second.langcod = 9;
    second.audprodie = 1;
    auto es = Make(JoinFrames({first.Build(), second.Build(), first.Build()}));
    EXPECT_EQ(Report(*es),
              "[Legacy Core] : EXIST\r\n"
              "[fscod] : 0\r\n"
              "[frmsizecod] : 36\r\n"
              "[bsid] : 6\r\n"
              "[bsmod] : 2\r\n"
              "[acmod] : 7\r\n"
              "[lfeon] : 1\r\n"
              "[dsurmod] : 0\r\n"
              "[compre] : 1\r\n"
              "[langcode] : 1\r\n"
              "[langcod] : 9\r\n"
              "[audprodie] : 1\r\n"
              "[compr2e] : 0\r\n"
              "[langcod2e] : 0\r\n"
              "[fullSvc] : 0\r\n"
              "\r\n"
              "[Substream0] : NO EXIST\r\n");
    const std::string ns = ts_comp::es::kXmlNamespace;
    EXPECT_EQ(Xml(*es), "<?xml version=\"1.0\" standalone=\"yes\"?>\n"
                        "<AC3 xmlns=\"" + ns + "\">\n"
                        " <parameter>\n"
                        "    <sample_rate_code>0</sample_rate_code>\n"
                        "    <bsid>6</bsid>\n"
                        "    <bit_rate_code>18</bit_rate_code>\n"
                        "    <dsurmod>0</dsurmod>\n"
                        "    <bsmod>2</bsmod>\n"
                        "    <acmod>7</acmod>\n"
                        "    <lfeon>1</lfeon>\n"
                        "    <fullSvc>0</fullSvc>\n"
                        "    <langcod>9</langcod>\n"
                        "    <langcod2>255</langcod2>\n"
                        "    <substream0_flag>0</substream0_flag>\n"
                        "    <substream0_parameter>\n"
                        "      <fscod>0</fscod>\n"
                        "      <acmod>0</acmod>\n"
                        "      <lfeon>0</lfeon>\n"
                        "    </substream0_parameter>\n"
                        "  </parameter>\n"
                        "</AC3>\n");
}

TEST_F(Ac3EsTest, DualMonoCoreReportsBothLanguagesAndAStereoSubstream) {
    Ac3Frame core = Core(0, 0);
    core.dsurmod = 3;  // not present for acmod 0
    core.langcod2e = 1;
    core.langcod2 = 77;
    core.compr2e = 1;
    Eac3Frame dep = Dependent(0, 2, 1);
    dep.chanmape = 1;
    dep.chanmap = 0x1234;
    auto es = Make(JoinFrames({core.Build(), dep.Build(), core.Build()}));
    const std::string report = Report(*es);
    EXPECT_NE(report.find("[compr2e] : 1\r\n[langcod2e] : 1\r\n[langcod2] : 77\r\n[fullSvc] : 0\r\n"), std::string::npos);
    EXPECT_NE(report.find("[dsurmod] : 0\r\n[compre] : 0\r\n[langcode] : 0\r\n[audprodie] : 0\r\n"), std::string::npos);
    EXPECT_NE(report.find("\r\n\r\n[Substream0] : EXIST\r\n[fscod] : 0\r\n[acmod] : 2\r\n[lfeon] : 1\r\n"
                          "[chanmape] : 1\r\n[chanmap] : 4660\r\n"),
              std::string::npos);
    EXPECT_EQ(report.rfind("[chanmap] : 4660\r\n"), report.size() - 18);
    const std::string xml = Xml(*es);
    EXPECT_NE(xml.find("    <langcod>255</langcod>\n    <langcod2>77</langcod2>\n    <substream0_flag>1</substream0_flag>\n"),
              std::string::npos);
    EXPECT_NE(xml.find("      <fscod>0</fscod>\n      <acmod>2</acmod>\n      <lfeon>1</lfeon>\n"), std::string::npos);
}

TEST_F(Ac3EsTest, PureEac3TakesTheMainValuesFromItsFirstFrame) {
    Eac3Frame f;
    f.fscod = 2;
    f.acmod = 7;
    f.lfeon = 1;
    f.compre = 1;
    f.infomdate = 1;
    f.bsmod = 4;
    f.frmsiz = 383;
    Eac3Frame later = f;
    later.acmod = 3;
    later.bsmod = 1;
    auto es = Make(JoinFrames({f.Build(), later.Build(), later.Build()}));
    EXPECT_EQ(es->GetAttributes().legacyCore, 0);
    EXPECT_EQ(es->GetAttributes().compre, 1);
    EXPECT_EQ(Report(*es),
              "[Legacy Core] : NO EXIST\r\n"
              "\r\n"
              "[Substream0] : EXIST\r\n"
              "[fscod] : 2\r\n"
              "[acmod] : 7\r\n"
              "[lfeon] : 1\r\n"
              "[chanmape] : 0\r\n");
    const std::string ns = ts_comp::es::kXmlNamespace;
    EXPECT_EQ(Xml(*es), "<?xml version=\"1.0\" standalone=\"yes\"?>\n"
                        "<AC3 xmlns=\"" + ns + "\">\n"
                        " <parameter>\n"
                        "    <sample_rate_code>2</sample_rate_code>\n"
                        "    <bsid>16</bsid>\n"
                        "    <bit_rate_code>0</bit_rate_code>\n"
                        "    <dsurmod>0</dsurmod>\n"
                        "    <bsmod>4</bsmod>\n"
                        "    <acmod>7</acmod>\n"
                        "    <lfeon>0</lfeon>\n"
                        "    <fullSvc>0</fullSvc>\n"
                        "    <langcod>255</langcod>\n"
                        "    <langcod2>255</langcod2>\n"
                        "    <substream0_flag>1</substream0_flag>\n"
                        "    <substream0_parameter>\n"
                        "      <fscod>2</fscod>\n"
                        "      <acmod>7</acmod>\n"
                        "      <lfeon>1</lfeon>\n"
                        "    </substream0_parameter>\n"
                        "  </parameter>\n"
                        "</AC3>\n");
    ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {0}));
    const std::vector<AudioItem> expected = {
        {0, 768, 0, 0, 0}, {0, 768, 2880, 2880, 0}, {0, 768, 5760, 5760, 0}, {255, 0, 0, 8640, 0}};
    EXPECT_EQ(ReadAudioKiv(Kiv()).items, expected);
}

// ---- channel combinations (the banner at the top of the report) ----

struct Layout {
    const char* name;
    std::vector<uint8_t> stream;
    bool banner;
};

class Ac3ChannelTest : public Ac3EsTest, public ::testing::WithParamInterface<Layout> {};

TEST_P(Ac3ChannelTest, BannerMarksInvalidCombinations) {
    auto es = Make(GetParam().stream);
    const std::string banner =
        "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
        "combinations of channels is invalid.\r\n"
        "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
        "\r\n";
    const std::string report = Report(*es);
    if (GetParam().banner) {
        EXPECT_EQ(report.substr(0, banner.size()), banner);
        EXPECT_EQ(report.substr(banner.size(), 13), "[Legacy Core]");
    } else {
        EXPECT_EQ(report.substr(0, 13), "[Legacy Core]");
    }
}

std::vector<uint8_t> CoreWith(uint32_t acmod, uint32_t lfeon, const Eac3Frame& dep) {
    return JoinFrames({Core(acmod, lfeon).Build(), dep.Build(), Core(acmod, lfeon).Build()});
}

Eac3Frame MappedDependent(uint16_t chanmap) {
    Eac3Frame f = Dependent(0, 2, 0);
    f.chanmape = 1;
    f.chanmap = chanmap;
    return f;
}

std::vector<uint8_t> PureEac3(uint32_t strmtyp, uint32_t acmod, uint32_t lfeon, uint32_t chanmape, uint16_t chanmap) {
    Eac3Frame f = Dependent(0, acmod, lfeon);
    f.strmtyp = strmtyp;
    f.chanmape = chanmape;
    f.chanmap = chanmap;
    return Repeat(f.Build(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, Ac3ChannelTest,
    ::testing::Values(Layout{"stereoCoreWithDependent", CoreWith(2, 0, Dependent(0, 2, 0)), true},
                      Layout{"fiveOneCoreWithDependent", CoreWith(7, 1, Dependent(0, 2, 0)), false},
                      Layout{"monoCoreWithDependent", CoreWith(1, 0, Dependent(0, 1, 0)), true},
                      Layout{"dualMonoCoreWithDependent", CoreWith(0, 0, Dependent(0, 2, 0)), true},
                      Layout{"threeZeroCoreWithStereoDependent", CoreWith(3, 0, Dependent(0, 2, 0)), false},
                      Layout{"stereoLfeCoreWithDependent", CoreWith(2, 1, Dependent(0, 2, 0)), false},
                      Layout{"fiveOneCoreWithEmptyMap", CoreWith(7, 1, MappedDependent(0)), false},
                      Layout{"monoCore", Repeat(Core(1, 0).Build(), 2), false},
                      Layout{"stereoCore", Repeat(Core(2, 0).Build(), 2), false},
                      Layout{"dualMonoCore", Repeat(Core(0, 0).Build(), 2), false},
                      Layout{"twoOneCore", Repeat(Core(4, 0).Build(), 2), false},
                      Layout{"fiveOneCore", Repeat(Core(7, 1).Build(), 2), false},
                      Layout{"monoLfeCore", Repeat(Core(1, 1).Build(), 2), false},
                      Layout{"pureStereoEac3", PureEac3(0, 2, 0, 0, 0), false},
                      Layout{"pureMonoEac3", PureEac3(0, 1, 0, 0, 0), false},
                      Layout{"dependentFirstEmptyMap", PureEac3(1, 7, 1, 1, 0), true},
                      Layout{"dependentFirstStereoMap", PureEac3(1, 7, 1, 1, 0x5), false},
                      Layout{"dependentFirstLfeOnlyMap", PureEac3(1, 7, 1, 1, 0x8000), false},
                      Layout{"dependentFirstSecondLfeMap", PureEac3(1, 7, 0, 1, 0x4000), false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// Mutated streams: construction either succeeds or throws the analyser's exception, and a scan never
// reports more bytes than the file holds.
TEST_F(Ac3EsTest, HostileBytesNeverReadPastTheFile) {
    Eac3Frame dep = Dependent(2, 6, 1);
    dep.chanmape = 1;
    dep.chanmap = 0xFFFF;
    dep.mixmdate = 1;
    dep.infomdate = 1;
    const std::vector<uint8_t> base = JoinFrames({Core(0, 0, 8).Build(), dep.Build(), Eac3Frame().Build(), Core(7, 1, 8).Build()});
    uint32_t seed = 12345;
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> s = base;
        for (int k = 0; k < 1 + round % 4; ++k) {
            seed = seed * 1103515245u + 12345u;
            const size_t at = (seed >> 8) % 24 + ((seed >> 4) % 4) * (s.size() / 4);
            seed = seed * 1103515245u + 12345u;
            if (at < s.size()) s[at] = static_cast<uint8_t>(seed >> 16);
        }
        if (round % 7 == 0) s.resize(192 + (seed >> 8) % (s.size() - 192));
        std::unique_ptr<CAc3Es> es;
        const Thrown t = Catch([&] { es = Make(s); });
        if (t.thrown) {
            EXPECT_EQ(t.code, 15) << round;
            continue;
        }
        CL_CString text;
        es->GetReportText(text);
        es->GetXmlText(text);
        es->CreateKiv(Kiv().c_str(), {0});
        es.reset();
        const AudioKivFile f = ReadAudioKiv(Kiv());
        EXPECT_EQ(f.trailingBytes, 0u) << round;
        uint64_t total = 0;
        for (const AudioItem& item : f.items) total += item.size;
        EXPECT_LE(total, s.size()) << round;
    }
}

}  // namespace

namespace {

struct SampleCase {
    const char* file;
    uint64_t frameBytes;
    const char* acmod;
    const char* bsid;
};

class Ac3SampleTest : public ::testing::TestWithParam<SampleCase> {};

// The streams bundled in samples/: one item per sync frame covering the whole file.
TEST_P(Ac3SampleTest, IndexesTheWholeFile) {
    const char* source = std::getenv("KIV_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const std::string es = std::string(source) + "/samples/" + GetParam().file;
    const uint64_t size = TempDir::Read(es).size();
    ASSERT_GT(size, 0u) << es;
    TempDir dir;
    CAc3Es analyser{CL_CString(es.c_str())};
    ASSERT_TRUE(analyser.CreateKiv(dir.File("s.kiv").c_str(), {90000}));
    const AudioKivFile f = ReadAudioKiv(dir.File("s.kiv"));
    ASSERT_EQ(f.items.size(), size / GetParam().frameBytes + 1);
    for (size_t i = 0; i + 1 < f.items.size(); ++i) {
        EXPECT_EQ(f.items[i], (AudioItem{0, GetParam().frameBytes, 90000 + 2880 * i, 90000 + 2880 * i, 0}));
    }
    const std::string xml = Xml(analyser);
    EXPECT_NE(xml.find(std::string("<acmod>") + GetParam().acmod + "</acmod>"), std::string::npos);
    EXPECT_NE(xml.find(std::string("<bsid>") + GetParam().bsid + "</bsid>"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Bundled, Ac3SampleTest,
                         ::testing::Values(SampleCase{"sine_48k_stereo_192k.ac3", 768, "2", "8"},
                                           SampleCase{"sine_48k_5.1_256k.eac3", 1024, "7", "16"}));

}  // namespace
