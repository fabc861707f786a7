// Codes of the VC-1 analyser, the frames per entry point that CreateKiv counts, and the report texts that
// the bundled sample does not show; its items are in the creator table (tests/api).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "es/video/vc1/CVc1VideoEs.h"
#include "support/TempDir.h"
#include "support/Vc1Builder.h"

namespace {

using kiv_test::Vc1Builder;
using kiv_test::Vc1Sequence;
using PRIVATE_LIBRARY::CL_CString;

Vc1Sequence Display(uint16_t width, uint16_t height, uint8_t interlace, uint8_t aspect, uint8_t nr, uint8_t dr) {
    Vc1Sequence s;
    s.dispWidth = width, s.dispHeight = height, s.interlace = interlace, s.aspect = aspect;
    s.frameRateNr = nr, s.frameRateDr = dr;
    return s;
}

// The XML text (or the report) of the stream, after indexing it when kiv is true.
std::string Text(const std::vector<uint8_t>& stream, bool xml, bool kiv = false) {
    kiv_test::TempDir dir;
    ts_comp::es::CVc1VideoEs analyser{CL_CString(dir.Write("a.vc1", stream).c_str())};
    if (kiv) { EXPECT_TRUE(analyser.CreateKiv(dir.File("a.kiv").c_str(), {0})); }
    CL_CString text;
    xml ? analyser.GetXmlText(text) : analyser.GetReportText(text);
    return text.GetString();
}

TEST(Vc1Texts, CodesOfFormatRateAndAspect) {
    const struct {
        Vc1Sequence s;
        int format, rate, aspect;
    } rows[] = {
        {Display(719, 479, 1, 3, 1, 2), 1, 1, 2}, {Display(719, 575, 1, 4, 2, 1), 2, 3, 3},
        {Display(719, 575, 0, 2, 4, 1), 7, 6, 2}, {Display(1279, 719, 0, 1, 5, 2), 5, 7, 3},
        {Display(1279, 719, 1, 2, 3, 2), 0, 4, 0}, {Display(1919, 1079, 1, 15, 1, 1), 4, 2, 3},
        {Display(719, 479, 0, 5, 7, 1), 3, 0, 3}, {Display(1439, 1079, 0, 1, 2, 3), 6, 0, 0},
    };
    for (const auto& r : rows) {
        char codes[120];
        std::snprintf(codes, sizeof codes, "<video_format>%d</video_format>\n<frame_rate>%d</frame_rate>\n"
                      "<aspect_ratio>%d<", r.format, r.rate, r.aspect);
        EXPECT_NE(Text(Vc1Builder().Head(r.s).Script("I").Bytes(), true).find(codes), std::string::npos) << codes;
    }
}

TEST(Vc1Texts, FramesPerEntryPointAndUnsetFields) {
    // Six fields before the second entry point, two after it.
    const std::vector<uint8_t> stream = Vc1Builder().Head(Display(719, 479, 1, 3, 1, 2)).Script("I P B N I").Bytes();
    EXPECT_NE(Text(stream, true, true).find("<maximum_number_of_frames_display_in_an_EPS>3<"), std::string::npos);
    EXPECT_NE(Text(stream, false).find("\r\n[FRAME_RATE] :  23.976\r\n"), std::string::npos);
    EXPECT_EQ(Text(Vc1Builder().Script("Hd I").Bytes(), false),
              "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
              "combinations of parameters for video_format is invalid.\r\n"
              "combinations of parameters for aspect_ratio is invalid.\r\n"
              "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
              "[DISP_HORIZ_SIZE] : no exist\r\n[DISP_VERT_SIZE] : no exist\r\n[ASPECT_RATIO] : no exist\r\n"
              "[INTERLACE] : 0\r\n[FRAME_RATE] : no exist\r\n[level] : 3\r\n");
}

}  // namespace
