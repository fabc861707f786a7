// CAc3Es: construction, the frame scan into a KIV file, the notice, the report and the XML document.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "es/audio/ac3/CAc3Es.h"
#include "foundation/CTsMuxException.h"
#include "support/Ac3Builder.h"
#include "support/KivReader.h"
#include "support/RecordingNotice.h"
#include "support/TempDir.h"

using namespace kiv_test;
using PRIVATE_LIBRARY::CL_CString;
using ts_comp::es::CAc3Es;
using Bytes = std::vector<uint8_t>;

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
    } catch (const ts_comp::CTsMuxException& e) {
        CL_CString m;
        e.GetMessage(m);
        t = {true, e.GetErrorCode(), m.GetString(), e.GetSourceFile(), e.GetFileName(), e.GetDetail()};
    }
    return t;
}

Bytes Repeat(const Bytes& frame, int count) { return JoinFrames(std::vector<Bytes>(static_cast<size_t>(count), frame)); }

// An AC-3 frame of 1536 bytes unless another frame-size code is given; changed fields by a lambda.
Bytes Core(uint32_t acmod, uint32_t lfeon, const std::function<void(Ac3Frame&)>& change = nullptr) {
    Ac3Frame f;
    f.acmod = acmod;
    f.lfeon = lfeon;
    if (change) change(f);
    return f.Build();
}

// An E-AC-3 frame of `words` 16-bit words (dependent, substream `id`, unless changed).
Bytes Enhanced(uint32_t id, uint32_t acmod, uint32_t lfeon, uint32_t words = 256,
               const std::function<void(Eac3Frame&)>& change = nullptr) {
    Eac3Frame f;
    f.strmtyp = 1;
    f.substreamid = id;
    f.acmod = acmod;
    f.lfeon = lfeon;
    f.frmsiz = words - 1;
    if (change) change(f);
    return f.Build();
}

Bytes Cut(Bytes b, size_t drop) {
    b.resize(b.size() - drop);
    return b;
}

class Ac3EsTest : public ::testing::Test {
protected:
    std::unique_ptr<CAc3Es> Make(const Bytes& bytes) {
        esPath = dir.Write("a.ac3", bytes);
        return std::make_unique<CAc3Es>(CL_CString(esPath.c_str()));
    }
    std::string Kiv() const { return dir.File("a.kiv"); }
    std::string Report(CAc3Es& es) {
        CL_CString out;
        es.GetReportText(out);
        return out.GetString();
    }
    TempDir dir;
    std::string esPath;
};

// Streams refused at construction, code 15, with the path and the message as the exception's texts.
TEST_F(Ac3EsTest, HeadsRefusedAtConstruction) {
    const std::string parse = "The es attribute is invalid.(parse error)", swapped = "An endian of es is inverse.";
    Bytes garbage(4096);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 37 + 11);
    Bytes junkFirst = Repeat(Core(2, 0), 2);
    junkFirst.insert(junkFirst.begin(), 0);
    const std::pair<Bytes, std::string> cases[] = {
        {Cut(Core(2, 0, [](Ac3Frame& f) { f.frmsizecod = 4; }), 1), "The es file is short."},
        {SwapWords(Repeat(Core(7, 1), 3)), swapped},
        {SwapWords(Repeat(Eac3Frame().Build(), 3)), swapped},
        {garbage, parse},
        {junkFirst, parse},
        {Repeat(Core(2, 0, [](Ac3Frame& f) { f.bsid = 10; }), 2), parse},
        {Repeat(Core(2, 0, [](Ac3Frame& f) { f.fscod = 3, f.lengthBytes = 1536; }), 2), parse},
    };
    for (const auto& [stream, message] : cases) {
        const Thrown t = Catch([&] { Make(stream); });
        EXPECT_TRUE(t.thrown) << message;
        EXPECT_EQ(t.code, 15);
        EXPECT_EQ(t.message, message);
        EXPECT_EQ(t.source, "Ac3Es");
        EXPECT_EQ(t.fileName, esPath);
        EXPECT_EQ(t.detail, message);
    }
    EXPECT_FALSE(Catch([&] { Make(Core(2, 0, [](Ac3Frame& f) { f.frmsizecod = 4; })); }).thrown) << "192 bytes pass";
}

struct ScanCase {
    const char* name;
    Bytes stream;
    uint64_t start;
    bool result;
    std::vector<KivItem> items;
};

class Ac3ScanTest : public Ac3EsTest, public ::testing::WithParamInterface<ScanCase> {};

TEST_P(Ac3ScanTest, ItemsAndResult) {
    auto es = Make(GetParam().stream);
    EXPECT_EQ(es->CreateKiv(Kiv().c_str(), {GetParam().start, 777}), GetParam().result);
    EXPECT_STREQ(es->GetLastErrorMessage(), "");
    es.reset();
    const kiv_test::Kiv kiv = ReadKiv(Kiv());
    EXPECT_EQ(kiv.fileType, 2);
    EXPECT_EQ(kiv.items, GetParam().items);
}

// Two good frames, then a bad header: the scan ends with false and no terminating item.
ScanCase Bad(const char* name, const Bytes& frame) {
    return {name, JoinFrames({Core(2, 0), Core(2, 0), frame, Core(2, 0)}), 0, false, {{0, 1536, 0, 0}, {0, 1536, 2880, 2880}}};
}
// Three frames of which `drop` bytes are cut: a cut frame is left out, the terminating item follows.
ScanCase Cuts(const char* name, size_t drop, uint64_t whole) {
    std::vector<KivItem> items;
    for (uint64_t i = 0; i < whole; ++i) items.push_back({0, 1536, 5 + 2880 * i, 5 + 2880 * i});
    items.push_back({255, 0, 0, 5 + 2880 * whole});
    return {name, Cut(Repeat(Core(2, 0), 3), drop), 5, true, items};
}
const uint64_t k2Pow33 = uint64_t{1} << 33;

INSTANTIATE_TEST_SUITE_P(
    Streams, Ac3ScanTest,
    ::testing::Values(
        ScanCase{"ac3At48kHz", Repeat(Core(2, 0), 3), 1000, true,
                 {{0, 1536, 1000, 1000}, {0, 1536, 3880, 3880}, {0, 1536, 6760, 6760}, {255, 0, 0, 9640}}},
        // Dependent frames take their substream id + 1 as type and the time stamp of the frame before.
        ScanCase{"dependentFrames",
                 Repeat(JoinFrames({Core(7, 1), Enhanced(0, 2, 0), Enhanced(7, 2, 0, 300)}), 2), 0, true,
                 {{0, 1536, 0, 0}, {1, 512, 0, 0}, {8, 600, 0, 0}, {0, 1536, 2880, 2880}, {1, 512, 2880, 2880},
                  {8, 600, 2880, 2880}, {255, 0, 0, 5760}}},
        // Independent E-AC-3 frames step 2880 whatever their block count; an 8-byte frame still counts.
        ScanCase{"independentEac3",
                 JoinFrames({Enhanced(0, 2, 0, 100, [](Eac3Frame& f) { f.strmtyp = 0, f.numblkscod = 0; }),
                             Cut(Enhanced(0, 2, 0, 4, [](Eac3Frame& f) { f.strmtyp = 0; }), 0), Core(2, 0)}),
                 100, true, {{0, 200, 100, 100}, {0, 8, 2980, 2980}, {0, 1536, 5860, 5860}, {255, 0, 0, 8740}}},
        ScanCase{"low33Bits", Repeat(Core(2, 0), 2), k2Pow33 - 1000, true,
                 {{0, 1536, k2Pow33 - 1000, k2Pow33 - 1000}, {0, 1536, 1880, 1880}, {255, 0, 0, 4760}}},
        ScanCase{"ac3At44kHz", Repeat(Core(2, 0, [](Ac3Frame& f) { f.fscod = 1; }), 3), 0, false, {}},
        Bad("syncWord", [] { Bytes b = Core(2, 0); b[1] = 0x78; return b; }()),
        Bad("swappedSync", SwapWords(Core(2, 0))),
        Bad("bsid9", Core(2, 0, [](Ac3Frame& f) { f.bsid = 9; })),
        Bad("bsid0", Core(2, 0, [](Ac3Frame& f) { f.bsid = 0; })),
        Bad("fscod2", Core(2, 0, [](Ac3Frame& f) { f.fscod = 2; })),
        Bad("frmsizecod38", Core(2, 0, [](Ac3Frame& f) { f.frmsizecod = 38, f.lengthBytes = 1536; })),
        Bad("strmtyp3", Enhanced(0, 2, 0, 256, [](Eac3Frame& f) { f.strmtyp = 3; })),
        Bad("eac3SixBytes", Enhanced(0, 2, 0, 3)),
        Cuts("oneByte", 1, 2), Cuts("insideHeader", 1536 - 3, 2), Cuts("headerOnly", 1536 - 7, 2),
        Cuts("wholeFrame", 1536, 2), Cuts("none", 0, 3)),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Ac3EsTest, CreateKivFailuresThrowBeforeTheFileIsWritten) {
    auto es = Make(Repeat(Core(2, 0), 2));
    const std::string missing = dir.File("missing/a.kiv");
    const struct {
        const char* path;
        std::vector<uint64_t> starts;
        int code;
        std::string message;
    } cases[] = {{Kiv().c_str(), {}, 6, "\nstart pts is not set."},
                 {missing.c_str(), {0}, 10, "\nfile open error.(file name = " + missing + ")"},
                 {nullptr, {0}, 10, "\nfile open error.(file name = (null))"}};
    for (const auto& c : cases) {
        const Thrown t = Catch([&] { es->CreateKiv(c.path, c.starts); });
        EXPECT_TRUE(t.thrown);
        EXPECT_EQ(t.code, c.code);
        EXPECT_EQ(t.message, c.message);
        EXPECT_EQ(t.source, "Ac3Es");
        EXPECT_FALSE(std::filesystem::exists(Kiv()));
    }
}

// Progress after each frame, none after the terminating item; an abort is seen at the first poll.
TEST_F(Ac3EsTest, NoticePollsAfterEachFrame) {
    const Bytes s = JoinFrames({Core(2, 0), Enhanced(0, 2, 0), Core(2, 0)});
    auto es = Make(s);
    RecordingNotice notice;
    es->SetNotice(&notice);
    ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {0}));
    EXPECT_EQ(notice.progress, (std::vector<int64_t>{1536, 2048, 3584}));
    EXPECT_EQ(notice.totals, std::vector<int64_t>(3, static_cast<int64_t>(s.size())));
    EXPECT_EQ(notice.polls, 3);
    ASSERT_TRUE(es->CreateKiv(Kiv().c_str(), {0})) << "a second scan starts again at the first frame";
    EXPECT_EQ(ReadKiv(Kiv()).items.size(), 4u);
    RecordingNotice aborting(0);
    es->SetNotice(&aborting);
    const Thrown t = Catch([&] { es->CreateKiv(Kiv().c_str(), {0}); });
    EXPECT_EQ(t.message, "abort end.");
    EXPECT_EQ(t.code, 0);
    EXPECT_EQ(t.fileName + t.detail, "");
    EXPECT_TRUE(aborting.progress.empty());
    es.reset();
    EXPECT_EQ(ReadKiv(Kiv()).items, (std::vector<KivItem>{{0, 1536, 0, 0}}));
}

// Attribute values and the report lines the bundled samples do not show: the second frame's values,
// the optional language lines, the dual-mono fields and the channel map.
TEST_F(Ac3EsTest, ReportAndXmlValues) {
    const Bytes first = Core(2, 0, [](Ac3Frame& f) { f.frmsizecod = 18, f.bsmod = 1, f.dsurmod = 2; });
    const Bytes second = Core(7, 1, [](Ac3Frame& f) {
        f.frmsizecod = 36, f.bsid = 6, f.bsmod = 2, f.compre = 1, f.langcode = 1, f.langcod = 9, f.audprodie = 1;
    });
    auto es = Make(JoinFrames({first, second, first}));
    EXPECT_EQ(Report(*es),
              "[Legacy Core] : EXIST\r\n[fscod] : 0\r\n[frmsizecod] : 36\r\n[bsid] : 6\r\n[bsmod] : 2\r\n[acmod] : 7\r\n"
              "[lfeon] : 1\r\n[dsurmod] : 0\r\n[compre] : 1\r\n[langcode] : 1\r\n[langcod] : 9\r\n[audprodie] : 1\r\n"
              "[compr2e] : 0\r\n[langcod2e] : 0\r\n[fullSvc] : 0\r\n\r\n[Substream0] : NO EXIST\r\n");
    CL_CString xml;
    es->GetXmlText(xml);
    EXPECT_NE(std::string(xml.GetString()).find("<bsid>6</bsid>\n    <bit_rate_code>18</bit_rate_code>\n    <dsurmod>0<"
                                                 "/dsurmod>\n    <bsmod>2</bsmod>\n    <acmod>7</acmod>\n    <lfeon>1<"
                                                 "/lfeon>\n    <fullSvc>0</fullSvc>\n    <langcod>9</langcod>"),
              std::string::npos);
    const Bytes dualMono = Core(0, 0, [](Ac3Frame& f) { f.dsurmod = 3, f.langcod2e = 1, f.langcod2 = 77, f.compr2e = 1; });
    const Bytes mapped = Enhanced(0, 2, 1, 256, [](Eac3Frame& f) { f.chanmape = 1, f.chanmap = 0x1234; });
    es = Make(JoinFrames({dualMono, mapped, dualMono}));
    const std::string report = Report(*es);
    EXPECT_NE(report.find("[dsurmod] : 0\r\n[compre] : 0\r\n[langcode] : 0\r\n[audprodie] : 0\r\n[compr2e] : 1\r\n"
                          "[langcod2e] : 1\r\n[langcod2] : 77\r\n[fullSvc] : 0\r\n\r\n[Substream0] : EXIST\r\n"
                          "[fscod] : 0\r\n[acmod] : 2\r\n[lfeon] : 1\r\n[chanmape] : 1\r\n[chanmap] : 4660\r\n"),
              std::string::npos)
        << report;
    es->GetXmlText(xml);
    EXPECT_NE(std::string(xml.GetString()).find("<langcod>255</langcod>\n    <langcod2>77</langcod2>"), std::string::npos);
}

// The banner above the report for channel combinations the check refuses.
TEST_F(Ac3EsTest, ChannelCombinationBanner) {
    const auto withDependent = [](uint32_t acmod, uint32_t lfeon, const Bytes& dep) {
        return JoinFrames({Core(acmod, lfeon), dep, Core(acmod, lfeon)});
    };
    const auto dependentFirst = [](uint32_t acmod, uint32_t lfeon, uint16_t chanmap) {
        return Repeat(Enhanced(0, acmod, lfeon, 256, [chanmap](Eac3Frame& f) { f.chanmape = 1, f.chanmap = chanmap; }), 2);
    };
    const std::pair<Bytes, bool> cases[] = {
        {withDependent(2, 0, Enhanced(0, 2, 0)), true},   {withDependent(7, 1, Enhanced(0, 2, 0)), false},
        {withDependent(1, 0, Enhanced(0, 1, 0)), true},   {withDependent(0, 0, Enhanced(0, 2, 0)), true},
        {withDependent(3, 0, Enhanced(0, 2, 0)), false},  {withDependent(2, 1, Enhanced(0, 2, 0)), false},
        {Repeat(Core(1, 0), 2), false},                    {Repeat(Core(0, 0), 2), false},
        {Repeat(Core(4, 0), 2), false},                    {Repeat(Core(1, 1), 2), false},
        {Repeat(Enhanced(0, 1, 0, 256, [](Eac3Frame& f) { f.strmtyp = 0; }), 2), false},
        {dependentFirst(7, 1, 0), true},                   {dependentFirst(7, 1, 0x5), false},
        {dependentFirst(7, 1, 0x8000), false},             {dependentFirst(7, 0, 0x4000), false},
    };
    const std::string banner = "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
                               "combinations of channels is invalid.\r\n"
                               "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n\r\n[Legacy Core]";
    int row = 0;
    for (const auto& [stream, shown] : cases) {
        const std::string report = Report(*Make(stream));
        EXPECT_EQ(report.rfind(shown ? banner : "[Legacy Core]", 0), 0u) << "row " << row++;
    }
}

}  // namespace
