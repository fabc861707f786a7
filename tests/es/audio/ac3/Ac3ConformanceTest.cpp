// Streams encoded by ffmpeg at test time, checked against ffprobe's packet list and stream attributes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "Ac3TestSupport.h"
#include "es/audio/ac3/CAc3Es.h"
#include "support/TempDir.h"

using namespace kiv_test;
using PRIVATE_LIBRARY::CL_CString;

namespace {

bool HaveTool(const char* name) {
    const std::string probe = std::string("command -v ") + name + " > /dev/null 2>&1";
    return std::system(probe.c_str()) == 0;
}

std::string Capture(const std::string& command) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (p == nullptr) return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

struct Packet {
    uint64_t pts;
    uint64_t size;
};

std::vector<Packet> ProbePackets(const std::string& path) {
    std::istringstream in(Capture("ffprobe -v error -show_entries packet=pts,size -of csv=p=0 '" + path + "'"));
    std::vector<Packet> packets;
    std::string line;
    while (std::getline(in, line)) {
        const size_t comma = line.find(',');
        if (comma == std::string::npos) continue;
        packets.push_back({std::stoull(line.substr(0, comma)), std::stoull(line.substr(comma + 1))});
    }
    return packets;
}

std::string ProbeStream(const std::string& path, const char* entry) {
    std::string v = Capture("ffprobe -v error -show_entries stream=" + std::string(entry) +
                            " -of default=nw=1:nk=1 '" + path + "'");
    while (!v.empty() && (v.back() == '\n' || v.back() == '\r')) v.pop_back();
    return v;
}

std::string XmlValue(const std::string& xml, const std::string& element, size_t from = 0) {
    const std::string open = "<" + element + ">";
    const size_t at = xml.find(open, from);
    if (at == std::string::npos) return "";
    const size_t start = at + open.size();
    return xml.substr(start, xml.find('<', start) - start);
}

struct EncodeCase {
    const char* name;
    const char* codec;
    int channels;
    const char* bitRate;
};

class Ac3ConformanceTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(Ac3ConformanceTest, ItemsMatchFfprobePackets) {
    if (!HaveTool("ffmpeg") || !HaveTool("ffprobe")) GTEST_SKIP() << "ffmpeg or ffprobe is not installed";
    const EncodeCase& c = GetParam();
    TempDir dir;
    const std::string es = dir.File(std::string("clip.") + c.codec);
    const std::string command = std::string("ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i ") +
                                "'sine=frequency=997:sample_rate=48000:duration=0.7' -ac " +
                                std::to_string(c.channels) + " -c:a " + c.codec + " -b:a " + c.bitRate + " -f " +
                                c.codec + " '" + es + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    ts_comp::es::CAc3Es analyser{CL_CString(es.c_str())};
    const std::string kiv = dir.File("clip.kiv");
    ASSERT_TRUE(analyser.CreateKiv(kiv.c_str(), {0}));
    const AudioKivFile f = ReadAudioKiv(kiv);
    const std::vector<Packet> packets = ProbePackets(es);
    ASSERT_FALSE(packets.empty());
    ASSERT_EQ(f.items.size(), packets.size() + 1);
    uint64_t total = 0;
    for (size_t i = 0; i < packets.size(); ++i) {
        EXPECT_EQ(f.items[i].size, packets[i].size) << i;
        EXPECT_EQ(f.items[i].type, 0u) << i;
        EXPECT_EQ(f.items[i].pts, 2880 * i) << i;
        EXPECT_EQ(f.items[i].pts, packets[i].pts) << i;
        EXPECT_EQ(f.items[i].dts, f.items[i].pts) << i;
        total += f.items[i].size;
    }
    EXPECT_EQ(total, TempDir::Read(es).size());
    EXPECT_EQ(f.items.back(), (AudioItem{255, 0, 0, 2880 * packets.size(), 0}));

    CL_CString text;
    analyser.GetXmlText(text);
    const std::string xml = text.GetString();
    const size_t sub = xml.find("<substream0_parameter>");
    ASSERT_NE(sub, std::string::npos);
    EXPECT_EQ(ProbeStream(es, "sample_rate"), "48000");
    EXPECT_EQ(XmlValue(xml, "sample_rate_code"), "0");
    const std::string layout = ProbeStream(es, "channel_layout");
    const bool lfe = layout.find("5.1") != std::string::npos;
    const std::string acmod = layout == "mono" ? "1" : layout == "stereo" ? "2" : lfe ? "7" : "?";
    EXPECT_EQ(XmlValue(xml, "acmod"), acmod) << layout;
    if (std::string(c.codec) == "ac3") {
        EXPECT_EQ(ProbeStream(es, "codec_name"), "ac3");
        EXPECT_EQ(XmlValue(xml, "bsid"), "8");
        EXPECT_EQ(XmlValue(xml, "lfeon"), lfe ? "1" : "0");
        EXPECT_EQ(XmlValue(xml, "substream0_flag"), "0");
        const uint64_t kbps = std::stoull(c.bitRate);
        const std::string codes[] = {"32", "40", "48", "56", "64", "80", "96", "112", "128", "160",
                                     "192", "224", "256", "320", "384", "448", "512", "576", "640"};
        size_t code = 0;
        while (code < 19 && std::stoull(codes[code]) != kbps) ++code;
        EXPECT_EQ(XmlValue(xml, "bit_rate_code"), std::to_string(code));
        EXPECT_EQ(ProbeStream(es, "bit_rate"), std::to_string(kbps * 1000));
    } else {
        EXPECT_EQ(ProbeStream(es, "codec_name"), "eac3");
        EXPECT_EQ(XmlValue(xml, "bsid"), "16");
        EXPECT_EQ(XmlValue(xml, "lfeon"), "0");
        EXPECT_EQ(XmlValue(xml, "substream0_flag"), "1");
        EXPECT_EQ(XmlValue(xml, "fscod", sub), "0");
        EXPECT_EQ(XmlValue(xml, "acmod", sub), acmod);
        EXPECT_EQ(XmlValue(xml, "lfeon", sub), lfe ? "1" : "0");
    }
}

INSTANTIATE_TEST_SUITE_P(Encoders, Ac3ConformanceTest,
                         ::testing::Values(EncodeCase{"ac3Mono96", "ac3", 1, "96k"},
                                           EncodeCase{"ac3Stereo192", "ac3", 2, "192k"},
                                           EncodeCase{"ac3Stereo640", "ac3", 2, "640k"},
                                           EncodeCase{"ac3FiveOne448", "ac3", 6, "448k"},
                                           EncodeCase{"ac3FiveOne640", "ac3", 6, "640k"},
                                           EncodeCase{"eac3Stereo96", "eac3", 2, "96k"},
                                           EncodeCase{"eac3Stereo192", "eac3", 2, "192k"},
                                           EncodeCase{"eac3FiveOne384", "eac3", 6, "384k"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
