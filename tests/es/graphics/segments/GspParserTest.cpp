// Segment parser: indexing, navigation, the fields of every segment kind, joined interactive compositions.
#include <gtest/gtest.h>

#include <typeinfo>

#include "es/graphics/segments/CGspEND.h"
#include "es/graphics/segments/CGspGsParser.h"
#include "es/graphics/segments/CGspIC.h"
#include "es/graphics/segments/CGspICS.h"
#include "es/graphics/segments/CGspODS.h"
#include "es/graphics/segments/CGspPCS.h"
#include "es/graphics/segments/CGspPDS.h"
#include "es/graphics/segments/CGspWDS.h"
#include "support/GraphicsBuilder.h"
#include "support/TempDir.h"

using namespace kiv_test::gfx;
using kiv_test::TempDir;
using Values = std::vector<uint64_t>;

namespace {

struct Opened {
    TempDir dir;
    CGspGsParser parser;
    bool ok = false;
    explicit Opened(const Bytes& bytes) { ok = parser.Open(dir.Write("s.pgs", bytes).c_str()); }
    template <class T>
    T* At(uint32_t i) { return dynamic_cast<T*>(parser.GetSegmentAt(i)); }
};

Values ObjectFields(const CGspObject* o) {
    return {o->GetObjectIdRef(), o->GetWindowIdRef(), o->GetObjectCroppedFlag(), o->GetForcedOnFlag(),
            o->GetCompositionObjectHorizontalPosition(), o->GetCompositionObjectVerticalPosition(),
            o->GetObjectCroppingHorizontalPosition(), o->GetObjectCroppingVerticalPosition(),
            o->GetObjectCroppingWidth(), o->GetObjectCroppingHeight(), o->GetSize()};
}

Values WindowFields(const CGspWindow* w) {
    return {w->GetWindowId(), w->GetWindowHorizontalPosition(), w->GetWindowVerticalPosition(), w->GetWindowWidth(),
            w->GetWindowHeight()};
}

TEST(GspParser, OpenIndexesEveryDescriptor) {
    TempDir dir;
    CGspGsParser p;
    EXPECT_FALSE(p.Open(nullptr));
    EXPECT_FALSE(p.Open(dir.File("missing.pgs").c_str()));
    const std::string path = dir.Write("a.pgs", Bytes{});
    ASSERT_TRUE(p.Open(path.c_str()));
    EXPECT_FALSE(p.Open(path.c_str()));  // a second Open fails
    EXPECT_EQ(p.GetSegmentCount(), 0u);
    EXPECT_EQ(p.GetSegmentAt(0), nullptr);
    EXPECT_EQ(p.GetNextSegment(), nullptr);
    EXPECT_EQ(p.GetPreviousSegment(), nullptr);
    // One or two bytes of a descriptor at the end still make an entry.
    for (size_t extra : {1u, 2u}) {
        Opened f(Cat({End(), Bytes(extra, 0x16)}));
        ASSERT_EQ(f.parser.GetSegmentCount(), 2u);
        EXPECT_EQ(Values({f.parser.GetIndexEntry(1).segment_type, f.parser.GetIndexEntry(1).offset}), Values({0x16, 3}));
        EXPECT_NE(f.parser.GetSegmentAt(1), nullptr);
    }
    // A body cut by the end of the file: its fields from the bytes that are there.
    Bytes ods = Ods(1, 100, 50, 200);
    ods.resize(30);
    Opened f(Cat({Pcs{}.Build(), ods}));
    ASSERT_EQ(f.parser.GetSegmentCount(), 2u);
    auto* o = f.At<CGspODS>(1);
    EXPECT_EQ(Values({o->GetFileOffset(), o->GetLength(), o->GetObjectWidth(), o->GetObjectHeight()}),
              Values({14, 211, 100, 50}));
    uint8_t raw[214];
    EXPECT_FALSE(o->ReadRaw(raw, sizeof raw));
}

TEST(GspParser, EachSegmentTypeMakesItsClass) {
    const std::pair<uint8_t, const std::type_info*> cases[] = {
        {0x14, &typeid(CGspPDS)}, {0x15, &typeid(CGspODS)},     {0x16, &typeid(CGspPCS)},
        {0x17, &typeid(CGspWDS)}, {0x18, &typeid(CGspICS)},     {0x80, &typeid(CGspEND)},
        {0x42, &typeid(CGspSegment)}, {0x00, &typeid(CGspSegment)}, {0x81, &typeid(CGspSegment)}};
    for (const auto& [type, cls] : cases) {
        Opened f(Cat({Segment(0x42, {1, 2, 3, 4, 5}), Segment(type, Bytes(20, 0))}));
        CGspSegment* s = f.parser.GetSegmentAt(1);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(typeid(*s), *cls) << int(type);
        EXPECT_EQ(Values({s->GetType(), s->GetLength(), s->GetSize(), s->GetFileOffset()}), Values({type, 20, 23, 8}));
    }
    // An unknown type keeps its descriptor; ReadRaw gives the whole segment into a buffer large enough.
    Opened f(Cat({Segment(0x42, {1, 2, 3, 4, 5}), End()}));
    CGspSegment* s = f.parser.GetSegmentAt(0);
    uint8_t raw[8];
    EXPECT_FALSE(s->ReadRaw(raw, 7));
    EXPECT_FALSE(s->ReadRaw(nullptr, 8));
    ASSERT_TRUE(s->ReadRaw(raw, 8));
    EXPECT_EQ(Bytes(raw, raw + 8), Bytes({0x42, 0, 5, 1, 2, 3, 4, 5}));
}

TEST(GspParser, CompositionWindowAndPaletteFields) {
    // Two declared, three present: the list follows the segment size; a cropped object takes 16 bytes.
    const Pcs pcs{1280, 720, 6, 0x1234, 1, true, 7,
                  {{0x0102, 3, false, true, 100, 200}, {5, 1, true, false, 10, 20, 30, 40, 50, 60}, {6, 2}}, 2};
    Opened f(Cat({pcs.Build(), Wds({{1, 10, 20, 300, 400}, {2, 11, 21, 301, 401}}, 1),
                  Pds(3, 4, {{0, 16, 128, 128, 255}, {1, 235, 100, 110, 0}})}));
    auto* s = f.At<CGspPCS>(0);
    EXPECT_EQ(Values({s->GetVideoWidth(), s->GetVideoHeight(), s->GetFrameRate(), s->GetCompositionNumber(),
                      s->GetCompositionState(), s->GetPaletteUpdateFlag(), s->GetPaletteIdRef(),
                      s->GetNumberOfCompositionObjects(), s->GetCompositionObjectCount(), s->GetCompositionObjectsSize()}),
              Values({1280, 720, 6, 0x1234, 1, 1, 7, 2, 3, 32}));
    EXPECT_EQ(ObjectFields(s->GetCompositionObject(0)), Values({0x0102, 3, 0, 1, 100, 200, 0, 0, 0, 0, 8}));
    EXPECT_EQ(ObjectFields(s->GetCompositionObject(1)), Values({5, 1, 1, 0, 10, 20, 30, 40, 50, 60, 16}));
    EXPECT_EQ(ObjectFields(s->GetCompositionObject(2)), Values({6, 2, 0, 0, 0, 0, 0, 0, 0, 0, 8}));
    EXPECT_EQ(s->GetCompositionObject(3), nullptr);
    auto* w = f.At<CGspWDS>(1);
    EXPECT_EQ(Values({w->GetNumberOfWindows(), w->GetWindowCount(), w->GetWindowsSize()}), Values({1, 2, 18}));
    EXPECT_EQ(WindowFields(w->GetWindow(1)), Values({2, 11, 21, 301, 401}));
    EXPECT_EQ(w->GetWindow(2), nullptr);
    auto* p = f.At<CGspPDS>(2);
    const CGspPalette* e = p->GetPaletteEntry(1);
    EXPECT_EQ(Values({p->GetPaletteId(), p->GetPaletteVersionNumber(), p->GetPaletteEntryCount(),
                      p->GetPaletteEntriesSize(), e->GetPaletteEntryId(), e->GetY(), e->GetCr(), e->GetCb(), e->GetT()}),
              Values({3, 4, 2, 10, 1, 235, 100, 110, 0}));
}

TEST(GspParser, ListsCutByTheEndOfTheFileKeepTheirElements) {
    Pcs pcs;
    pcs.objects = {{1, 2, false, false, 3, 4}, {5, 6, false, false, 7, 8}};
    Bytes b = pcs.Build();
    b.resize(b.size() - 5);
    Opened f(b);
    auto* s = f.At<CGspPCS>(0);
    ASSERT_EQ(s->GetCompositionObjectCount(), 2u);
    EXPECT_EQ(ObjectFields(s->GetCompositionObject(1)), Values({5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 8}));
    b = Wds({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}});
    b.resize(b.size() - 5);
    Opened g(b);
    auto* w = g.At<CGspWDS>(0);
    ASSERT_EQ(w->GetWindowCount(), 2u);
    EXPECT_EQ(WindowFields(w->GetWindow(1)), Values({6, 7, 0, 0, 0}));
}

TEST(GspParser, ObjectAndInteractiveCompositionSegments) {
    const Ics ics{720, 576, 3, 77, 3, false, true, {1, 2, 3}};
    // A 6-byte continuation: bytes 7 and 8 are its data, the fields after them read as 0.
    Opened f(Cat({Ods(0x0203, 720, 480, 100, false, 9), OdsMore(0x0203, 2, true, 9), ics.Build(), Ics{}.Build()}));
    for (uint32_t i : {0u, 1u}) {
        auto* o = f.At<CGspODS>(i);
        EXPECT_EQ(Values({o->GetObjectId(), o->GetObjectVersionNumber(), o->GetFirstInSequenceFlag(),
                          o->GetLastInSequenceFlag(), o->GetObjectDataLength(), o->GetObjectWidth(), o->GetObjectHeight()}),
                  i == 0 ? Values({0x0203, 9, 1, 0, 104, 720, 480}) : Values({0x0203, 9, 0, 1, 0x555500, 0, 0}));
    }
    auto* s = f.At<CGspICS>(2);
    EXPECT_EQ(Values({s->GetVideoWidth(), s->GetVideoHeight(), s->GetFrameRate(), s->GetCompositionNumber(),
                      s->GetCompositionState(), s->GetFirstInSequenceFlag(), s->GetLastInSequenceFlag(),
                      s->GetInteractiveCompositionDataSize()}),
              Values({720, 576, 3, 77, 3, 0, 1, 3}));
    EXPECT_EQ(f.At<CGspICS>(3)->GetInteractiveCompositionDataSize(), 0u);  // segment_length 9
}

TEST(GspParser, NavigationAtBothEnds) {
    Opened f(Cat({Pcs{}.Build(), Wds({}), End()}));
    CGspGsParser& p = f.parser;
    EXPECT_EQ(p.GetPreviousSegment(), nullptr);
    EXPECT_EQ(p.GetCurrentIndex(), 0u);
    EXPECT_EQ(p.GetCurrentSegment()->GetType(), 0x16);
    EXPECT_EQ(p.GetNextSegment()->GetType(), 0x17);
    EXPECT_EQ(p.GetNextSegment()->GetType(), 0x80);
    EXPECT_EQ(p.GetNextSegment(), nullptr);
    EXPECT_EQ(p.GetCurrentIndex(), 2u);
    EXPECT_EQ(p.GetPreviousSegment()->GetType(), 0x17);
    EXPECT_EQ(p.GetSegmentAt(3), nullptr);
    EXPECT_EQ(p.GetCurrentIndex(), 1u);
}

Bytes Fragment(bool first, bool last, Bytes data) {
    Ics ics;
    ics.first = first;
    ics.last = last;
    ics.fragment = std::move(data);
    return ics.Build();
}

TEST(GspParser, BuildCompositionFileJoinsFragments) {
    const struct {
        const char* name;
        Bytes stream;
        uint32_t start;
        bool ok;
        Bytes joined;
    } cases[] = {
        {"three fragments", Cat({Fragment(true, false, {1, 2}), Fragment(false, false, {3}), Fragment(false, true, {4, 5}),
                                 Fragment(true, true, {9})}), 0, true, {1, 2, 3, 4, 5}},
        {"stops at a non-ICS", Cat({Fragment(true, false, {1}), End(), Fragment(false, true, {2})}), 0, true, {1}},
        {"single first and last", Cat({Fragment(true, true, {7, 8}), Fragment(false, true, {9})}), 0, true, {7, 8, 9}},
        {"segment_length 9", Cat({Fragment(true, true, {}), End()}), 0, true, {}},
        {"not first in sequence", Fragment(false, true, {1}), 0, false, {}},
        {"not an ICS", Pcs{}.Build(), 0, false, {}},
        {"index past the end", Fragment(true, true, {1}), 1, false, {}},
    };
    for (const auto& c : cases) {
        Opened f(c.stream);
        const std::string out = f.dir.File("ic.dat");
        EXPECT_EQ(f.parser.BuildCompositionFile(c.start, out.c_str()), c.ok) << c.name;
        EXPECT_EQ(c.ok ? TempDir::Read(out) : c.joined, c.joined) << c.name;
    }
    Opened f(Fragment(true, true, {1}));
    EXPECT_FALSE(f.parser.BuildCompositionFile(0, nullptr));
    EXPECT_FALSE(f.parser.BuildCompositionFile(0, (f.dir.Path() + "/no/such/dir/ic.dat").c_str()));
}

Page SamplePage() {
    const Button b{0x0A0B, 3, true, 10, 20, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, {Bytes(12, 0x21), Bytes(12, 0x22)}};
    const EffectSequence in{{{1, 0, 0, 100, 50}}, {{0x010203, 6, {{7, 1}, {8, 1, true, false, 0, 0, 1, 2, 3, 4}}}}};
    return Page{4, 5, 0x0102030405060708ull, in, {}, 2, 0x1111, 0x2222, 9, {{0x0A0B, {b}}}};
}

TEST(GspIC, ParsesBothStreamModels) {
    for (uint8_t model : {0, 1}) {
        InteractiveComposition ic;
        ic.streamModel = model;
        ic.uiModel = 1;
        ic.compositionTimeOut = 0x1FFFFFFFFull;
        ic.selectionTimeOut = 0x123456789ull;
        ic.userTimeOut = 0xABCDEF;
        ic.pages = {SamplePage(), SamplePage()};
        ic.declaredPages = 1;  // the page loop follows the file length
        TempDir dir;
        const Bytes bytes = ic.Build();
        CGspIC c;
        ASSERT_TRUE(c.Parse(dir.Write("ic.dat", bytes).c_str()));
        EXPECT_EQ(Values({c.GetInteractiveCompositionLength(), c.GetStreamModel(), c.GetUserInterfaceModel(),
                          c.GetCompositionTimeOutPts(), c.GetSelectionTimeOutPts(), c.GetUserTimeOutDuration(),
                          c.GetNumberOfPages(), c.GetPageCount()}),
                  Values({bytes.size() - 3, model, 1, model == 0 ? 0x1FFFFFFFFull : 0, model == 0 ? 0x123456789ull : 0,
                          0xABCDEF, 1, 2}));
        const CGspPage* p = c.GetPage(1);
        // page = 10 + (2 + 9 + 5 + 8 + 16) + 2 + 7 + (3 + 35 + 24)
        EXPECT_EQ(Values({p->GetPageId(), p->GetPageVersionNumber(), p->GetUoMaskTable(), p->GetAnimationFrameRateCode(),
                          p->GetDefaultSelectedButtonIdRef(), p->GetDefaultActivatedButtonIdRef(), p->GetPaletteIdRef(),
                          p->GetNumberOfBOGs(), p->GetSize(), p->GetOutEffects()->GetSize()}),
                  Values({4, 5, 0x0102030405060708ull, 2, 0x1111, 0x2222, 9, 1, 121, 2}));
        const CGspEffectSequence* in = p->GetInEffects();
        const CGspEffect* e = in->GetEffect(0);
        EXPECT_EQ(Values({in->GetNumberOfWindows(), in->GetNumberOfEffects(), in->GetWindow(0)->GetWindowWidth(),
                          e->GetEffectDuration(), e->GetPaletteIdRef(), e->GetNumberOfCompositionObjects(), e->GetSize()}),
                  Values({1, 1, 100, 0x010203, 6, 2, 29}));
        EXPECT_EQ(ObjectFields(e->GetCompositionObject(1)), Values({8, 1, 1, 0, 0, 0, 1, 2, 3, 4, 16}));
        const CGspBOG* g = p->GetBOG(0);
        const CGspButton* b = g->GetButton(0);
        EXPECT_EQ(Values({g->GetDefaultValidButtonIdRef(), g->GetNumberOfButtons(), b->GetButtonId(),
                          b->GetButtonNumericSelectValue(), b->GetAutoActionFlag(), b->GetButtonHorizontalPosition(),
                          b->GetButtonVerticalPosition(), b->GetUpperButtonIdRef(), b->GetLowerButtonIdRef(),
                          b->GetLeftButtonIdRef(), b->GetRightButtonIdRef(), b->GetNormalStartObjectIdRef(),
                          b->GetNormalEndObjectIdRef(), b->GetNormalRepeatFlag(), b->GetNormalCompleteFlag(),
                          b->GetSelectedStateSoundIdRef(), b->GetSelectedStartObjectIdRef(),
                          b->GetSelectedEndObjectIdRef(), b->GetSelectedRepeatFlag(), b->GetSelectedCompleteFlag(),
                          b->GetActivatedStateSoundIdRef(), b->GetActivatedStartObjectIdRef(),
                          b->GetActivatedEndObjectIdRef(), b->GetNumberOfNavigationCommands(), b->GetSize(),
                          b->GetCommand(1)->GetCommand()[11]}),
                  Values({0x0A0B, 1, 0x0A0B, 3, 1, 10, 20, 1, 2, 3, 4, 5, 6, 1, 0, 7, 8, 9, 0, 1, 10, 11, 12, 2, 59, 0x22}));
        EXPECT_EQ(b->GetCommand(2), nullptr);
    }
}

TEST(GspIC, CutCompositionFailsOnlyInItsHeader) {
    InteractiveComposition ic;
    ic.pages = {SamplePage()};
    const Bytes full = ic.Build();
    TempDir dir;
    const std::pair<size_t, bool> cuts[] = {{0, false}, {3, false}, {10, false}, {17, false}, {18, true},
                                            {full.size() - 1, true}};
    for (const auto& [cut, ok] : cuts) {
        CGspIC c;
        ASSERT_EQ(c.Parse(dir.Write("ic.dat", Bytes(full.begin(), full.begin() + cut)).c_str()), ok) << cut;
        if (!ok) continue;
        // A page read past the end of the file is kept with the missing fields 0.
        ASSERT_EQ(c.GetPageCount(), cut > 18 ? 1u : 0u);
        if (cut > 18) {
            const uint8_t* command = c.GetPage(0)->GetBOG(0)->GetButton(0)->GetCommand(1)->GetCommand();
            EXPECT_EQ(Values({command[10], command[11]}), Values({0x22, 0}));
        }
    }
    CGspIC c;
    EXPECT_FALSE(c.Parse(dir.File("none.dat").c_str()));
    EXPECT_FALSE(c.Parse(nullptr));
}

}  // namespace
