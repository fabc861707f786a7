// Every audio kind: the exception an unusable stream throws, and clips encoded by ffmpeg at test time checked
// against ffprobe's packet list (one item per packet, same sizes, a fixed step) and the attributes it reports.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "CEsFactoryTable.h"
#include "KivCreator.h"
#include "foundation/CTsMuxException.h"
#include "support/Ffprobe.h"
#include "support/KivReader.h"

namespace kiv_test {
namespace {

using kiv_comp::CKivCreator;
using Bytes = std::vector<uint8_t>;
constexpr auto kAc3 = CKivCreator::ES_TYPE_AC3, kDts = CKivCreator::ES_TYPE_DTS, kMlp = CKivCreator::ES_TYPE_MLP;

std::unique_ptr<ts_comp::es::CEs> Make(CKivCreator::ES_TYPE type, const std::string& path) {
    return ts_comp::api::CEsFactoryTable::BuiltIn().Find(type)(PRIVATE_LIBRARY::CL_CString(path.c_str()));
}

TEST(AudioEs, UnusableStreamThrowsCode15WithPathAndMessage) {
    const char* const invalid = "The es attribute is invalid.(parse error)";
    const struct {
        CKivCreator::ES_TYPE type;
        Bytes stream;
        const char *message, *source;
    } rows[] = {{kAc3, Bytes(191, 0x0B), "The es file is short.", "Ac3Es"},
                {CKivCreator::ES_TYPE_HDMV_LPCM, {}, "The es file is short.", "HdmvLpcmEs"},
                {kDts, Bytes(192, 0x7F), invalid, "DtsHDEs"},
                {kMlp, Bytes(192, 0), invalid, "MlpEs"}, {CKivCreator::ES_TYPE_DRA, Bytes(192, 0x7F), invalid, "DraEs"}};
    for (const auto& row : rows) {
        TempDir dir;
        const std::string path = dir.Write("in.es", row.stream);
        try {
            Make(row.type, path);
            ADD_FAILURE() << row.source << " accepted " << row.message;
        } catch (const ts_comp::CTsMuxException& e) {
            PRIVATE_LIBRARY::CL_CString message;
            e.GetErrorMessage(message);
            EXPECT_EQ(std::vector<std::string>({message.GetString(), e.GetSourceFile(), e.GetFileName(), e.GetDetail()}),
                      std::vector<std::string>({row.message, row.source, path, row.message}));
            EXPECT_EQ(e.GetErrorCode(), 15) << row.source;
        }
    }
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
    PRIVATE_LIBRARY::CL_CString xml;
    Make(row.type, es)->GetXmlText(xml);
    std::istringstream fragments(row.xml);
    for (std::string f; fragments >> f;) EXPECT_NE(std::string(xml.GetString()).find(f), std::string::npos) << f << xml.GetString();
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
