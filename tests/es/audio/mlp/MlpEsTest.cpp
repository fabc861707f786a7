// CMlpEs: time stamps, item types and sizes, refused and cut-off streams, the report and the XML document.
#include <gtest/gtest.h>

#include "es/audio/ac3/Ac3TestSupport.h"
#include "es/audio/mlp/CMlpEs.h"
#include "foundation/CTsMuxException.h"
#include "support/MlpBuilder.h"

using namespace kiv_test;
using PRIVATE_LIBRARY::CL_CString;

namespace {

// A unit with a major sync (114 bytes) and one without (86 bytes).
MlpUnit Sync(unsigned input, unsigned output, uint32_t code = 0) { return {input, true, code << 28, {{1, 1, output}}}; }
MlpUnit Plain(unsigned input, unsigned lengthWords = 0) { return {input, false, 0, {{}}, lengthWords}; }
MlpUnit Subs(std::vector<MlpSubstream> subs, uint32_t info = 0) { return {0, true, info, std::move(subs)}; }

std::string Write(TempDir& dir, const std::vector<MlpUnit>& units, size_t cut = 0) {
    std::vector<uint8_t> bytes;
    for (const MlpUnit& u : units) u.AppendTo(bytes);
    if (cut) bytes.resize(cut);
    return dir.Write("a.thd", bytes);
}

// "code message" of a CTsMuxException, "" when f throws none.
template <typename F>
std::string Thrown(F f) {
    try {
        f();
    } catch (const ts_comp::CTsMuxException& e) {
        CL_CString m;
        e.GetMessage(m);
        return std::to_string(e.GetErrorCode()) + " " + m.GetString();
    }
    return "";
}

struct KivCase {
    const char* name;
    std::vector<MlpUnit> units;
    std::vector<uint64_t> start;
    const char* items;  // type/size/dts/pts of each item
    const char* message = "";
    size_t cut = 0;
};

class MlpKivTest : public ::testing::TestWithParam<KivCase> {};

TEST_P(MlpKivTest, ItemsAndMessage) {
    const KivCase& c = GetParam();
    TempDir dir;
    ts_comp::es::CMlpEs es{CL_CString(Write(dir, c.units, c.cut).c_str())};
    bool result = false;
    std::string message = Thrown([&] { result = es.CreateKiv(dir.File("a.kiv").c_str(), c.start); });
    if (message.empty()) message = es.GetLastErrorMessage();
    std::string items;
    for (const AudioItem& i : ReadAudioKiv(dir.File("a.kiv")).items) {
        items += " " + std::to_string(i.type) + "/" + std::to_string(i.size) + "/" + std::to_string(i.dts) + "/" +
                 std::to_string(i.pts);
    }
    EXPECT_EQ(items, c.items);
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(result, items.find(" 255/") != std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, MlpKivTest,
    ::testing::Values(
        KivCase{"delay64At48k", {Sync(0, 64), Plain(40), Plain(80)}, {1000}, " 1/114/880/1000 0/86/955/1075 0/86/1030/1150 255/0/0/1225"},
        KivCase{"inputWraps", {Sync(65532, 36), Plain(36), Plain(76)}, {90000}, " 1/114/89925/90000 0/86/90000/90075 0/86/90075/90150 255/0/0/90225"},
        KivCase{"zeroDelay", {Sync(500, 500), Plain(540)}, {1000}, " 1/114/1000/1000 0/86/1075/1075 255/0/0/1150"},
        KivCase{"steps96k", {Sync(100, 180, 1), Plain(180), Plain(260)}, {5000}, " 1/114/4925/5000 0/86/5000/5075 0/86/5075/5150 255/0/0/5225"},
        KivCase{"truncated48k", {Sync(0, 41), Plain(40), Plain(80)}, {1000}, " 1/114/924/1000 0/86/999/1075 0/86/1074/1150 255/0/0/1225"},
        KivCase{"truncated192k", {Sync(0, 3, 2), Plain(160), Plain(320)}, {1000}, " 1/114/999/1000 0/86/1074/1075 0/86/1149/1150 255/0/0/1225"},
        KivCase{"dtsWrapsBelowZero", {Sync(0, 64), Plain(40), Plain(80)}, {0}, " 1/114/8589934472/0 0/86/8589934547/75 0/86/30/150 255/0/0/225"},
        KivCase{"latestRate", {Sync(0, 64), Plain(40), Sync(80, 0, 1)}, {1000}, " 1/114/880/1000 0/86/955/1075 1/114/955/1090 255/0/0/1225"},
        KivCase{"code3", {Sync(0, 64), Plain(40), Sync(80, 0, 3)}, {1000}, " 1/114/880/1000 0/86/955/1075", "15 \nA sampling frequency is 0.(au = 2)"},
        KivCase{"twoStartPts", {Sync(0, 64), Plain(40), Plain(80)}, {0, 1}, ""},
        KivCase{"lengthPastEnd", {Sync(0, 64), Plain(40), Plain(80, 44)}, {1000}, " 1/114/880/1000 0/86/955/1075", "\nThe es file ends inside an access unit. (pos = 200[byte])"},
        KivCase{"fieldsCutOff", {Sync(0, 64), Plain(40), Sync(80, 64)}, {1000}, " 1/114/880/1000 0/86/955/1075", "\nThe es file ends inside an access unit. (pos = 200[byte])", 220},
        KivCase{"shorterThanHead", {Sync(0, 64), Plain(40, 1), Plain(80)}, {1000}, " 1/114/880/1000", "\nAn access unit is shorter than its own header. (pos = 114[byte])"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MlpEsTest, RefusedHeads) {
    const std::pair<std::vector<MlpUnit>, size_t> heads[] = {
        {{Plain(0), Plain(40), Plain(80)}, 258},           {{Subs({{1, 0}}), Plain(40)}, 200},
        {{Subs({{0, 1}}), Plain(40)}, 200},                {{Subs({{1, 1, 0, 1, 120}, {}})}, 270},
        {{Sync(0, 64), Plain(40), Plain(80)}, 191}};
    for (const auto& [units, cut] : heads) {
        TempDir dir;
        EXPECT_EQ(Thrown([&] { ts_comp::es::CMlpEs es{CL_CString(Write(dir, units, cut).c_str())}; }),
                  cut == 191 ? "15 The es file is short." : "15 The es attribute is invalid.(parse error)") << cut;
    }
}

TEST(MlpEsTest, ReportAndXml) {
    TempDir dir;
    const MlpUnit u = Subs({{1, 1, 0, 5}, {1, 1, 0, 7}, {0}}, 0x300A9001);
    ts_comp::es::CMlpEs es{CL_CString(Write(dir, {u, u}).c_str())};
    CL_CString report("x"), xml;
    es.GetReportText(report);
    es.GetXmlText(xml);
    EXPECT_STREQ(report.GetString(), "x[audio_sampling_frequency] : 3   <--- error\r\n[_6ch_decorder_channel_assignment] : 21\r\n"
                                     "[_8ch_decorder_channel_assignment] : 4097\r\n[restart_header_exists] : 1\r\n"
                                     "[substreams] : 3\r\n[max_chan0] : 5\r\n[max_chan1] : 7\r\n[max_chan2] : 0\r\n");
    EXPECT_STREQ(xml.GetString(),
                 "<?xml version=\"1.0\" standalone=\"yes\"?>\n<MLP xmlns=\"urn:kiv:es-attribute:1.0\">\n  <parameter>\n"
                 "    <audio_sampling_frequency>3</audio_sampling_frequency>\n"
                 "    <_6ch_decorder_channel_assignment>21</_6ch_decorder_channel_assignment>\n"
                 "    <_8ch_decorder_channel_assignment>4097</_8ch_decorder_channel_assignment>\n"
                 "    <restart_header_exists>1</restart_header_exists>\n    <substreams>3</substreams>\n"
                 "    <max_chan0>5</max_chan0>\n    <max_chan1>7</max_chan1>\n    <max_chan2>0</max_chan2>\n"
                 "  </parameter>\n</MLP>\n");
}

}  // namespace
