// Segment parser index built while segments are asked for: every way of asking sees the whole index, and a
// file cut short after Open ends the index with IndexFailed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "es/graphics/segments/CGspGsParser.h"
#include "support/GraphicsBuilder.h"
#include "support/TempDir.h"

using namespace kiv_test::gfx;

namespace {

// Three display sets of PCS, WDS, PDS, ODS, END: 15 segments.
Bytes ThreeSets() {
    Bytes out;
    for (int i = 0; i < 3; ++i) {
        Pcs p;
        p.state = 2;
        p.number = static_cast<uint16_t>(i);
        Append(out, Cat({p.Build(), Wds({{0, 0, 0, 100, 50}}), Pds(0, 0, {{0, 16, 128, 128, 0}}),
                         Ods(0, 100, 50, 300), End()}));
    }
    return out;
}

struct Ask {
    const char* name;
    uint32_t (*count)(CGspGsParser&);  // how the test asks; returns what the parser reached
};

const Ask kAsks[] = {
    {"count", [](CGspGsParser& p) { return p.GetSegmentCount(); }},
    {"last_by_index", [](CGspGsParser& p) { return p.GetSegmentAt(14) != nullptr ? 15u : 0u; }},
    {"past_the_end", [](CGspGsParser& p) { return p.GetSegmentAt(15) == nullptr ? p.GetSegmentCount() : 0u; }},
    {"next_to_the_end",
     [](CGspGsParser& p) {
         uint32_t n = p.GetSegmentAt(0) != nullptr ? 1u : 0u;
         while (p.GetNextSegment() != nullptr) ++n;
         return n;
     }},
};

class GrowingIndex : public ::testing::TestWithParam<Ask> {};

TEST_P(GrowingIndex, ReachesEverySegmentWithTheOffsetsOfOneWalk) {
    kiv_test::TempDir dir;
    const Bytes bytes = ThreeSets();
    CGspGsParser parser;
    ASSERT_TRUE(parser.Open(dir.Write("s.pgs", bytes).c_str()));
    EXPECT_EQ(GetParam().count(parser), 15u);
    ASSERT_EQ(parser.GetSegmentCount(), 15u);
    uint64_t offset = 0;
    for (uint32_t i = 0; i < 15; ++i) {
        EXPECT_EQ(parser.GetIndexEntry(i).offset, offset);
        EXPECT_EQ(parser.GetIndexEntry(i).segment_type, bytes[offset]);
        offset += ((uint32_t{bytes[offset + 1]} << 8) | bytes[offset + 2]) + 3u;
    }
    EXPECT_FALSE(parser.IndexFailed());
}

INSTANTIATE_TEST_SUITE_P(Asks, GrowingIndex, ::testing::ValuesIn(kAsks),
                         [](const ::testing::TestParamInfo<Ask>& info) { return std::string(info.param.name); });

TEST(GrowingIndexFailure, FileCutAfterOpenEndsTheIndexWhereTheBufferedBytesEnd) {
    kiv_test::TempDir dir;
    Bytes bytes;
    for (int i = 0; i < 8; ++i) Append(bytes, Ods(0, 100, 50, 60000));  // 8 x 60,010 bytes, past one buffer load
    const std::string path = dir.Write("s.pgs", bytes);
    CGspGsParser parser;
    ASSERT_TRUE(parser.Open(path.c_str()));
    std::filesystem::resize_file(path, 0);
    // The first 262,144 bytes were read with the first descriptor: the segments starting in them stay indexed.
    EXPECT_NE(parser.GetSegmentAt(4), nullptr);
    EXPECT_EQ(parser.GetSegmentAt(5), nullptr);
    EXPECT_TRUE(parser.IndexFailed());
    EXPECT_EQ(parser.GetSegmentCount(), 5u);
    EXPECT_FALSE(parser.BuildCompositionFile(5, dir.File("ic.dat").c_str()));
}

}  // namespace
