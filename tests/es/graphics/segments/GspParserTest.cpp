// Segment parser: indexing, navigation, every segment kind, joined interactive compositions.
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

namespace {

struct Opened {
    TempDir dir;
    CGspGsParser parser;
    bool ok = false;
    explicit Opened(const Bytes& bytes) { ok = parser.Open(dir.Write("s.pgs", bytes).c_str()); }
};

TEST(GspParser, EmptyFileIndexesWithNoSegments) {
    Opened f({});
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.parser.GetSegmentCount(), 0u);
    EXPECT_EQ(f.parser.GetSegmentAt(0), nullptr);
    EXPECT_EQ(f.parser.GetNextSegment(), nullptr);
    EXPECT_EQ(f.parser.GetPreviousSegment(), nullptr);
}

TEST(GspParser, OpenFailures) {
    TempDir dir;
    CGspGsParser p;
    EXPECT_FALSE(p.Open(nullptr));
    EXPECT_FALSE(p.Open(dir.File("missing.pgs").c_str()));
    const std::string path = dir.Write("a.pgs", End());
    EXPECT_TRUE(p.Open(path.c_str()));
    EXPECT_FALSE(p.Open(path.c_str()));  // a second Open fails
    EXPECT_EQ(p.GetSegmentCount(), 1u);
}

struct TypeCase {
    uint8_t type;
    const std::type_info* cls;
};

TEST(GspParser, EachSegmentTypeMakesItsClass) {
    const TypeCase cases[] = {{0x14, &typeid(CGspPDS)}, {0x15, &typeid(CGspODS)}, {0x16, &typeid(CGspPCS)},
                              {0x17, &typeid(CGspWDS)}, {0x18, &typeid(CGspICS)}, {0x80, &typeid(CGspEND)},
                              {0x42, &typeid(CGspSegment)}, {0x00, &typeid(CGspSegment)}, {0x81, &typeid(CGspSegment)}};
    for (const auto& c : cases) {
        Opened f(Segment(c.type, Bytes(20, 0)));
        ASSERT_TRUE(f.ok);
        CGspSegment* s = f.parser.GetSegmentAt(0);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(typeid(*s), *c.cls) << int(c.type);
        EXPECT_EQ(s->GetType(), c.type);
        EXPECT_EQ(s->GetLength(), 20);
        EXPECT_EQ(s->GetSize(), 23u);
    }
}

TEST(GspParser, UnknownTypeKeepsOnlyTheDescriptor) {
    Bytes b = Segment(0x42, {1, 2, 3, 4, 5});
    Append(b, End());
    Opened f(b);
    ASSERT_EQ(f.parser.GetSegmentCount(), 2u);
    CGspSegment* s = f.parser.GetSegmentAt(0);
    EXPECT_EQ(s->GetType(), 0x42);
    EXPECT_EQ(s->GetLength(), 5);
    EXPECT_EQ(s->GetFileOffset(), 0u);
    uint8_t raw[8];
    EXPECT_FALSE(s->ReadRaw(raw, 7));
    EXPECT_FALSE(s->ReadRaw(nullptr, 8));
    ASSERT_TRUE(s->ReadRaw(raw, 8));
    EXPECT_EQ(Bytes(raw, raw + 8), Bytes({0x42, 0, 5, 1, 2, 3, 4, 5}));
    EXPECT_EQ(f.parser.GetSegmentAt(1)->GetFileOffset(), 8u);
}

TEST(GspParser, LastSegmentCutShortStillIndexes) {
    Bytes b = Pcs{}.Build();
    Bytes ods = Ods(1, 100, 50, 200);
    ods.resize(30);
    Append(b, ods);
    Opened f(b);
    ASSERT_TRUE(f.ok);
    ASSERT_EQ(f.parser.GetSegmentCount(), 2u);
    EXPECT_EQ(f.parser.GetIndexEntry(1).offset, 14u);
    auto* o = dynamic_cast<CGspODS*>(f.parser.GetSegmentAt(1));
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->GetLength(), 211);
    EXPECT_EQ(o->GetObjectWidth(), 100);
    EXPECT_EQ(o->GetObjectHeight(), 50);
    uint8_t raw[214];
    EXPECT_FALSE(o->ReadRaw(raw, sizeof raw));
}

TEST(GspParser, ListsCutByTheEndOfTheFileKeepTheirElements) {
    for (bool wds : {false, true}) {
        Pcs pcs;
        pcs.objects = {{1, 2, false, false, 3, 4}, {5, 6, false, false, 7, 8}};
        Bytes b = wds ? Wds({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}) : pcs.Build();
        b.resize(b.size() - 5);
        Opened f(b);
        CGspSegment* s = f.parser.GetSegmentAt(0);
        if (wds) {
            auto* w = dynamic_cast<CGspWDS*>(s);
            ASSERT_EQ(w->GetWindowCount(), 2u);
            EXPECT_EQ(w->GetWindow(1)->GetWindowHorizontalPosition(), 7);
            EXPECT_EQ(w->GetWindow(1)->GetWindowVerticalPosition() + w->GetWindow(1)->GetWindowWidth(), 0);
        } else {
            auto* p = dynamic_cast<CGspPCS*>(s);
            ASSERT_EQ(p->GetCompositionObjectCount(), 2u);
            EXPECT_EQ(p->GetCompositionObject(1)->GetWindowIdRef(), 6);
            EXPECT_EQ(p->GetCompositionObject(1)->GetCompositionObjectHorizontalPosition(), 0);
        }
    }
}

TEST(GspParser, TrailingBytesShorterThanADescriptorMakeAnEntry) {
    for (size_t extra : {1u, 2u}) {
        Bytes b = End();
        b.push_back(0x16);
        if (extra == 2) b.push_back(0x00);
        Opened f(b);
        ASSERT_TRUE(f.ok);
        ASSERT_EQ(f.parser.GetSegmentCount(), 2u);
        EXPECT_EQ(f.parser.GetIndexEntry(1).segment_type, 0x16);
        EXPECT_EQ(f.parser.GetIndexEntry(1).offset, 3u);
        EXPECT_NE(f.parser.GetSegmentAt(1), nullptr);
    }
}

TEST(GspParser, PcsFieldsAndOffsets) {
    Pcs pcs;
    pcs.width = 1280;
    pcs.height = 720;
    pcs.frameRate = 6;
    pcs.number = 0x1234;
    pcs.state = 1;
    pcs.paletteUpdate = true;
    pcs.paletteId = 7;
    pcs.objects = {{0x0102, 3, false, true, 100, 200}};
    Opened f(pcs.Build());
    auto* s = dynamic_cast<CGspPCS*>(f.parser.GetSegmentAt(0));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetVideoWidth(), 1280);
    EXPECT_EQ(s->GetVideoHeight(), 720);
    EXPECT_EQ(s->GetFrameRate(), 6);
    EXPECT_EQ(s->GetCompositionNumber(), 0x1234);
    EXPECT_EQ(s->GetCompositionState(), 1);
    EXPECT_EQ(s->GetPaletteUpdateFlag(), 1);
    EXPECT_EQ(s->GetPaletteIdRef(), 7);
    EXPECT_EQ(s->GetNumberOfCompositionObjects(), 1);
    ASSERT_EQ(s->GetCompositionObjectCount(), 1u);
    const CGspObject* o = s->GetCompositionObject(0);
    EXPECT_EQ(o->GetObjectIdRef(), 0x0102);
    EXPECT_EQ(o->GetWindowIdRef(), 3);
    EXPECT_EQ(o->GetObjectCroppedFlag(), 0);
    EXPECT_EQ(o->GetForcedOnFlag(), 1);
    EXPECT_EQ(o->GetCompositionObjectHorizontalPosition(), 100);
    EXPECT_EQ(o->GetCompositionObjectVerticalPosition(), 200);
    EXPECT_EQ(o->GetSize(), 8u);
    EXPECT_EQ(s->GetCompositionObject(1), nullptr);
    const uint32_t offsets[] = {s->GetVideoWidthOffset(), s->GetVideoHeightOffset(), s->GetFrameRateOffset(),
                                s->GetCompositionNumberOffset(), s->GetCompositionStateOffset(),
                                s->GetPaletteUpdateFlagOffset(), s->GetPaletteIdRefOffset(),
                                s->GetNumberOfCompositionObjectsOffset(), s->GetCompositionObjectsOffset()};
    const uint32_t expected[] = {3, 5, 7, 8, 10, 11, 12, 13, 14};
    for (size_t i = 0; i < 9; ++i) EXPECT_EQ(offsets[i], expected[i]) << i;
    EXPECT_EQ(s->GetCompositionObjectsSize(), 8u);
    EXPECT_EQ(s->GetVideoWidthSize() + s->GetVideoHeightSize() + s->GetFrameRateSize() +
                  s->GetCompositionNumberSize() + s->GetCompositionStateSize() + s->GetPaletteUpdateFlagSize() +
                  s->GetPaletteIdRefSize() + s->GetNumberOfCompositionObjectsSize(),
              11u);
}

TEST(GspParser, PcsObjectListFollowsTheSegmentSize) {
    Pcs pcs;
    pcs.objects = {{1, 0}, {2, 1}, {3, 2}};
    pcs.declaredObjects = 2;
    Opened f(pcs.Build());
    auto* s = dynamic_cast<CGspPCS*>(f.parser.GetSegmentAt(0));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetNumberOfCompositionObjects(), 2);
    ASSERT_EQ(s->GetCompositionObjectCount(), 3u);
    for (uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(s->GetCompositionObject(i)->GetObjectIdRef(), i + 1);
        EXPECT_EQ(s->GetCompositionObject(i)->GetWindowIdRef(), i);
    }
}

TEST(GspParser, CroppedObjectTakesSixteenBytes) {
    Pcs pcs;
    CompObject cropped{5, 1, true, false, 10, 20, 30, 40, 50, 60};
    pcs.objects = {cropped, {6, 2, false, false, 70, 80}};
    Opened f(pcs.Build());
    auto* s = dynamic_cast<CGspPCS*>(f.parser.GetSegmentAt(0));
    ASSERT_EQ(s->GetLength(), 11 + 16 + 8);
    ASSERT_EQ(s->GetCompositionObjectCount(), 2u);
    const CGspObject* a = s->GetCompositionObject(0);
    EXPECT_EQ(a->GetSize(), 16u);
    EXPECT_EQ(a->GetObjectCroppedFlag(), 1);
    EXPECT_EQ(a->GetObjectCroppingHorizontalPosition(), 30);
    EXPECT_EQ(a->GetObjectCroppingVerticalPosition(), 40);
    EXPECT_EQ(a->GetObjectCroppingWidth(), 50);
    EXPECT_EQ(a->GetObjectCroppingHeight(), 60);
    const CGspObject* b = s->GetCompositionObject(1);
    EXPECT_EQ(b->GetSize(), 8u);
    EXPECT_EQ(b->GetObjectIdRef(), 6);
    EXPECT_EQ(b->GetWindowIdRef(), 2);
    EXPECT_EQ(b->GetCompositionObjectHorizontalPosition(), 70);
    EXPECT_EQ(b->GetCompositionObjectVerticalPosition(), 80);
}

TEST(GspParser, WdsAndPdsLists) {
    Bytes b = Wds({{1, 10, 20, 300, 400}, {2, 11, 21, 301, 401}}, 1);
    Append(b, Pds(3, 4, {{0, 16, 128, 128, 255}, {1, 235, 100, 110, 0}}));
    Opened f(b);
    auto* w = dynamic_cast<CGspWDS*>(f.parser.GetSegmentAt(0));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->GetNumberOfWindows(), 1);
    ASSERT_EQ(w->GetWindowCount(), 2u);
    EXPECT_EQ(w->GetWindow(1)->GetWindowId(), 2);
    EXPECT_EQ(w->GetWindow(1)->GetWindowHorizontalPosition(), 11);
    EXPECT_EQ(w->GetWindow(1)->GetWindowVerticalPosition(), 21);
    EXPECT_EQ(w->GetWindow(1)->GetWindowWidth(), 301);
    EXPECT_EQ(w->GetWindow(1)->GetWindowHeight(), 401);
    EXPECT_EQ(w->GetWindow(2), nullptr);
    EXPECT_EQ(w->GetWindowsOffset(), 4u);
    EXPECT_EQ(w->GetWindowsSize(), 18u);
    auto* p = dynamic_cast<CGspPDS*>(f.parser.GetNextSegment());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetPaletteId(), 3);
    EXPECT_EQ(p->GetPaletteVersionNumber(), 4);
    ASSERT_EQ(p->GetPaletteEntryCount(), 2u);
    const CGspPalette* e = p->GetPaletteEntry(1);
    EXPECT_EQ(e->GetPaletteEntryId(), 1);
    EXPECT_EQ(e->GetY(), 235);
    EXPECT_EQ(e->GetCr(), 100);
    EXPECT_EQ(e->GetCb(), 110);
    EXPECT_EQ(e->GetT(), 0);
    EXPECT_EQ(p->GetPaletteEntriesOffset(), 5u);
    EXPECT_EQ(p->GetPaletteEntriesSize(), 10u);
}

TEST(GspParser, OdsFirstAndContinuationFragments) {
    Bytes b = Ods(0x0203, 720, 480, 100, false, 9);
    Append(b, OdsMore(0x0203, 2, true, 9));
    Opened f(b);
    auto* a = dynamic_cast<CGspODS*>(f.parser.GetSegmentAt(0));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetObjectId(), 0x0203);
    EXPECT_EQ(a->GetObjectVersionNumber(), 9);
    EXPECT_EQ(a->GetFirstInSequenceFlag(), 1);
    EXPECT_EQ(a->GetLastInSequenceFlag(), 0);
    EXPECT_EQ(a->GetObjectDataLength(), 104u);
    EXPECT_EQ(a->GetObjectWidth(), 720);
    EXPECT_EQ(a->GetObjectHeight(), 480);
    EXPECT_EQ(a->GetObjectDataLengthOffset(), 7u);
    EXPECT_EQ(a->GetObjectWidthOffset(), 10u);
    EXPECT_EQ(a->GetObjectHeightOffset(), 12u);
    // A 6-byte continuation: bytes 7 and 8 are its data, the rest of the fields read as 0.
    auto* c = dynamic_cast<CGspODS*>(f.parser.GetNextSegment());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->GetFirstInSequenceFlag(), 0);
    EXPECT_EQ(c->GetLastInSequenceFlag(), 1);
    EXPECT_EQ(c->GetObjectDataLength(), 0x555500u);
    EXPECT_EQ(c->GetObjectWidth(), 0);
    EXPECT_EQ(c->GetObjectHeight(), 0);
}

TEST(GspParser, IcsHeaderAndFragmentSize) {
    Ics ics;
    ics.width = 720;
    ics.height = 576;
    ics.frameRate = 3;
    ics.number = 77;
    ics.state = 3;
    ics.first = false;
    ics.last = true;
    ics.fragment = {1, 2, 3};
    Ics empty;  // segment_length 9
    Bytes b = ics.Build();
    Append(b, empty.Build());
    Opened f(b);
    auto* s = dynamic_cast<CGspICS*>(f.parser.GetSegmentAt(0));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetVideoWidth(), 720);
    EXPECT_EQ(s->GetVideoHeight(), 576);
    EXPECT_EQ(s->GetFrameRate(), 3);
    EXPECT_EQ(s->GetCompositionNumber(), 77);
    EXPECT_EQ(s->GetCompositionState(), 3);
    EXPECT_EQ(s->GetFirstInSequenceFlag(), 0);
    EXPECT_EQ(s->GetLastInSequenceFlag(), 1);
    EXPECT_EQ(s->GetInteractiveCompositionDataOffset(), 12u);
    EXPECT_EQ(s->GetInteractiveCompositionDataSize(), 3u);
    auto* e = dynamic_cast<CGspICS*>(f.parser.GetNextSegment());
    ASSERT_EQ(e->GetLength(), 9);
    EXPECT_EQ(e->GetInteractiveCompositionDataSize(), 0u);
}

TEST(GspParser, NavigationAtBothEnds) {
    Bytes b = Pcs{}.Build();
    Append(b, Wds({}));
    Append(b, End());
    Opened f(b);
    ASSERT_EQ(f.parser.GetSegmentCount(), 3u);
    EXPECT_EQ(f.parser.GetCurrentIndex(), 0u);
    EXPECT_EQ(f.parser.GetPreviousSegment(), nullptr);
    EXPECT_EQ(f.parser.GetCurrentIndex(), 0u);
    EXPECT_EQ(f.parser.GetCurrentSegment()->GetType(), 0x16);
    EXPECT_EQ(f.parser.GetNextSegment()->GetType(), 0x17);
    EXPECT_EQ(f.parser.GetNextSegment()->GetType(), 0x80);
    EXPECT_EQ(f.parser.GetCurrentIndex(), 2u);
    EXPECT_EQ(f.parser.GetNextSegment(), nullptr);
    EXPECT_EQ(f.parser.GetCurrentIndex(), 2u);
    EXPECT_EQ(f.parser.GetPreviousSegment()->GetType(), 0x17);
    EXPECT_EQ(f.parser.GetCurrentIndex(), 1u);
    EXPECT_EQ(f.parser.GetSegmentAt(3), nullptr);
    EXPECT_EQ(f.parser.GetCurrentIndex(), 1u);
    f.parser.ClearIndex();
    EXPECT_EQ(f.parser.GetSegmentCount(), 0u);
}

Ics Fragment(bool first, bool last, Bytes data) {
    Ics ics;
    ics.first = first;
    ics.last = last;
    ics.fragment = std::move(data);
    return ics;
}

TEST(GspParser, BuildCompositionFileJoinsFragments) {
    struct Case {
        const char* name;
        std::vector<Bytes> segments;
        uint32_t start;
        bool ok;
        Bytes joined;
    };
    const Case cases[] = {
        {"three fragments", {Fragment(true, false, {1, 2}).Build(), Fragment(false, false, {3}).Build(),
                             Fragment(false, true, {4, 5}).Build(), Fragment(true, true, {9}).Build()},
         0, true, {1, 2, 3, 4, 5}},
        {"stops at a non-ICS", {Fragment(true, false, {1}).Build(), End(), Fragment(false, true, {2}).Build()},
         0, true, {1}},
        {"single first and last", {Fragment(true, true, {7, 8}).Build(), Fragment(false, true, {9}).Build()},
         0, true, {7, 8, 9}},
        {"segment_length 9", {Fragment(true, true, {}).Build(), End()}, 0, true, {}},
        {"not first in sequence", {Fragment(false, true, {1}).Build()}, 0, false, {}},
        {"not an ICS", {Pcs{}.Build()}, 0, false, {}},
        {"index past the end", {Fragment(true, true, {1}).Build()}, 1, false, {}},
    };
    for (const auto& c : cases) {
        Bytes b;
        for (const auto& s : c.segments) Append(b, s);
        Opened f(b);
        const std::string out = f.dir.File("ic.dat");
        EXPECT_EQ(f.parser.BuildCompositionFile(c.start, out.c_str()), c.ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(TempDir::Read(out), c.joined) << c.name;
        }
    }
    Opened f(Fragment(true, true, {1}).Build());
    EXPECT_FALSE(f.parser.BuildCompositionFile(0, nullptr));
    EXPECT_FALSE(f.parser.BuildCompositionFile(0, (f.dir.Path() + "/no/such/dir/ic.dat").c_str()));
}

Page SamplePage() {
    Page p;
    p.id = 4;
    p.version = 5;
    p.uoMask = 0x0102030405060708ull;
    p.in.windows = {{1, 0, 0, 100, 50}};
    p.in.effects = {{0x010203, 6, {{7, 1}, {8, 1, true, false, 0, 0, 1, 2, 3, 4}}}};
    p.animationFrameRateCode = 2;
    p.defaultSelected = 0x1111;
    p.defaultActivated = 0x2222;
    p.paletteId = 9;
    Button btn;
    btn.id = 0x0A0B;
    btn.numericSelectValue = 3;
    btn.autoAction = true;
    btn.x = 10;
    btn.y = 20;
    btn.upper = 1;
    btn.lower = 2;
    btn.left = 3;
    btn.right = 4;
    btn.normalStart = 5;
    btn.normalEnd = 6;
    btn.selectedSound = 7;
    btn.selectedStart = 8;
    btn.selectedEnd = 9;
    btn.activatedSound = 10;
    btn.activatedStart = 11;
    btn.activatedEnd = 12;
    btn.commands = {Bytes(12, 0x21), Bytes(12, 0x22)};
    p.groups = {{0x0A0B, {btn}}};
    return p;
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
        CGspIC parsed;
        ASSERT_TRUE(parsed.Parse(dir.Write("ic.dat", bytes).c_str()));
        EXPECT_EQ(parsed.GetInteractiveCompositionLength(), bytes.size() - 3);
        EXPECT_EQ(parsed.GetStreamModel(), model);
        EXPECT_EQ(parsed.GetUserInterfaceModel(), 1);
        EXPECT_EQ(parsed.GetCompositionTimeOutPts(), model == 0 ? 0x1FFFFFFFFull : 0u);
        EXPECT_EQ(parsed.GetSelectionTimeOutPts(), model == 0 ? 0x123456789ull : 0u);
        EXPECT_EQ(parsed.GetUserTimeOutDuration(), 0xABCDEFu);
        EXPECT_EQ(parsed.GetNumberOfPages(), 1);
        ASSERT_EQ(parsed.GetPageCount(), 2u);
        const CGspPage* p = parsed.GetPage(1);
        EXPECT_EQ(p->GetPageId(), 4);
        EXPECT_EQ(p->GetPageVersionNumber(), 5);
        EXPECT_EQ(p->GetUoMaskTable(), 0x0102030405060708ull);
        EXPECT_EQ(p->GetAnimationFrameRateCode(), 2);
        EXPECT_EQ(p->GetDefaultSelectedButtonIdRef(), 0x1111);
        EXPECT_EQ(p->GetDefaultActivatedButtonIdRef(), 0x2222);
        EXPECT_EQ(p->GetPaletteIdRef(), 9);
        // page = 10 + (2 + 9 + 5 + 8 + 16) + 2 + 7 + (3 + 35 + 24)
        EXPECT_EQ(p->GetSize(), 121u);
        EXPECT_EQ(parsed.GetPage(0)->GetSize() * 2 + (model == 0 ? 18u : 8u), bytes.size());
        const CGspEffectSequence* in = p->GetInEffects();
        ASSERT_EQ(in->GetWindowCount(), 1u);
        EXPECT_EQ(in->GetWindow(0)->GetWindowWidth(), 100);
        ASSERT_EQ(in->GetEffectCount(), 1u);
        const CGspEffect* e = in->GetEffect(0);
        EXPECT_EQ(e->GetEffectDuration(), 0x010203u);
        EXPECT_EQ(e->GetPaletteIdRef(), 6);
        ASSERT_EQ(e->GetCompositionObjectCount(), 2u);
        EXPECT_EQ(e->GetCompositionObject(1)->GetObjectCroppingHeight(), 4);
        EXPECT_EQ(e->GetSize(), 29u);
        EXPECT_EQ(p->GetOutEffects()->GetSize(), 2u);
        ASSERT_EQ(p->GetBOGCount(), 1u);
        const CGspBOG* g = p->GetBOG(0);
        EXPECT_EQ(g->GetDefaultValidButtonIdRef(), 0x0A0B);
        ASSERT_EQ(g->GetButtonCount(), 1u);
        const CGspButton* btn = g->GetButton(0);
        const uint32_t values[] = {btn->GetButtonId(), btn->GetButtonNumericSelectValue(), btn->GetAutoActionFlag(),
                                   btn->GetButtonHorizontalPosition(), btn->GetButtonVerticalPosition(),
                                   btn->GetUpperButtonIdRef(), btn->GetLowerButtonIdRef(), btn->GetLeftButtonIdRef(),
                                   btn->GetRightButtonIdRef(), btn->GetNormalStartObjectIdRef(),
                                   btn->GetNormalEndObjectIdRef(), btn->GetNormalRepeatFlag(),
                                   btn->GetNormalCompleteFlag(), btn->GetSelectedStateSoundIdRef(),
                                   btn->GetSelectedStartObjectIdRef(), btn->GetSelectedEndObjectIdRef(),
                                   btn->GetSelectedRepeatFlag(), btn->GetSelectedCompleteFlag(),
                                   btn->GetActivatedStateSoundIdRef(), btn->GetActivatedStartObjectIdRef(),
                                   btn->GetActivatedEndObjectIdRef(), btn->GetNumberOfNavigationCommands()};
        const uint32_t expected[] = {0x0A0B, 3, 1, 10, 20, 1, 2, 3, 4, 5, 6, 1, 0, 7, 8, 9, 0, 1, 10, 11, 12, 2};
        for (size_t i = 0; i < sizeof expected / sizeof expected[0]; ++i) EXPECT_EQ(values[i], expected[i]) << i;
        ASSERT_EQ(btn->GetCommandCount(), 2u);
        EXPECT_EQ(btn->GetCommand(1)->GetCommand()[11], 0x22);
        EXPECT_EQ(btn->GetCommand(2), nullptr);
        EXPECT_EQ(btn->GetSize(), 59u);
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
        CGspIC parsed;
        ASSERT_EQ(parsed.Parse(dir.Write("ic.dat", Bytes(full.begin(), full.begin() + cut)).c_str()), ok) << cut;
        if (!ok) continue;
        // A page read past the end of the file is kept with the missing fields 0.
        ASSERT_EQ(parsed.GetPageCount(), cut > 18 ? 1u : 0u);
        if (cut > 18) {
            const CGspButton* b = parsed.GetPage(0)->GetBOG(0)->GetButton(0);
            EXPECT_EQ(b->GetCommand(1)->GetCommand()[10], 0x22);
            EXPECT_EQ(b->GetCommand(1)->GetCommand()[11], 0);
        }
    }
    CGspIC parsed;
    EXPECT_FALSE(parsed.Parse(dir.File("none.dat").c_str()));
    EXPECT_FALSE(parsed.Parse(nullptr));
}

}  // namespace
