// Streams encoded by ffmpeg at test time, checked against ffprobe's packet list and stream attributes.
#include <gtest/gtest.h>

#include <string>

#include "es/audio/ac3/CAc3Es.h"
#include "support/Ffmpeg.h"
#include "support/KivReader.h"
#include "support/TempDir.h"

namespace {

using kiv_test::KivItem;

std::string XmlValue(const std::string& xml, const std::string& element, size_t from = 0) {
    const size_t at = xml.find("<" + element + ">", from);
    if (at == std::string::npos) return "";
    const size_t start = at + element.size() + 2;
    return xml.substr(start, xml.find('<', start) - start);
}

struct EncodeCase {
    const char* codec;
    int channels;
    const char* bitRate;
    const char* bitRateCode;  // AC-3 only
};

class Ac3Conformance : public ::testing::TestWithParam<EncodeCase> {};

// Items: ffprobe's packet sizes and pts, 2880 ticks apart; XML: the layout ffprobe reports.
TEST_P(Ac3Conformance, ItemsAndAttributesMatchFfprobe) {
    if (!kiv_test::HaveFfmpeg()) GTEST_SKIP() << "ffmpeg or ffprobe is not installed";
    const EncodeCase& c = GetParam();
    kiv_test::TempDir dir;
    const std::string es = dir.File(std::string("clip.") + c.codec);
    ASSERT_TRUE(kiv_test::Encode("-f lavfi -i sine=frequency=997:sample_rate=48000:duration=0.7 -ac " +
                                     std::to_string(c.channels) + " -c:a " + c.codec + " -b:a " + c.bitRate + " -f " +
                                     c.codec,
                                 es));
    ts_comp::es::CAc3Es analyser{PRIVATE_LIBRARY::CL_CString(es.c_str())};
    ASSERT_TRUE(analyser.CreateKiv(dir.File("clip.kiv").c_str(), {0}));
    const std::vector<KivItem> items = kiv_test::ReadKiv(dir.File("clip.kiv")).items;
    const std::vector<std::string> packets = kiv_test::Probe(es, "packet=pts,size");
    ASSERT_EQ(items.size(), packets.size() / 2 + 1);
    uint64_t total = 0;
    for (size_t i = 0; i + 1 < items.size(); ++i) {
        EXPECT_EQ(std::to_string(items[i].pts), packets[2 * i]) << i;
        EXPECT_EQ(std::to_string(items[i].size), packets[2 * i + 1]) << i;
        EXPECT_EQ(items[i], (KivItem{0, items[i].size, 2880 * i, 2880 * i})) << i;
        total += items[i].size;
    }
    EXPECT_EQ(total, kiv_test::TempDir::Read(es).size());
    EXPECT_EQ(items.back(), (KivItem{255, 0, 0, 2880 * (items.size() - 1)}));

    PRIVATE_LIBRARY::CL_CString text;
    analyser.GetXmlText(text);
    const std::string xml = text.GetString();
    const bool eac3 = std::string(c.codec) == "eac3";
    const std::string layout = kiv_test::Probe(es, "stream=channel_layout").at(0);
    const bool lfe = layout.find("5.1") != std::string::npos;
    const std::string acmod = layout == "mono" ? "1" : layout == "stereo" ? "2" : lfe ? "7" : "?";
    const size_t sub = xml.find("<substream0_parameter>");
    EXPECT_EQ(kiv_test::Probe(es, "stream=sample_rate").at(0), "48000");
    EXPECT_EQ(XmlValue(xml, "sample_rate_code"), "0");
    EXPECT_EQ(XmlValue(xml, "acmod"), acmod) << layout;
    EXPECT_EQ(XmlValue(xml, "bsid"), eac3 ? "16" : "8");
    EXPECT_EQ(XmlValue(xml, "lfeon"), lfe && !eac3 ? "1" : "0");
    EXPECT_EQ(XmlValue(xml, "substream0_flag"), eac3 ? "1" : "0");
    EXPECT_EQ(XmlValue(xml, "bit_rate_code"), c.bitRateCode);
    EXPECT_EQ(XmlValue(xml, "acmod", sub), eac3 ? acmod : "0");
    EXPECT_EQ(XmlValue(xml, "lfeon", sub), eac3 && lfe ? "1" : "0");
}

INSTANTIATE_TEST_SUITE_P(Encoders, Ac3Conformance,
                         ::testing::Values(EncodeCase{"ac3", 1, "96k", "6"}, EncodeCase{"ac3", 2, "640k", "18"},
                                           EncodeCase{"ac3", 6, "448k", "15"}, EncodeCase{"eac3", 2, "96k", "0"},
                                           EncodeCase{"eac3", 6, "384k", "0"}));

}  // namespace
