// Segment parser in one pass: the index built while segments are asked for (every way of asking sees the whole
// index; a file cut short after Open ends it with IndexFailed), and segment objects reused from one segment
// of a kind to the next with the fields a new object would have.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "es/graphics/segments/CGspGsParser.h"
#include "es/graphics/segments/CGspODS.h"
#include "es/graphics/segments/CGspPCS.h"
#include "es/graphics/segments/CGspPDS.h"
#include "es/graphics/segments/CGspWDS.h"
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

// Every field the parser gives for segment s, by its class.
std::vector<uint64_t> Fields(const CGspSegment* s) {
    std::vector<uint64_t> v{s->GetFileOffset(), s->GetType(), s->GetLength()};
    if (const auto* p = dynamic_cast<const CGspPCS*>(s)) {
        v.insert(v.end(), {p->GetVideoWidth(), p->GetVideoHeight(), p->GetFrameRate(), p->GetCompositionNumber(),
                           p->GetCompositionState(), p->GetPaletteUpdateFlag(), p->GetPaletteIdRef(),
                           p->GetNumberOfCompositionObjects(), p->GetCompositionObjectCount()});
        for (uint32_t i = 0; i < p->GetCompositionObjectCount(); ++i) {
            const CGspObject* o = p->GetCompositionObject(i);
            v.insert(v.end(), {o->GetObjectIdRef(), o->GetWindowIdRef(), o->GetObjectCroppedFlag(),
                               o->GetForcedOnFlag(), o->GetCompositionObjectHorizontalPosition(),
                               o->GetCompositionObjectVerticalPosition(), o->GetObjectCroppingHorizontalPosition(),
                               o->GetObjectCroppingVerticalPosition(), o->GetObjectCroppingWidth(),
                               o->GetObjectCroppingHeight()});
        }
    } else if (const auto* w = dynamic_cast<const CGspWDS*>(s)) {
        v.insert(v.end(), {w->GetNumberOfWindows(), w->GetWindowCount()});
        for (uint32_t i = 0; i < w->GetWindowCount(); ++i) {
            const CGspWindow* x = w->GetWindow(i);
            v.insert(v.end(), {x->GetWindowId(), x->GetWindowHorizontalPosition(), x->GetWindowVerticalPosition(),
                               x->GetWindowWidth(), x->GetWindowHeight()});
        }
    } else if (const auto* d = dynamic_cast<const CGspPDS*>(s)) {
        v.insert(v.end(), {d->GetPaletteId(), d->GetPaletteVersionNumber(), d->GetPaletteEntryCount()});
        for (uint32_t i = 0; i < d->GetPaletteEntryCount(); ++i) {
            const CGspPalette* e = d->GetPaletteEntry(i);
            v.insert(v.end(), {e->GetPaletteEntryId(), e->GetY(), e->GetCr(), e->GetCb(), e->GetT()});
        }
    } else if (const auto* o = dynamic_cast<const CGspODS*>(s)) {
        v.insert(v.end(), {o->GetObjectId(), o->GetObjectVersionNumber(), o->GetFirstInSequenceFlag(),
                           o->GetLastInSequenceFlag(), o->GetObjectDataLength(), o->GetObjectWidth(),
                           o->GetObjectHeight()});
    }
    return v;
}

// Segments of one kind in a row that shrink: fewer objects, windows and entries, a cropped object then an
// uncropped one, a first fragment then a continuation, and a last ODS cut short by the end of the file.
TEST(SegmentReuse, EachSegmentHasTheFieldsOfANewObject) {
    Pcs big;
    big.paletteUpdate = true;
    big.paletteId = 7;
    big.objects = {{1, 2, true, true, 10, 20, 1, 2, 3, 4}, {3, 4, false, false, 5, 6}};
    Pcs small;
    small.frameRate = 6;
    small.state = 0;
    small.objects = {{9, 8, false, false, 7, 6}};
    Pcs none;
    none.objects = {};
    Bytes cut = Ods(4, 5, 6, 100);
    cut.resize(5);
    const Bytes bytes = Cat({big.Build(), small.Build(), none.Build(), Wds({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}),
                             Wds({{11, 12, 13, 14, 15}}), Wds({}), Pds(1, 2, {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}),
                             Pds(3, 4, {}), Ods(1, 300, 200, 50), Ods(1, 0, 0, 20, false, 3), End(), End(), cut});
    kiv_test::TempDir dir;
    const std::string path = dir.Write("s.pgs", bytes);
    CGspGsParser walk;
    ASSERT_TRUE(walk.Open(path.c_str()));
    const uint32_t count = walk.GetSegmentCount();
    ASSERT_EQ(count, 13u);
    for (uint32_t i = 0; i < count; ++i) {
        CGspGsParser fresh;
        ASSERT_TRUE(fresh.Open(path.c_str()));
        const std::vector<uint64_t> want = Fields(fresh.GetSegmentAt(i));
        EXPECT_EQ(Fields(walk.GetSegmentAt(i)), want) << "segment " << i;
    }
}

}  // namespace
