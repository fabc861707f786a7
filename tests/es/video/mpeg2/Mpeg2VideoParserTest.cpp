// Access units cut by the start-code scan: boundaries, layers and the end of the stream.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "es/video/mpeg2/CMpeg2VideoParser.h"
#include "support/Mpeg2Builder.h"
#include "support/TempDir.h"

namespace {

using namespace ts_comp::es::mpeg2_video;
using kiv_test::Mpeg2Builder;
using kiv_test::TempDir;

struct UnitView {
    uint32_t size;
    uint32_t type;
    bool sequence;
    bool extension;
    bool gop;
    bool end;
    size_t layers;
};

std::vector<UnitView> Parse(const std::vector<uint8_t>& bytes) {
    TempDir dir;
    CMpeg2VideoParser parser;
    EXPECT_TRUE(parser.Open(dir.Write("a.m2v", bytes).c_str()));
    std::vector<UnitView> units;
    while (auto unit = parser.GetNextAccessUnit()) {
        units.push_back({unit->GetSize(), unit->GetPictureType(), unit->HasSequenceHeader(),
                         unit->HasSequenceExtension(), unit->HasGopHeader(), unit->HasSequenceEndCode(),
                         unit->GetLayerCount()});
        if (units.size() > 10000) break;
    }
    return units;
}

TEST(Mpeg2VideoParser, SequenceEndCodeClosesTheLastUnit) {
    Mpeg2Builder b;
    b.Sequence(1080, 4, 0).Gop(1).Picture(1);
    const size_t first = b.Size();
    b.Picture(2).SequenceEnd();
    const auto units = Parse(b.Bytes());
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[0].size, first);
    EXPECT_EQ(units[1].size, b.Size() - first);
    EXPECT_TRUE(units[1].end);
    EXPECT_FALSE(units[0].end);
    EXPECT_EQ(units[1].layers, 3u);  // picture header, coding extension, end code
}

TEST(Mpeg2VideoParser, ExtraZeroBeforeStartCodeStaysInPreviousUnit) {
    Mpeg2Builder b;
    b.Sequence(1080, 4, 0).Picture(1).Raw({0x00, 0x00});
    const size_t first = b.Size();
    b.Picture(2);
    const auto units = Parse(b.Bytes());
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[0].size, first);
    EXPECT_EQ(units[1].size, b.Size() - first);
}

TEST(Mpeg2VideoParser, SequenceHeaderExtensionsAndGopJoinThePicture) {
    Mpeg2Builder b;
    b.Sequence(1080, 4, 0).SequenceDisplayExtension(true).Gop(1).Picture(1);
    const size_t first = b.Size();
    b.Gop(0).Picture(1);
    const size_t second = b.Size();
    b.Sequence(1080, 4, 0).Picture(2);
    const auto units = Parse(b.Bytes());
    ASSERT_EQ(units.size(), 3u);
    EXPECT_EQ(units[0].size, first);
    EXPECT_TRUE(units[0].sequence && units[0].extension && units[0].gop);
    EXPECT_EQ(units[0].layers, 6u);
    EXPECT_EQ(units[0].type, 1u);
    EXPECT_EQ(units[1].size, second - first);
    EXPECT_EQ(units[1].type, 4u);  // an I picture without a sequence header in its unit
    EXPECT_TRUE(units[1].gop && !units[1].sequence);
    EXPECT_EQ(units[2].size, b.Size() - second);
    EXPECT_EQ(units[2].type, 2u);
}

TEST(Mpeg2VideoParser, PictureDisplayExtensionIsSkipped) {
    Mpeg2Builder b;
    b.Sequence(1080, 4, 0).PictureHeader(1).CodingExtension(3, 1, 1).PictureDisplayExtension().Slice(8);
    const auto units = Parse(b.Bytes());
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(units[0].layers, 4u);
    EXPECT_EQ(units[0].size, b.Size());
}

TEST(Mpeg2VideoParser, NoUnitWithoutPicture) {
    const std::vector<std::vector<uint8_t>> streams = {
        {},
        Mpeg2Builder().Sequence(1080, 4, 0).Slice(300).Bytes(),
        {0x00, 0x00, 0x01},
        {0x00, 0x00, 0x01, 0x00},
    };
    for (const auto& s : streams) EXPECT_TRUE(Parse(s).empty()) << s.size();
}

TEST(Mpeg2VideoParser, StretchWithoutPictureEndsTheStream) {
    Mpeg2Builder b;
    b.Sequence(1080, 4, 0).Picture(1).Sequence(1080, 4, 0).Sequence(1080, 4, 0).Picture(1);
    const auto units = Parse(b.Bytes());
    EXPECT_EQ(units.size(), 1u);
}

TEST(Mpeg2VideoParser, HeaderCutByEndOfFile) {
    Mpeg2Builder b;
    b.Sequence(1080, 4, 0).Picture(1);
    const size_t first = b.Size();
    b.PictureHeader(2).Raw({0x00, 0x00, 0x01, 0xB5, 0x8F});  // coding extension cut after one byte
    const auto units = Parse(b.Bytes());
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[0].size, first);
    EXPECT_EQ(units[1].size, b.Size() - first);
    EXPECT_EQ(units[1].layers, 1u);

    Mpeg2Builder c;
    c.Sequence(1080, 4, 0).Picture(1).Raw({0x00, 0x00, 0x01, 0xB5});  // identifier byte missing
    const auto cut = Parse(c.Bytes());
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].size, c.Size());
}

TEST(Mpeg2VideoParser, HostileBytesNeverOverrunTheFile) {
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        Mpeg2Builder b;
        b.Sequence(1080, 4, 0).Picture(1);
        std::vector<uint8_t> bytes = b.Bytes();
        for (int i = 0; i < 400; ++i) {
            const uint32_t r = rng();
            bytes.push_back((r & 3) == 0 ? 0 : (r & 12) == 0 ? 1 : static_cast<uint8_t>(r >> 8));
        }
        uint64_t total = 0;
        for (const auto& u : Parse(bytes)) {
            EXPECT_GT(u.size, 0u);
            total += u.size;
        }
        EXPECT_LE(total, bytes.size());
    }
}

// The bulk scan against a byte-by-byte automaton over zero-rich data.
TEST(Mpeg2VideoParser, BoundariesMatchByteAutomaton) {
    std::mt19937 rng(11);
    for (int round = 0; round < 30; ++round) {
        Mpeg2Builder b;
        std::vector<size_t> starts;
        b.Sequence(1080, 4, 0);
        for (int p = 0; p < 6; ++p) {
            if (p > 0) starts.push_back(b.Size());
            b.PictureHeader(p == 0 ? 1 : 2).CodingExtension(3, 0, 0).StartCode(0x01);
            const size_t n = 100 + rng() % 300;
            std::vector<uint8_t> filler;
            for (size_t i = 0; i < n; ++i) {
                const uint32_t r = rng() % 4;
                filler.push_back(r == 0 ? 0 : r == 1 ? 0x01 : 0x02);
            }
            // Never two zeros followed by 0x01 inside the slice.
            for (size_t i = 2; i < filler.size(); ++i)
                if (filler[i] == 1 && filler[i - 1] == 0 && filler[i - 2] == 0) filler[i] = 2;
            if (!filler.empty() && filler.back() == 0) filler.back() = 2;
            std::vector<uint8_t> bytes = b.Bytes();
            bytes.insert(bytes.end(), filler.begin(), filler.end());
            b = Mpeg2Builder();
            // Rebuild the builder on the accumulated bytes.
            for (uint8_t x : bytes) b.Raw({x});
        }
        const auto units = Parse(b.Bytes());
        ASSERT_EQ(units.size(), 6u);
        size_t pos = 0;
        for (size_t i = 0; i < units.size(); ++i) {
            const size_t end = i < starts.size() ? starts[i] : b.Size();
            EXPECT_EQ(units[i].size, end - pos) << "round " << round << " unit " << i;
            pos = end;
        }
    }
}

}  // namespace
