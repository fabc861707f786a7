// Access units cut by the MPEG-2 start-code scan: boundaries, layers and the end of the stream.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "es/video/mpeg2/CMpeg2VideoParser.h"
#include "support/Mpeg2Builder.h"
#include "support/TempDir.h"

namespace {

using namespace ts_comp::es::mpeg2_video;
using kiv_test::Mpeg2Builder;

// Size, picture type, sequence header, sequence extension, GOP header, sequence end code, layers.
using Unit = std::array<size_t, 7>;

std::vector<Unit> Parse(const std::vector<uint8_t>& bytes) {
    kiv_test::TempDir dir;
    CMpeg2VideoParser parser;
    EXPECT_TRUE(parser.Open(dir.Write("a.m2v", bytes).c_str()));
    std::vector<Unit> units;
    while (auto u = parser.GetNextAccessUnit()) {
        units.push_back({u->GetSize(), u->GetPictureType(), u->HasSequenceHeader(), u->HasSequenceExtension(),
                         u->HasGopHeader(), u->HasSequenceEndCode(), u->GetLayerCount()});
    }
    return units;
}

Mpeg2Builder Head() { return std::move(Mpeg2Builder().Sequence(1080, 4, 0)); }

// Units of hand-counted sizes: how headers join a picture, where a unit ends, and the end of the file
// inside a header (the hostile case of this parser).
TEST(Mpeg2VideoParser, UnitsTable) {
    const struct {
        const char* name;
        std::vector<uint8_t> stream;
        std::vector<Unit> units;
    } cases[] = {
        {"HeadersJoinThePicture",
         Head().SequenceDisplayExtension(true).Gop(1).Picture(1).Gop(0).Picture(1).Sequence(1080, 4, 0).Picture(2)
             .Bytes(),
         {{103, 1, 1, 1, 1, 0, 6}, {69, 4, 0, 0, 1, 0, 3}, {84, 2, 1, 1, 0, 0, 4}}},
        {"EndCodeClosesTheLastUnit", Head().Picture(1).Picture(2).SequenceEnd().Bytes(),
         {{83, 1, 1, 1, 0, 0, 4}, {66, 2, 0, 0, 0, 1, 3}}},
        {"ZerosBeforeAStartCodeStayBehind", Head().Picture(1).Raw({0x00, 0x00}).Picture(2).Bytes(),
         {{85, 1, 1, 1, 0, 0, 4}, {62, 2, 0, 0, 0, 0, 2}}},
        {"PictureDisplayExtensionSkipped",
         Head().PictureHeader(1).CodingExtension(3, 1, 1).PictureDisplayExtension().Slice(8).Bytes(),
         {{60, 1, 1, 1, 0, 0, 4}}},
        {"StretchWithoutPictureEndsTheStream",
         Head().Picture(1).Sequence(1080, 4, 0).Sequence(1080, 4, 0).Picture(1).Bytes(), {{83, 1, 1, 1, 0, 0, 4}}},
        {"CodingExtensionCut", Head().Picture(1).PictureHeader(2).Raw({0x00, 0x00, 0x01, 0xB5, 0x8F}).Bytes(),
         {{83, 1, 1, 1, 0, 0, 4}, {14, 2, 0, 0, 0, 0, 1}}},
        {"ExtensionIdentifierMissing", Head().Picture(1).Raw({0x00, 0x00, 0x01, 0xB5}).Bytes(),
         {{87, 1, 1, 1, 0, 0, 4}}},
        {"NoPicture", Head().Slice(300).Bytes(), {}},
        {"BarePrefix", {0x00, 0x00, 0x01, 0x00}, {}},
        {"Empty", {}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Parse(c.stream), c.units) << c.name;
}

// The bulk scan against the boundaries the builder wrote, over slices rich in zeros and 0x01 bytes.
TEST(Mpeg2VideoParser, BoundariesOverZeroRichSlices) {
    std::mt19937 rng(11);
    for (int round = 0; round < 10; ++round) {
        std::vector<uint8_t> bytes = Head().Bytes();
        std::vector<size_t> ends;
        for (int p = 0; p < 6; ++p) {
            if (p > 0) ends.push_back(bytes.size());
            const auto head =
                Mpeg2Builder().PictureHeader(p == 0 ? 1 : 2).CodingExtension(3, 0, 0).StartCode(1).Bytes();
            bytes.insert(bytes.end(), head.begin(), head.end());
            for (size_t i = 100 + rng() % 300; i > 0; --i) {
                const uint32_t r = rng() % 4;
                const bool twoZeros = bytes.end()[-1] == 0 && bytes.end()[-2] == 0;
                bytes.push_back(r == 0 ? 0 : r == 1 && !twoZeros ? 0x01 : 0x02);
            }
            if (bytes.back() == 0) bytes.back() = 2;
        }
        ends.push_back(bytes.size());
        const auto units = Parse(bytes);
        ASSERT_EQ(units.size(), 6u);
        for (size_t i = 0, pos = 0; i < units.size(); pos = ends[i++]) EXPECT_EQ(units[i][0], ends[i] - pos);
    }
}

}  // namespace
