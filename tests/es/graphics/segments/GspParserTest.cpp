// Segment parser: the index grown as segments are asked for, the fields the display sets take
// from each segment kind, segment objects reused from one segment of a kind to the next, and interactive
// compositions joined from their fragments and parsed.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <tuple>

#include "es/graphics/segments/CGspGsParser.h"
#include "es/graphics/segments/CGspIC.h"
#include "es/graphics/segments/CGspICS.h"
#include "es/graphics/segments/CGspODS.h"
#include "es/graphics/segments/CGspPCS.h"
#include "es/graphics/segments/CGspWDS.h"
#include "support/GraphicsBuilder.h"
#include "support/TempDir.h"

using namespace kiv_test::gfx;
using kiv_test::TempDir;
using Values = std::vector<uint64_t>;

namespace {

struct Opened {
    TempDir dir;
    std::string path;
    CGspGsParser parser;
    bool ok;
    explicit Opened(const Bytes& bytes) : path(dir.Write("s.pgs", bytes)), ok(parser.Open(path.c_str())) {}
};

// Descriptor, then the fields of its kind with every list element (the elements stop at the first null).
Values Fields(const CGspSegment* s) {
    Values v{s->GetFileOffset(), s->GetType(), s->GetLength()};
    if (const auto* p = dynamic_cast<const CGspPCS*>(s)) {
        v.insert(v.end(), {p->GetVideoWidth(), p->GetVideoHeight(), p->GetFrameRate(), p->GetCompositionNumber(),
                           p->GetCompositionState(), p->GetPaletteUpdateFlag(), p->GetNumberOfCompositionObjects()});
        for (uint32_t i = 0; const CGspObject* o = p->GetCompositionObject(i); ++i)
            v.insert(v.end(), {o->GetObjectIdRef(), o->GetWindowIdRef()});
    } else if (const auto* w = dynamic_cast<const CGspWDS*>(s)) {
        v.push_back(w->GetNumberOfWindows());
        for (uint32_t i = 0; const CGspWindow* x = w->GetWindow(i); ++i)
            v.insert(v.end(), {x->GetWindowId(), x->GetWindowWidth(), x->GetWindowHeight()});
    } else if (const auto* o = dynamic_cast<const CGspODS*>(s)) {
        v.insert(v.end(), {o->GetObjectId(), o->GetObjectVersionNumber(), o->GetFirstInSequenceFlag(),
                           o->GetLastInSequenceFlag(), o->GetObjectWidth(), o->GetObjectHeight()});
    } else if (const auto* c = dynamic_cast<const CGspICS*>(s)) {
        v.insert(v.end(), {c->GetVideoWidth(), c->GetVideoHeight(), c->GetFrameRate(), c->GetCompositionNumber(),
                           c->GetCompositionState(), c->GetFirstInSequenceFlag(), c->GetLastInSequenceFlag(),
                           c->GetInteractiveCompositionDataSize()});
    }
    return v;
}

Bytes Cut(Bytes b, size_t size) {
    b.resize(size);
    return b;
}

TEST(GspParser, SegmentFields) {
    const Pcs pcs{1280, 720, 6, 0x1234, 1, true, 7,
                  {{0x0102, 3, false, true, 100, 200}, {5, 1, true, false, 1, 2, 3, 4, 5, 6}, {6, 2}}, 2};
    const Pcs two{1920, 1080, 4, 0, 2, false, 0, {{1, 2, false, false, 3, 4}, {5, 6, false, false, 7, 8}}};
    const Bytes twoWindows = Wds({{1, 10, 20, 300, 400}, {6, 7, 8, 9, 10}}, 1);
    const std::tuple<const char*, Bytes, uint32_t, Values> rows[] = {  // name, stream, segment, fields
        // Three objects for two declared: the list follows the segment size; a cropped object takes 16 bytes.
        {"Pcs", pcs.Build(), 0, {0, 0x16, 43, 1280, 720, 6, 0x1234, 1, 1, 2, 0x0102, 3, 5, 1, 6, 2}},
        {"PcsCutInItsObjects", Cut(two.Build(), 25), 0, {0, 0x16, 27, 1920, 1080, 4, 0, 2, 0, 2, 1, 2, 5, 6}},
        {"Wds", twoWindows, 0, {0, 0x17, 19, 1, 1, 300, 400, 6, 9, 10}},
        {"WdsCutInItsWindows", Cut(twoWindows, 17), 0, {0, 0x17, 19, 1, 1, 300, 400, 6, 0, 0}},
        {"OdsFirst", Ods(0x0203, 720, 480, 100, false, 9), 0, {0, 0x15, 111, 0x0203, 9, 1, 0, 720, 480}},
        // A 6-byte continuation: its 2 data bytes stand where a first fragment has its sizes.
        {"OdsContinuation", OdsMore(0x0203, 2, true, 9), 0, {0, 0x15, 6, 0x0203, 9, 0, 1, 0, 0}},
        {"OdsCutByTheEnd", Cat({End(), Cut(Ods(1, 100, 50, 200), 13)}), 1, {3, 0x15, 211, 1, 0, 1, 1, 100, 0}},
        {"Ics", Ics{720, 576, 3, 77, 3, false, true, {1, 2, 3}}.Build(), 0, {0, 0x18, 12, 720, 576, 3, 77, 3, 0, 1, 3}},
        {"IcsWithoutData", Ics{}.Build(), 0, {0, 0x18, 9, 1920, 1080, 4, 0, 2, 1, 1, 0}},
        {"UnknownType", Segment(0x42, {1, 2, 3, 4, 5}), 0, {0, 0x42, 5}},
        // One or two bytes of a descriptor at the end of the file still make an entry.
        {"OneDescriptorByte", Cat({End(), {0x80}}), 1, {3, 0x80, 0}},
        {"TwoDescriptorBytes", Cat({End(), {0x80, 0x01}}), 1, {3, 0x80, 0x100}},
    };
    for (const auto& [name, stream, at, fields] : rows) {
        SCOPED_TRACE(name);
        Opened f(stream);
        ASSERT_EQ(f.parser.GetSegmentCount(), at + 1);
        EXPECT_EQ(Fields(f.parser.GetSegmentAt(at)), fields);
    }
}

// A missing path or file fails, a second Open fails; an empty file has no segment.
TEST(GspParser, Open) {
    CGspGsParser p;
    Opened e(Bytes{});
    EXPECT_EQ(Values({p.Open(nullptr), p.Open((e.path + "x").c_str()), e.ok, e.parser.Open(e.path.c_str()),
                      e.parser.GetSegmentCount(), !e.parser.GetSegmentAt(0)}),
              Values({0, 0, 1, 0, 0, 1}));
}

// Each way the analysers ask reaches all 15 segments of three display sets, with the offsets of one walk.
TEST(GspParserOnePass, IndexGrowsAsSegmentsAreAskedFor) {
    const Bytes set =
        Cat({Pcs{}.Build(), Wds({{0, 0, 0, 100, 50}}), Pds(0, 0, {{0, 16, 128, 128, 0}}), Ods(0, 100, 50, 300), End()});
    const std::function<uint32_t(CGspGsParser&)> asks[] = {
        [](CGspGsParser& p) { return p.GetSegmentCount(); },
        [](CGspGsParser& p) { return p.GetSegmentAt(14) != nullptr ? 15u : 0u; },
        [](CGspGsParser& p) { return p.GetSegmentAt(15) == nullptr ? p.GetSegmentCount() : 0u; },
    };
    const uint64_t sizes[5] = {14, 13, 10, 314, 3};  // PCS, WDS, PDS, ODS, END
    for (const auto& ask : asks) {
        Opened f(Cat({set, set, set}));
        EXPECT_EQ(ask(f.parser), 15u);
        Values got, want;
        for (uint32_t i = 0, offset = 0; i < 15; offset += sizes[i++ % 5]) {
            got.insert(got.end(), {f.parser.GetIndexEntry(i).segment_type, f.parser.GetIndexEntry(i).offset});
            want.insert(want.end(), {set[offset % 354], offset});
        }
        EXPECT_EQ(got, want);
        EXPECT_FALSE(f.parser.IndexFailed());
    }
}

TEST(GspParserOnePass, FileCutAfterOpenEndsTheIndexWhereTheBufferedBytesEnd) {
    Bytes bytes;
    for (int i = 0; i < 8; ++i) Append(bytes, Ods(0, 100, 50, 60000));  // 8 x 60,010 bytes, past one buffer load
    Opened f(bytes);
    ASSERT_TRUE(f.ok);
    std::filesystem::resize_file(f.path, 0);
    // The first 262,144 bytes were read with the first descriptor: the segments starting in them stay indexed.
    EXPECT_NE(f.parser.GetSegmentAt(4), nullptr);
    EXPECT_EQ(f.parser.GetSegmentAt(5), nullptr);
    EXPECT_TRUE(f.parser.IndexFailed());
    EXPECT_EQ(f.parser.GetSegmentCount(), 5u);
    EXPECT_FALSE(f.parser.BuildCompositionFile(5, f.dir.File("ic.dat").c_str()));
}

// A segment whose length ends `by` bytes before its last element: the element reads on into the next segment.
Bytes Short(Bytes b, size_t by) {
    b.resize(b.size() - by);
    b[1] = static_cast<uint8_t>((b.size() - 3) >> 8), b[2] = static_cast<uint8_t>(b.size() - 3);
    return b;
}

// Segments of one kind in a row that shrink (fewer objects and windows, a first fragment then a continuation,
// a last ODS cut short), elements that run past their segment, a PCS across the end of the first buffer load:
// walked forward (parsed where they lie in the file's buffer), by index or taken one after another, they
// read as a fresh parser reads each alone.
TEST(GspParserOnePass, ReusedSegmentsHaveTheFieldsOfANewOne) {
    const Pcs big{1920, 1080, 4, 0, 2, true, 7, {{1, 2, true, true, 10, 20, 1, 2, 3, 4}, {3, 4}}};
    const Pcs small{1920, 1080, 6, 0, 0, false, 0, {{9, 8}}}, none, last{1, 1, 1, 1, 1, 0, 0, {{3, 4}, big.objects[0]}};
    Bytes s = Cat({big.Build(), small.Build(), none.Build(), Short(last.Build(), 15), Wds({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}),
                   Short(Wds({{1, 2, 3, 4, 5}}), 4), Wds({}), Pds(1, 2, {{1, 2, 3, 4, 5}}), Pds(3, 4, {}),
                   Ods(1, 300, 200, 50), Ods(1, 0, 0, 20, false, 3), OdsMore(2, 1, true), End(), End()});
    Append(s, Ods(5, 1, 1, 262144 - 5 - s.size() - Ods(5, 1, 1, 0).size()));
    Opened f(Cat({s, big.Build(), Cut(Ods(4, 5, 6, 100), 5)}));
    CGspGsParser taking;  // asks for each segment once, in order
    ASSERT_TRUE(taking.Open(f.path.c_str()));
    for (uint32_t i = 0; i <= 20; ++i) {
        CGspGsParser fresh;
        ASSERT_TRUE(fresh.Open(f.path.c_str()));
        ASSERT_EQ(fresh.GetSegmentCount(), 20u);
        const Values fields = i < 20 ? Fields(fresh.GetSegmentAt(i)) : Values{};
        EXPECT_EQ(i < 20 ? Fields(f.parser.GetSegmentAt(i)) : Values{}, fields) << "segment " << i;
        const CGspSegment* taken = taking.TakeNextSegment();
        EXPECT_EQ(taken != nullptr ? Fields(taken) : Values{}, fields) << "segment " << i;
    }
    EXPECT_FALSE(taking.IndexFailed());
}

Bytes Fragment(bool first, bool last, Bytes data) {
    return Ics{1920, 1080, 4, 0, 2, first, last, std::move(data)}.Build();
}

TEST(GspParser, BuildCompositionFileJoinsFragments) {
    const std::tuple<const char*, Bytes, uint32_t, bool, Bytes> rows[] = {  // name, stream, start, result, file
        {"ThreeFragments", Cat({Fragment(true, false, {1, 2}), Fragment(false, false, {3}),
                                Fragment(false, true, {4, 5}), Fragment(true, true, {9})}), 0, true, {1, 2, 3, 4, 5}},
        {"StopsAtANonIcs", Cat({Fragment(true, false, {1}), End(), Fragment(false, true, {2})}), 0, true, {1}},
        {"SingleFirstAndLast", Cat({Fragment(true, true, {7, 8}), Fragment(false, true, {9})}), 0, true, {7, 8, 9}},
        {"NoData", Cat({Fragment(true, true, {}), End()}), 0, true, {}},
        {"NotFirstInSequence", Fragment(false, true, {1}), 0, false, {}},
        {"NotAnIcs", Pcs{}.Build(), 0, false, {}},
        {"IndexPastTheEnd", Fragment(true, true, {1}), 1, false, {}},
    };
    for (const auto& [name, stream, start, ok, joined] : rows) {
        SCOPED_TRACE(name);
        Opened f(stream);
        const std::string out = f.dir.File("ic.dat");
        EXPECT_EQ(f.parser.BuildCompositionFile(start, out.c_str()), ok);
        EXPECT_EQ(ok ? TempDir::Read(out) : joined, joined);
        EXPECT_FALSE(f.parser.BuildCompositionFile(0, nullptr));
        EXPECT_FALSE(f.parser.BuildCompositionFile(0, f.dir.File("no/dir/ic.dat").c_str()));
    }
}

// The fields the display sets take from a joined composition, page by page.
Values Fields(const CGspIC& c) {
    Values v{c.GetStreamModel(), c.GetCompositionTimeOutPts(), c.GetPageCount()};
    for (uint32_t i = 0; const CGspPage* p = c.GetPage(i); ++i) {
        const CGspEffectSequence* in = p->GetInEffects();
        v.insert(v.end(), {p->GetPageId(), p->GetDefaultSelectedButtonIdRef(), in->GetNumberOfEffects()});
        for (uint32_t j = 0; const CGspWindow* w = in->GetWindow(j); ++j)
            v.insert(v.end(), {w->GetWindowId(), w->GetWindowWidth(), w->GetWindowHeight()});
        for (uint32_t j = 0; const CGspEffect* e = in->GetEffect(j); ++j) {
            for (uint32_t k = 0; const CGspObject* o = e->GetCompositionObject(k); ++k)
                v.insert(v.end(), {o->GetObjectIdRef(), o->GetWindowIdRef()});
        }
        for (uint32_t j = 0; const CGspBOG* g = p->GetBOG(j); ++j) {
            v.push_back(g->GetDefaultValidButtonIdRef());
            for (uint32_t k = 0; const CGspButton* b = g->GetButton(k); ++k) {
                v.insert(v.end(), {b->GetButtonId(), b->GetNormalStartObjectIdRef(), b->GetNormalEndObjectIdRef(),
                                   b->GetSelectedStartObjectIdRef(), b->GetSelectedEndObjectIdRef(),
                                   b->GetActivatedStartObjectIdRef(), b->GetActivatedEndObjectIdRef()});
            }
        }
    }
    return v;
}

TEST(GspIC, CompositionFields) {
    const Button b{0x0A0B, 3, true, 10, 20, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, {Bytes(12, 0x21), Bytes(12, 0x22)}};
    const Effect effect{0x010203, 6, {{7, 1}, {8, 1, true, false, 0, 0, 1, 2, 3, 4}}};
    const Page page{4, 5, 0x0102030405060708ull, {{{1, 0, 0, 100, 50}}, {effect}},
                    {{{2, 0, 0, 10, 10}}, {{5, 0, {{9, 2}}}}}, 2, 0x1111, 0x2222, 9, {{0x0A0B, {b}}}};
    const Values page0 = {4, 0x1111, 1, 1, 100, 50, 7, 1, 8, 1, 0x0A0B, 0x0A0B, 5, 6, 8, 9, 11, 12};
    Values cut = page0;
    cut.back() = 0;  // a page read past the end of the file keeps the missing fields 0
    // Stream model 0 with the user interface model bit set; the page loop follows the file, not number_of_pages.
    const InteractiveComposition ic{0, 1, 0x1FFFFFFFFull, 0x123456789ull, 0xABCDEF, {page, page}, 1};
    const Bytes one = InteractiveComposition{0, 1, 0x1FFFFFFFFull, 0, 0, {page}}.Build();
    // name, composition, result, header fields, the fields of each page
    const std::tuple<const char*, Bytes, bool, Values, std::vector<Values>> rows[] = {
        {"Model0", ic.Build(), true, {0, 0x1FFFFFFFFull, 2}, {page0, page0}},
        {"Model1WithoutTimeOuts", InteractiveComposition{1, 1, 5, 5, 5, {page, page}, 1}.Build(), true, {1, 0, 2},
         {page0, page0}},
        {"CutInTheLength", Cut(one, 3), false, {}, {}},
        {"CutInTheTimeOuts", Cut(one, 10), false, {}, {}},
        {"CutInTheUserTimeOut", Cut(one, 17), false, {}, {}},
        {"HeaderOnly", Cut(one, 18), true, {0, 0x1FFFFFFFFull, 0}, {}},
        {"CutInAButton", Cut(one, one.size() - 27), true, {0, 0x1FFFFFFFFull, 1}, {cut}},
    };
    TempDir dir;
    for (const auto& [name, composition, ok, fields, pages] : rows) {
        SCOPED_TRACE(name);
        CGspIC c;
        ASSERT_EQ(c.Parse(dir.Write("ic.dat", composition).c_str()), ok);
        Values want = fields;
        for (const Values& p : pages) want.insert(want.end(), p.begin(), p.end());
        EXPECT_EQ(ok ? Fields(c) : want, want);
        CGspIC fromBytes;  // the same bytes held in memory
        ASSERT_EQ(fromBytes.Parse(composition.data(), composition.size()), ok);
        EXPECT_EQ(ok ? Fields(fromBytes) : want, want);
    }
    CGspIC c;
    EXPECT_FALSE(c.Parse(dir.File("none.dat").c_str()));
    EXPECT_FALSE(c.Parse(nullptr));
}

}  // namespace
