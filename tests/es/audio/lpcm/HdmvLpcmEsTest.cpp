// HDMV LPCM beyond the creator rows: the first header's values in the report (codes outside the accepted sets
// marked; the sample shows the XML), a second run on one analyser, a null path and a full disk (false, no text).
#include "es/audio/lpcm/CHdmvLpcmEs.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/KivReader.h"
#include "support/LpcmBuilder.h"

namespace kiv_test {
namespace {

using PRIVATE_LIBRARY::CL_CString;
using ts_comp::es::CHdmvLpcmEs;

TEST(HdmvLpcmEs, ReportValuesAndMarksOfTheFirstHeader) {
    const struct {
        std::vector<uint8_t> head;  // padded with 0xFF to 192 bytes
        int payload, channels, frequency, bits;
        const char* marks;  // channel, frequency, bits: 'x' marked
    } rows[] = {{{0x00, 0xBC, 0x31, 0x40}, 188, 3, 1, 1, "..."},     {{0xAB, 0xCD, 0x9F, 0xFF}, 0xABCD, 9, 15, 3, ".x."},
                {{0x10, 0x00, 0xB5, 0xBF}, 0x1000, 11, 5, 2, "..."}, {{0xFF, 0xFF, 0x21, 0x00}, 0xFFFF, 2, 1, 0, "x.x"},
                {{0x10, 0xE0, 0x14, 0x80}, 4320, 1, 4, 2, "..."},    {{0x10, 0xE0, 0x00, 0x00}, 4320, 0, 0, 0, "xxx"},
                {{0x10, 0xE0, 0xC6, 0x40}, 4320, 12, 6, 1, "xx."},   {{0x10, 0xE0, 0x23, 0x80}, 4320, 2, 3, 2, "xx."},
                {{0x10, 0xE0, 0xFF, 0xC0}, 4320, 15, 15, 3, "xx."},  {{0x10, 0xE0, 0xA4, 0x40}, 4320, 10, 4, 1, "..."}};
    for (const auto& r : rows) {
        TempDir dir;
        std::vector<uint8_t> head = r.head;
        head.resize(192, 0xFF);
        CHdmvLpcmEs es{CL_CString(dir.Write("in.lpcm", head).c_str())};
        const auto line = [&](const char* name, int value, int i) {
            return std::string(name) + " : " + std::to_string(value) + (r.marks[i] == 'x' ? "   <--- error" : "") + "\r\n";
        };
        CL_CString out("before\r\n");
        es.GetReportText(out);
        EXPECT_EQ(std::string(out.GetString()), "before\r\n[audio_data_payload_size] : " + std::to_string(r.payload) + "\r\n" +
                                                    line("[channel_assignment]", r.channels, 0) +
                                                    line("[sampling_frequency]", r.frequency, 1) + line("[bits_per_sample]", r.bits, 2));
    }
}

TEST(HdmvLpcmEs, SecondRunNullPathAndFullDisk) {
    TempDir dir;
    const std::string kiv = dir.File("out.kiv");
    CHdmvLpcmEs es{CL_CString(dir.Write("in.lpcm", LpcmBuilder().Frame(100).Frame(0).Frame(300).Take()).c_str())};
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(es.CreateKiv(kiv.c_str(), {0}));
        EXPECT_EQ(ReadKiv(kiv).items.size(), 4u) << "run " << run;
    }
    EXPECT_FALSE(es.CreateKiv(nullptr, {0}));
    EXPECT_STREQ(es.GetLastErrorMessage(), "");
    if (!std::filesystem::exists("/dev/full")) return;
    LpcmBuilder b;
    for (int i = 0; i < 20000; ++i) b.Frame(0);  // more items than one buffer of the writer holds
    CHdmvLpcmEs full{CL_CString(dir.Write("full.lpcm", b.Take()).c_str())};
    EXPECT_FALSE(full.CreateKiv("/dev/full", {0}));
    EXPECT_STREQ(full.GetLastErrorMessage(), "");
}

}  // namespace
}  // namespace kiv_test
