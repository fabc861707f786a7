// The MPEG-2 video parser (access units cut by the start-code scan: boundaries, layers, the end of the
// stream) and analyser (time stamps and flags) on synthesised streams. Texts are in tests/es/video/avc/VideoTest.cpp.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "es/video/mpeg2/CMpeg2VideoParser.h"
#include "es/video/mpeg2/CVideoEs.h"
#include "support/ItemText.h"
#include "support/Mpeg2Builder.h"
#include "support/ParsedUnits.h"
#include "support/TempDir.h"

namespace kiv_test {
namespace {

using namespace ts_comp::es::mpeg2_video;
using namespace ts_comp;
using PRIVATE_LIBRARY::CL_CString;

// Size, picture type, sequence header, sequence extension, GOP header, sequence end code, layers.
using Unit = std::array<size_t, 7>;

std::vector<Unit> Parse(const std::vector<uint8_t>& bytes) {
    return ParseUnits<CMpeg2VideoParser>(bytes, "a.m2v", [](auto u) {
        return Unit{u->GetSize(),    u->GetPictureType(),     u->HasSequenceHeader(), u->HasSequenceExtension(),
                    u->HasGopHeader(), u->HasSequenceEndCode(), u->GetLayerCount()};
    });
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
         Head().SequenceDisplayExtension().Gop(1).Picture(1).Gop(0).Picture(1).Sequence(1080, 4, 0).Picture(2)
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

// A 1080-line sequence and a GOP header, then frame pictures of the given types. The analyser reads its
// attributes from the first 192 bytes: shorter streams are refused.
Mpeg2Builder Seq(uint8_t rate, uint8_t progressive, std::initializer_list<uint8_t> types = {}, uint8_t closed = 1) {
    Mpeg2Builder b;
    b.Sequence(1080, rate, progressive).Gop(closed);
    for (uint8_t type : types) b.Picture(type);
    return b;
}
const std::vector<uint8_t> kTwoSequences = Seq(1, 1, {1, 2}).SequenceEnd().Sequence(1080, 1, 1).Gop(1).Picture(1)
    .Picture(2).Bytes();

const struct {
    const char* name;
    std::vector<uint8_t> stream;
    std::vector<uint64_t> startPts;
    std::vector<KivItem> items;  // sizes 0
} kTiming[] = {
    // 23.976 Hz: a frame is 1126125 ticks; 29.97 Hz interlaced: a field is 450450 ticks.
    {"Progressive23976", Seq(1, 1, {1, 2, 3, 3}).Bytes(), {90000}, Items("1:0@86246/90000,0,1 2:0@90000/101261 3:0@93753 3:0@97507 E@105015")},
    // I with repeat_first_field and top_field_first, P, B with repeat_first_field only, B with both.
    {"PullDown", Seq(1, 1, {}, 0).Picture(1, 3, 1, 1).Picture(2).Picture(3, 3, 0, 1).Picture(3, 3, 1, 1).Bytes(), {90000},
     Items("1:0@86246/90000 2:0@90000/120030 3:0@101261 3:0@108768 E@131291")},
    {"InterlacedFrames", Seq(4, 0, {1, 2, 3}).Bytes(), {90000}, Items("1:0@86997/90000,0,1 2:0@90000/96006 3:0@93003 E@99009")},
    {"FieldPairs", Seq(4, 0).Picture(1, 1).Picture(2, 2).Picture(2, 1).Picture(2, 2).Picture(3, 1).Picture(3, 2).Bytes(), {90000},
     Items("1:0@86997/90000,0,1,1 2:0@88498/91501,0,0,2 2:0@90000/96006,0,0,1 2:0@91501/97507,0,0,2 3:0@93003,0,0,1 3:0@94504,0,0,2 E@99009")},
    {"TwoSequencesTwoStarts", kTwoSequences, {90000, 900000},
     Items("1:0@86246/90000,0,1 2:0@90000/93753,1 1:0@896246/900000,0,1 2:0@900000/903753 E@907507")},
    // With a single start PTS the second sequence keeps the first offset.
    {"TwoSequencesOneStart", kTwoSequences, {90000}, Items("1:0@86246/90000,0,1 2:0@90000/93753,1 1:0@93753/97507,0,1 2:0@97507/101261 E@105015")},
    {"Progressive60", Seq(8, 1).Picture(1, 3, 0, 0, 99).Picture(2).Bytes(), {90000}, Items("1:0@88500/90000,0,1 2:0@90000/91500 E@93000")},
    {"Interlaced25", Seq(3, 0).Picture(1, 3, 0, 0, 99).Picture(2).Bytes(), {90000}, Items("1:0@86400/90000,0,1 2:0@90000/93600 E@97200")},
    // Pictures without a picture coding extension are neither frames nor fields of a pair.
    {"NoCodingExtension", Seq(4, 1).PictureHeader(1).Slice(40).PictureHeader(2).Slice(40).PictureHeader(3).Slice(40).PictureHeader(2).Slice(40).Bytes(),
     {90000}, Items("1:0@77988/90000,0,1,2 2:0@80991/93003,0,0,2 3:0@83994,0,0,2 2:0@86997,0,0,2 E@96006")},
    // Picture type 5 is reserved: not a reference picture.
    {"ReservedPictureType", Seq(4, 1, {1, 5, 2, 5}).Bytes(), {90000}, Items("1:0@83994/90000,0,1 5:0@86997 2:0@90000/96006 5:0@93003 E@99009")},
};

TEST(VideoEs, ItemsCarryTheExpectedTimes) {
    for (const auto& c : kTiming) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        es::CVideoEs analyser{CL_CString(dir.Write("a.m2v", c.stream).c_str())};
        ASSERT_TRUE(analyser.CreateKiv(dir.File("a.kiv").c_str(), c.startPts));
        std::vector<KivItem> items = ReadKiv(dir.File("a.kiv")).items;
        uint64_t total = 0;
        for (KivItem& i : items) total += std::exchange(i.size, 0);
        EXPECT_EQ(total, c.stream.size());
        EXPECT_EQ(items, c.items);
    }
}

}  // namespace
}  // namespace kiv_test
