// Report and XML texts of the VC-1 analyser; its items are in the creator table (tests/api).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "es/video/vc1/CVc1VideoEs.h"
#include "support/TempDir.h"
#include "support/Vc1Builder.h"

namespace {

using namespace ts_comp;
using kiv_test::TempDir;
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
    TempDir dir;
    es::CVc1VideoEs analyser{CL_CString(dir.Write("a.vc1", stream).c_str())};
    if (kiv) {
        EXPECT_TRUE(analyser.CreateKiv(dir.File("a.kiv").c_str(), {0}));
    }
    CL_CString text;
    xml ? analyser.GetXmlText(text) : analyser.GetReportText(text);
    return text.GetString();
}

TEST(Vc1Texts, XmlAfterIndexingAndReport) {
    // Six fields before the second entry point, two after it.
    const std::vector<uint8_t> stream = Vc1Builder().Head(Display(719, 479, 1, 3, 1, 2)).Script("I P B N I").Bytes();
    EXPECT_EQ(Text(stream, true, true),
              "<?xml version=\"1.0\" standalone=\"yes\"?>\n<VC1ES xmlns=\"urn:kiv:es-attribute:1.0\">\n<parameter>\n"
              "<video_format>1</video_format>\n<frame_rate>1</frame_rate>\n<aspect_ratio>2</aspect_ratio>\n"
              "<interlace>1</interlace>\n<level>3</level>\n"
              "<maximum_number_of_frames_display_in_an_EPS>3</maximum_number_of_frames_display_in_an_EPS>\n"
              "</parameter>\n</VC1ES>\n");
    EXPECT_EQ(Text(stream, false),
              "[DISP_HORIZ_SIZE] : 719\r\n[DISP_VERT_SIZE] : 479\r\n[ASPECT_RATIO] : 3\r\n[INTERLACE] : 1\r\n"
              "[FRAME_RATE] :  23.976\r\n[level] : 3\r\n");
    EXPECT_EQ(Text(Vc1Builder().Script("Hd I").Bytes(), false),
              "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
              "combinations of parameters for video_format is invalid.\r\n"
              "combinations of parameters for aspect_ratio is invalid.\r\n"
              "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n"
              "[DISP_HORIZ_SIZE] : no exist\r\n[DISP_VERT_SIZE] : no exist\r\n[ASPECT_RATIO] : no exist\r\n"
              "[INTERLACE] : 0\r\n[FRAME_RATE] : no exist\r\n[level] : 3\r\n");
}

TEST(Vc1Texts, CodesOfFormatRateAndAspect) {
    const struct {
        Vc1Sequence s;
        const char* codes;
    } rows[] = {
        {Display(719, 575, 1, 4, 2, 1), "<video_format>2</video_format>\n<frame_rate>3</frame_rate>\n<aspect_ratio>3"},
        {Display(719, 575, 0, 2, 4, 1), "<video_format>7</video_format>\n<frame_rate>6</frame_rate>\n<aspect_ratio>2"},
        {Display(1279, 719, 0, 1, 5, 2), "<video_format>5</video_format>\n<frame_rate>7</frame_rate>\n<aspect_ratio>3"},
        {Display(1279, 719, 1, 2, 3, 2), "<video_format>0</video_format>\n<frame_rate>4</frame_rate>\n<aspect_ratio>0"},
        {Display(1919, 1079, 1, 15, 1, 1), "<video_format>4</video_format>\n<frame_rate>2</frame_rate>\n<aspect_ratio>3"},
        {Display(719, 479, 0, 5, 7, 1), "<video_format>3</video_format>\n<frame_rate>0</frame_rate>\n<aspect_ratio>3"},
        {Display(1439, 1079, 0, 1, 2, 3), "<video_format>6</video_format>\n<frame_rate>0</frame_rate>\n<aspect_ratio>0"},
    };
    for (const auto& row : rows) {
        EXPECT_NE(Text(Vc1Builder().Head(row.s).Script("I").Bytes(), true).find(row.codes), std::string::npos)
            << row.codes;
    }
}

}  // namespace
