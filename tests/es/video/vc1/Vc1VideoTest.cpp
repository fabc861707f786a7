// Access units cut by the VC-1 start-code search (boundaries, picture types, the end of the stream); codes
// of the analyser, the frames per entry point that CreateKiv counts and the report texts that the bundled
// sample does not show. Items are in the creator table (tests/api).
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "es/video/vc1/CVc1VideoEs.h"
#include "es/video/vc1/CVc1VideoParser.h"
#include "support/TempDir.h"
#include "support/Vc1Builder.h"

namespace kiv_test {
namespace {

using namespace ts_comp::es::vc1_video;
using PRIVATE_LIBRARY::CL_CString;

// Size, picture type and BDU count of a unit.
using Unit = std::array<uint32_t, 3>;

std::vector<Unit> Parse(const std::vector<uint8_t>& bytes) {
    TempDir dir;
    CVc1VideoParser parser;
    EXPECT_TRUE(parser.Open(dir.Write("a.vc1", bytes).c_str()));
    std::vector<Unit> units;
    while (auto unit = parser.GetNextAccessUnit()) {
        units.push_back({unit->GetSize(), unit->GetPictureType(), static_cast<uint32_t>(unit->GetBduCount())});
    }
    return units;
}

// Streams as scripts (see Vc1Builder::Script) whose cuts bound the units, with their types and BDU counts.
TEST(Vc1VideoParser, UnitsCutWhereTheSearchDecides) {
    const struct {
        const char* script;
        std::vector<uint32_t> types, bdus;
    } rows[] = {
        {"x00 | H | I x00 | P |", {0, 1, 2}, {2, 1, 1}},  // a four-byte code leaves its first zero behind
        {"| H | I x00000005 | P", {0, 1}, {2, 1}},         // three zeros end the stream
        {"| H | I x0000030177 | B |", {0, 1, 3}, {2, 1, 1}},  // an escaped 0x01 is no start code
        {"| H1 | I | P |", {0, 0, 0}, {2, 1, 1}},          // main-profile pictures are untyped
        {"| S U | N | I U |", {0, 0, 1}, {2, 1, 2}},       // user data before an entry point splits the header
        {"| H | I | P E | H |", {0, 1, 2, 0}, {2, 1, 2, 2}},  // an end of sequence joins its picture
        {"| Hi | F0 | F1 | F2 | F3 | F4 | F5 | F6 | F7 | X | P | K | B | Y |",
         {0, 1, 1, 2, 2, 3, 3, 3, 3, 1, 2, 2, 3, 3}, {2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {"x0000010FC810", {}, {}},  // the end of the file inside a sequence header drops the unit
    };
    for (const auto& r : rows) {
        std::vector<size_t> cuts;
        const std::vector<uint8_t> stream = Vc1Builder().Script(r.script, &cuts).Bytes();
        std::vector<Unit> expected;
        for (size_t k = 0; k + 1 < cuts.size(); ++k) {
            expected.push_back({static_cast<uint32_t>(cuts[k + 1] - cuts[k]), r.types[k], r.bdus[k]});
        }
        EXPECT_EQ(Parse(stream), expected) << r.script;
    }
}

// The search as described, one byte at a time from pos: the position of the next code, or where it stopped.
size_t DescribedSearch(const std::vector<uint8_t>& f, size_t pos, bool& found, uint8_t& type) {
    found = false;
    for (uint32_t zeros = 0; pos < f.size();) {
        const uint8_t b = f[pos++];
        if (b == 0) {
            ++zeros;
        } else if (zeros >= 2 && b == 1) {
            if (pos == f.size()) break;
            found = true;
            type = f[pos];
            return pos - 3;
        } else if ((zeros >= 2 && b == 2) || zeros >= 3) {
            return pos;
        } else if (zeros == 2 && b == 3) {
            if (pos == f.size()) break;
            if (f[pos] > 3) return pos + 1;
            zeros = f[pos++] == 0 ? 1 : 0;
        } else {
            zeros = 0;
        }
    }
    return f.size();
}

// Units as described: a BDU is sized by a search from its payload, and a look-ahead search starts where its
// header parse ended (15 bytes of a sequence header, one of a progressive picture, none otherwise).
std::vector<Unit> DescribedUnits(const std::vector<uint8_t>& f) {
    std::vector<Unit> units;
    for (size_t position = 0; position < f.size();) {
        Unit u{};
        for (bool more = true; more;) {
            bool found = false, ahead = false;
            uint8_t type = 0, next = 0;
            const size_t p = DescribedSearch(f, position, found, type);
            if (!found) break;
            u[0] += static_cast<uint32_t>(DescribedSearch(f, p + 4, ahead, next) - p);
            ++u[2];
            position = p + 4 + (type == 0x0F ? 15 : type == 0x0D ? 1 : 0);
            DescribedSearch(f, position, ahead, next);
            const bool header = type == 0x0F || type == 0x0E;
            more = ahead && next != 0x0D && (header || (next != 0x0F && next != 0x0E));
        }
        if (u[2] == 0) break;
        units.push_back(u);
    }
    return units;
}

TEST(Vc1UnitsAgainstByteSearch, HostileBytesGiveTheDescribedUnits) {
    std::mt19937 random(7);
    const uint8_t alphabet[] = {0, 0, 0, 1, 2, 3, 4, 0x5A};
    const uint8_t types[] = {0x0D, 0x0D, 0x0D, 0x0A, 0x0B, 0x1F};
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> f = Vc1Builder().Script("S").Bytes();
        ASSERT_EQ(f.size(), 20u);  // 15 bytes of fields, then the stop bit
        for (int n = random() % 6; n >= 0; --n) {
            f.insert(f.end(), {0, 0, 1, types[random() % 6]});
            for (int k = 1 + random() % 12; k > 0; --k) f.push_back(alphabet[random() % 8]);
        }
        std::vector<Unit> parsed = Parse(f);
        for (Unit& u : parsed) u[1] = 0;
        ASSERT_EQ(parsed, DescribedUnits(f)) << "round " << round;
    }
}

Vc1Sequence Display(uint16_t width, uint16_t height, uint8_t interlace, uint8_t aspect, uint8_t nr, uint8_t dr) {
    Vc1Sequence s;
    s.dispWidth = width, s.dispHeight = height, s.interlace = interlace, s.aspect = aspect;
    s.frameRateNr = nr, s.frameRateDr = dr;
    return s;
}

// The XML text (or the report) of the stream, after indexing it when kiv is true.
std::string Text(const std::vector<uint8_t>& stream, bool xml, bool kiv = false) {
    TempDir dir;
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
}  // namespace kiv_test
