// PG and IG analysers with their display sets: the decoder model's time stamps, admission and order, the
// composition file, messages, texts. End-to-end rows of both kinds are in the creator table.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "CEsFactoryTable.h"
#include "KivCreator.h"
#include "foundation/CTsMuxException.h"
#include "support/GraphicsBuilder.h"
#include "support/ItemText.h"
#include "support/RecordingNotice.h"

namespace kiv_test {
namespace {

using namespace gfx;
using PRIVATE_LIBRARY::CL_CString;
using Stamps = std::vector<std::pair<uint64_t, uint64_t>>;  // dts, pts of each item before the end item
constexpr auto kPg = kiv_comp::CKivCreator::ES_TYPE_PG, kIg = kiv_comp::CKivCreator::ES_TYPE_IG;
constexpr uint16_t kNone = 0xFFFF;

std::unique_ptr<ts_comp::es::CEs> Make(kiv_comp::CKivCreator::ES_TYPE type, const TempDir& dir, const Bytes& stream) {
    return ts_comp::api::CEsFactoryTable::BuiltIn().Find(type)(CL_CString(dir.Write("in.es", stream).c_str()));
}

Bytes PcsOf(uint8_t state, std::vector<CompObject> objects, uint8_t frameRate = 4) {
    return Pcs{1920, 1080, frameRate, 0, state, false, 0, std::move(objects)}.Build();
}

// Epoch start, one 1000 x 200 window and object: decode 1125, plane 5832, window 563 (562.5); PCS pts 6396.
Bytes SmallEpoch(uint8_t frameRate = 4) {
    return Cat({PcsOf(2, {{1, 0}}, frameRate), Wds({{0, 0, 0, 1000, 200}}), Pds(0, 0, {{0, 16, 128, 128, 0}}),
                Ods(1, 1000, 200, 100), End()});
}

// Button 1 shows object 1 (200 x 100, decoded 0..225) and, selected, object 2 (225..450): drawing 113,
// decode wait 450. Presented at 90000, the set moves by 89437.
const Menu kSelected{{MenuPage({{1, {Btn(1, 1, 2)}}}, 1)}, {{1, 200, 100}, {2, 200, 100}}};

Menu With(Menu m, void (*change)(Menu&)) {
    change(m);
    return m;
}

struct Row {
    const char* name;
    kiv_comp::CKivCreator::ES_TYPE type;
    Bytes stream;
    std::vector<uint64_t> starts;
    bool ok;
    std::string message;              // the analyser's text, or the thrown one (code 6)
    Stamps stamps = {};               // PG: of every item before the end item, when given
    int64_t endPts = -1;              // of the end item, when ok (PG: -1 for the last stamp's)
    int64_t delay = -1;               // IG: pts - dts of item `at`, an ICS: drawing time + decode wait
    size_t at = 0;
    std::vector<KivItem> items = {};  // every item, when given
};

// An object of exactly `total` coded bytes in the largest fragments, after PCS 22 + WDS 13 + PDS 5 bytes:
// past 1,048,576 coded bytes the object waits ceil(size x 90000 / 5e6); it decodes in 57 (56.25).
Row TransferRow(const char* name, size_t total, uint64_t delay, uint64_t pcsPts) {
    Bytes object = Ods(1, 100, 100, std::min<size_t>(total, 65538) - 14, total <= 65538);
    Stamps stamps = {{0, pcsPts}, {0, pcsPts - 29}, {0, 0}, {delay, delay + 57}};
    for (size_t left = total - 65538; left > 0; left -= std::min<size_t>(left, 65538)) {
        Append(object, OdsMore(1, std::min<size_t>(left, 65538) - 7, left <= 65538));
        stamps.push_back({delay, delay + 57});
    }
    stamps.push_back({delay + 57, delay + 57});
    return {name, kPg, Cat({PcsOf(2, {{1, 0}}), Wds({{0, 0, 0, 100, 100}}), Pds(0, 0, {}), object, End()}), {pcsPts}, true,
            "", stamps};
}

std::vector<Row> PgRows() {
    const Bytes pcs0 = PcsOf(0, {}), wds = Wds({}), pds = Pds(0, 0, {}), ods = Ods(1, 10, 10, 1);
    const Bytes twoWindows = Wds({{0, 0, 0, 1000, 200}, {1, 0, 300, 500, 100}});  // 563 + 141 to draw, 704 both
    const auto twoObjects = [&](uint8_t secondWindow) {
        return Cat({PcsOf(2, {{1, 0}, {2, secondWindow}}), twoWindows, pds, Ods(1, 1000, 200, 10),
                    Ods(2, 500, 100, 10), End()});
    };
    const Bytes whole = PcsOf(0, {{1, 0}}), cut(whole.begin(), whole.end() - 8);  // its object lies past the end
    const Stamps epochAt90000 = {{83604, 90000}, {83604, 89437}, {83604, 83604}, {83604, 84729}, {84729, 84729}};
    const Stamps threeSets = {{3604, 10000},   {3604, 9437},    {3604, 3604},    {3604, 4729}, {4729, 4729},
                              {19436, 20000}, {19436, 19436}, {29436, 30000}, {29436, 29436}};
    const Bytes threeSetStream = Cat({SmallEpoch(), PcsOf(0, {{1, 0}}), End(), pcs0, End()});
    const std::string startsMessage = "The number of pts in start pts list and display set is not equal.";
    const std::string noObject = "A object does not exist in this display set.(object_id = ";
    return {
        {"NoSegments", kPg, {}, {0}, true, "", {}, 0},
        {"EpochStartBeforeTheMove", kPg, SmallEpoch(), {6396}, true, "",
         {{0, 6396}, {0, 5833}, {0, 0}, {0, 1125}, {1125, 1125}}, 9399},
        {"FullHdObjectDecodesIn11664", kPg,
         Cat({PcsOf(2, {{7, 0}}), Wds({{0, 0, 0, 1920, 1080}}), pds, Ods(7, 1920, 1080, 50), End()}), {17497}, true, "",
         {{0, 17497}, {0, 11665}, {0, 0}, {0, 11664}, {11664, 11664}}},
        {"StartOneTickEarly", kPg,
         Cat({PcsOf(2, {{7, 0}}), Wds({{0, 0, 0, 1920, 1080}}), pds, Ods(7, 1920, 1080, 50), End()}), {17496}, false,
         "\nA DTS value of first Segment is minus .(DTS = -1)"},
        {"TwoObjectsTwoWindows", kPg, twoObjects(1), {6537}, true, "",
         {{0, 6537}, {0, 5833}, {0, 0}, {0, 1125}, {1125, 1407}, {1407, 1407}}},
        {"TwoObjectsOneWindow", kPg, twoObjects(0), {6396}, true, "",
         {{0, 6396}, {0, 5692}, {0, 0}, {0, 1125}, {1125, 1407}, {1407, 1407}}},
        {"SecondWaitAfterTheFirst", kPg,  // waits 5832 and 11664 measured one after the other
         Cat({PcsOf(2, {{1, 0}, {2, 0}}), Wds({{0, 0, 0, 1920, 1080}}), pds, Ods(1, 1920, 1080, 10),
              Ods(2, 1920, 1080, 10), End()}),
         {29161}, true, "", {{0, 29161}, {0, 23329}, {0, 0}, {0, 11664}, {11664, 23328}, {23328, 23328}}},
        {"NormalSetClearsUnusedWindows", kPg,  // window 1 cleared (141), window 0 drawn (563)
         Cat({PcsOf(2, {{1, 0}}), twoWindows, pds, Ods(1, 1000, 200, 10), End(), PcsOf(0, {{1, 0}}), End()}),
         {100000, 95434}, true, "",
         {{93604, 100000}, {93604, 99296}, {93604, 93604}, {93604, 94729}, {94729, 94729}, {94729, 95434},
          {94729, 94729}}},
        {"RepeatedWindowIdCountsItsLastSize", kPg,  // 2 x 200 x 200 x 8 bits: 225
         Cat({PcsOf(2, {}), Wds({{0, 0, 0, 100, 100}, {0, 0, 0, 200, 200}}), pds, End()}), {5833}, true, "",
         {{0, 5833}, {0, 5608}, {0, 0}, {0, 0}}},
        {"NormalWithoutWds", kPg, Cat({pcs0, End()}), {1000}, true, "", {{999, 1000}, {999, 999}}},
        {"NormalWithoutWdsWithPds", kPg, Cat({pcs0, pds, End()}), {1000}, true, "", {{999, 1000}, {999, 999}, {999, 999}}},
        {"ContinuationTakesTheMostRecentFirst", kPg,
         Cat({pcs0, OdsMore(3, 4, false), Ods(2, 1000, 200, 1), OdsMore(3, 4, true), End()}), {1001}, true, "",
         {{1000, 1001}, {1000, 1000}, {1000, 2125}, {1000, 2125}, {2125, 2125}}},
        {"ObjectId63", kPg, Cat({pcs0, Ods(63, 10, 10, 1), End()}), {1000}, true, "",
         {{999, 1000}, {999, 1000}, {1000, 1000}}},
        {"ContinuationId64", kPg, Cat({pcs0, OdsMore(64, 1, true), End()}), {1000}, true, "",
         {{999, 1000}, {999, 999}, {999, 999}}},
        TransferRow("NoTransferDelayAtOneMebibyte", 1048576 - 40, 0, 5862),
        TransferRow("TransferDelayOneByteLater", 1048576 - 40 + 1, 18874, 18961),
        {"StartPerDisplaySet", kPg, threeSetStream, {10000, 20000, 30000}, true, "", threeSets, 33003},
        {"SurplusStartsUnused", kPg, threeSetStream, {10000, 20000, 30000, 40000}, true, "", threeSets, 33003},
        {"FewerStartsThanSets", kPg, threeSetStream, {10000, 20000}, false, startsMessage,
         Stamps(threeSets.begin(), threeSets.begin() + 7)},
        {"IncompleteLastSet", kPg, Cat({SmallEpoch(6), pcs0, pds}), {90000, 180000}, true, "", epochAt90000, 91800},
        {"PcsCutByTheEnd", kPg, Cat({SmallEpoch(6), cut}), {90000, 180000}, true, "", epochAt90000, 91800},
        {"FrameRate1", kPg, SmallEpoch(1), {50000}, true, "", {}, 53753},  // the frame durations the decoder model uses
        {"FrameRate5", kPg, SmallEpoch(5), {50000}, true, "", {}, 50000},
        {"FrameRate7", kPg, SmallEpoch(7), {50000}, true, "", {}, 51501},
        {"FrameRate15", kPg, SmallEpoch(15), {50000}, true, "", {}, 50000},
        {"AcquisitionObjectMissing", kPg,
         Cat({SmallEpoch(), PcsOf(0, {{1, 0}}), End(), PcsOf(1, {{1, 0}}), Wds({{0, 0, 0, 1000, 200}}), pds, End()}),
         {90000, 200000, 300000}, false, noObject + "1,display set number = 3)"},
        {"ObjectOutsideTheTable", kPg, Cat({PcsOf(0, {{100, 0}}), End()}), {300000}, false,
         noObject + "100,display set number = 1)"},
        {"WdsMissing", kPg, Cat({PcsOf(1, {}), pds, End()}), {0}, false,
         "A WDS does not exist in this display set.(display set number = 1)"},
        {"PdsMissing", kPg, Cat({PcsOf(3, {}), wds, End()}), {0}, false,
         "A PDS does not exist in this display set.(display set number = 1)"},
        {"PdsMissingInSetTwo", kPg, Cat({SmallEpoch(), PcsOf(2, {}), wds, End()}), {90000, 200000}, false,
         "A PDS does not exist in this display set.(display set number = 2)"},
        {"MisplacedPcs", kPg, Cat({pcs0, pds, pcs0, End()}), {0}, false, ""},
        {"IcsRefused", kPg, Cat({pcs0, Ics{}.Build(), End()}), {0}, false, ""},
        {"UnknownType", kPg, Cat({pcs0, Segment(0x42, {1}), End()}), {0}, false, ""},
        {"ObjectId64", kPg, Cat({pcs0, Ods(64, 10, 10, 1), End()}), {0}, false, ""},
        {"PcsWithFewerObjectsThanDeclared", kPg, Cat({Pcs{1920, 1080, 4, 0, 2, false, 0, {{1, 0}}, 2}.Build(), End()}),
         {0}, false, ""},
        {"WdsWithFewerWindowsThanDeclared", kPg, Cat({pcs0, Wds({{0, 0, 0, 1, 1}}, 2), End()}), {0}, false, ""},
        {"WdsAfterPds", kPg, Cat({pcs0, pds, wds, End()}), {0}, false, ""},
        {"WdsAfterOds", kPg, Cat({pcs0, ods, wds, End()}), {0}, false, ""},
        {"TwoWds", kPg, Cat({pcs0, wds, wds, End()}), {0}, false, ""},
        {"PdsAfterOds", kPg, Cat({pcs0, ods, pds, End()}), {0}, false, ""},
        {"MisorderedBeforeWdsMissing", kPg, Cat({PcsOf(1, {}), ods, pds, End()}), {0}, false, ""},
        {"TwoPdsTwoOds", kPg, Cat({pcs0, wds, pds, pds, ods, ods, End()}), {100000}, true, ""},
    };
}

std::vector<Row> IgRows() {
    // Drawn in 2813 by its in-effect window; object 1 decoded at 225.
    Menu effects{{MenuPage({{1, {Btn(1, 1, kNone)}}}, kNone)}, {{1, 200, 100}}};
    effects.pages[0].in = {{{0, 0, 0, 1000, 500}}, {{0, 0, {{1, 0}}}}};
    // Objects of 800, 1600, 3200 bits decoded at 2, 5, 10; the second group's button wins.
    const Menu larger{{MenuPage({{1, {Btn(1, 1, 2)}}, {2, {Btn(2, 1, 3)}}}, kNone)},
                      {{1, 10, 10}, {2, 20, 10}, {3, 20, 20}}};
    // The default selected button 7 lives on page 2 only; its object 3 is decoded at 7.
    const Menu pageTwo{{MenuPage({{1, {Btn(1, 1, 1)}}}, 7), MenuPage({}, kNone, 1),
                        MenuPage({{7, {Btn(7, kNone, 3)}}}, kNone, 2)},
                       {{1, 10, 10}, {3, 20, 20}}};
    // An unreferenced 1920 x 1080 object ends the set at 23778 (113215 moved).
    const Menu late = With(kSelected, [](Menu& m) { m.objects.push_back({5, 1920, 1080}); });
    const Menu later{kSelected.pages, {}}, acquisition{kSelected.pages, {}, 1};  // objects of set 1
    Menu missingEffectObject = effects;
    missingEffectObject.pages[0].in.effects[0].objects[0].objectId = 5;
    Menu missingValid{{MenuPage({{1, {Btn(1, 1, 1)}}, {9, {Btn(2, 1, 1)}}}, kNone, 5)}, {{1, 10, 10}}};
    const Menu missingValidLater = With(missingValid, [](Menu& m) { m.pages[0].defaultSelected = 1; });
    const Menu noPds{{}, {}, 1, 0, 4, 1, 0, false};
    const Bytes ics = IcsFragments(Ics{}, InteractiveComposition{}.Build());
    const Bytes continuation = Ics{1920, 1080, 4, 0, 2, false, true, InteractiveComposition{}.Build()}.Build();
    const std::string noPdsMessage = "\nA PDS does not exist in this displaySet. \n(displaySetNumber = ";
    const std::string noObject =
        "\nA object that indicates object_id_ref does not exist in this displaySet. (object_id_ref = ";
    const std::string noValid =
        "\nA button that indicates default_valid_button_id_ref does not exist in this displaySet. \n"
        "(default_valid_button_id_ref = 9, displaySetNumber = 1, page = 5, bogNumber = 1)";
    return {
        {"SelectedButtonGiven", kIg, kSelected.Build(), {90000}, true, "", {}, 93003, 563},
        {"ThreeFragments", kIg, With(kSelected, [](Menu& m) { m.pieces = 3; }).Build(), {90000}, true, "", {}, 93003, 563, 0,
         Items("24:38@89437/90000,0,1 24:38@89437/90000 24:37@89437/90000,0,0,1 20:10@89437 21:24@89437/89662,0,1,1 21:24@89662/89887,0,1,1 "
               "128:3@89887 E@93003")},
        {"InEffectWindowsOnly", kIg, effects.Build(), {90000}, true, "", {}, 93003, 2813 + 225},
        {"NoDefaultSelectedTakesTheLargerButton", kIg, larger.Build(), {90000}, true, "", {}, 93003, 3 + 10},
        {"DefaultSelectedOnPageTwo", kIg, pageTwo.Build(), {90000}, true, "", {}, 93003, 1 + 7},
        {"NormalStateWithoutPds", kIg, With(kSelected, [](Menu& m) { m.pds = false; }).Build(), {90000}, true, "", {}, 93003, 563},
        {"EpochStartClearsThePlane", kIg, Menu{{MenuPage({}, kNone)}, {}, 2}.Build(), {90000}, true, "", {}, 93003, 11664},
        {"Model1EndsAtTheEnd", kIg, With(late, [](Menu& m) { m.streamModel = 1; }).Build(), {90000}, true, "", {}, 113215, 563},
        {"Model1EndsAFrameAfterTheIcs", kIg, With(kSelected, [](Menu& m) { m.streamModel = 1; }).Build(), {90000}, true, "", {}, 93003, 563},
        {"Model0EndsAFrameAfterTheIcs", kIg, late.Build(), {90000}, true, "", {}, 93003, 563},
        {"Model0EndsAtTheTimeOut", kIg, With(late, [](Menu& m) { m.timeOut = 500000; }).Build(), {90000}, true, "", {}, 500000, 563},
        {"ObjectsOfTheSetBefore", kIg, Cat({kSelected.Build(), later.Build()}), {90000, 180000}, true, "", {}, 183003, 114, 5},
        {"AcquisitionPointForgetsObjects", kIg, Cat({kSelected.Build(), acquisition.Build()}), {90000, 180000}, false,
         noObject + "1, displaySetNumber = 2)"},
        {"PcsRefused", kIg, Cat({Pcs{}.Build(), End()}), {90000}, false, ""},
        {"WdsRefused", kIg, Cat({ics, Wds({}), End()}), {90000}, false, ""},
        {"SecondCompositionInOneSet", kIg, Cat({ics, ics, End()}), {90000}, false, ""},
        {"ObjectId4096", kIg, With(kSelected, [](Menu& m) { m.objects = {{4096, 10, 10}}; }).Build(), {90000}, false, ""},
        {"CompositionCutInItsHeader", kIg, Cat({Ics{1920, 1080, 4, 0, 2, true, true, {0, 0}}.Build(), End()}), {90000}, false, ""},
        {"ContinuationWithoutFirstFragment", kIg, Cat({continuation, End()}), {90000}, false, ""},
        // The composition of a set that ended is gone: a continuation cannot take it up.
        {"ContinuationAfterASetThatEnded", kIg, Cat({kSelected.Build(), continuation, End()}), {90000, 180000}, false, ""},
        {"PdsAfterOds", kIg, Cat({ics, Ods(1, 10, 10, 1), Pds(0, 0, {}), End()}), {90000}, false, ""},
        {"MoreSetsThanStarts", kIg, Cat({kSelected.Build(), kSelected.Build()}), {90000}, false,
         "The number of pts in start pts list and display set is not equal.", {}, -1, 563},
        {"PdsMissing", kIg, noPds.Build(), {90000}, false, noPdsMessage + "1)"},
        {"PdsMissingInSetTwo", kIg, Cat({kSelected.Build(), noPds.Build()}), {90000, 180000}, false, noPdsMessage + "2)"},
        {"InEffectObjectMissing", kIg, missingEffectObject.Build(), {90000}, false, noObject + "5, displaySetNumber = 1)"},
        {"DefaultValidButtonMissingInDrawing", kIg, missingValid.Build(), {90000}, false, noValid},
        {"DefaultValidButtonMissingInDecodeWait", kIg, missingValidLater.Build(), {90000}, false, noValid},
        {"DefaultSelectedButtonMissing", kIg, Menu{{MenuPage({{1, {Btn(1, 1, 1)}}}, 8)}, {{1, 10, 10}}}.Build(), {90000}, false,
         "\nA button that indicates default_selected_button_id_ref does not exist in this displaySet. "
         "(default_selected_button_id_ref = 8, displaySetNumber = 1))"},
        {"SelectedStartObjectMissing", kIg, Menu{{MenuPage({{1, {Btn(1, 1, 6)}}}, 1)}, {{1, 10, 10}}}.Build(), {90000}, false,
         "\nA object that indicates selected_start_object_id_ref does not exist in this displaySet. "
         "(selected_start_object_id_ref = 6, displaySetNumber = 1)"},
        {"NegativeDts", kIg, kSelected.Build(), {100}, false, "\nA DTS value of first Segment is minus .(DTS = -463)"},
    };
}

// es is an analyser of a stream in dir; its temp path becomes dir, its KIV file dir/out.kiv.
struct Outcome {
    bool ok = false, threw = false;
    std::string message;
    std::vector<KivItem> items;
};
Outcome CreateKiv(ts_comp::es::CEs& es, const TempDir& dir, std::vector<uint64_t> starts) {
    Outcome run;
    es.SetTempPath(CL_CString((dir.Path() + "/").c_str()));
    try {
        run.ok = es.CreateKiv(dir.File("out.kiv").c_str(), std::move(starts));
        run.message = es.GetLastErrorMessage();
    } catch (const ts_comp::CTsMuxException& e) {
        CL_CString m;
        e.GetErrorMessage(m);
        run = {false, true, m.GetString(), {}};
        EXPECT_EQ(e.GetErrorCode(), 6);
    }
    run.items = ReadKiv(dir.File("out.kiv")).items;
    return run;
}

TEST(GraphicsAnalyser, Table) {
    std::vector<Row> rows = PgRows(), ig = IgRows();
    rows.insert(rows.end(), ig.begin(), ig.end());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const Outcome run = CreateKiv(*Make(row.type, dir, row.stream), dir, row.starts);
        EXPECT_EQ(run.ok, row.ok);
        EXPECT_EQ(run.message, row.message);
        // IG: the composition file goes after each display set; an exception leaves it behind.
        const bool left = std::filesystem::exists(dir.File("ic.dat"));
        EXPECT_EQ(left, row.type == kIg && !run.ok && (run.threw || left));
        Stamps stamps;
        for (const KivItem& i : run.items) stamps.push_back({i.dts, i.pts});
        if (run.ok) {
            ASSERT_FALSE(stamps.empty());
            EXPECT_EQ(run.items.back(), (KivItem{255, 0, 0, row.endPts < 0 ? stamps.back().second : uint64_t(row.endPts)}));
            stamps.pop_back();
        }
        EXPECT_EQ(row.stamps.empty() ? row.stamps : stamps, row.stamps);
        if (row.delay >= 0) {
            ASSERT_GT(run.items.size(), row.at);
            const KivItem& ics = run.items[row.at];
            EXPECT_EQ(std::vector<uint64_t>({ics.type, ics.pts - ics.dts, ics.pts}),
                      std::vector<uint64_t>({0x18, uint64_t(row.delay), row.starts.back()}));
        }
        EXPECT_EQ(row.items.empty() ? row.items : run.items, row.items);
    }
}

// A composition file left behind by a failing second display set holds that set's composition, whether it
// is shorter, longer or as long as the first one's.
TEST(GraphicsAnalyser, LeftCompositionFileHoldsTheLastComposition) {
    const Menu small{{MenuPage({}, kNone)}, {}}, large = kSelected;
    const auto failing = [](Menu m) { m.state = 1; m.pds = false; return m; };
    for (const auto& [first, second] : {std::pair{large, small}, {small, large}, {large, large}}) {
        TempDir dir;
        EXPECT_TRUE(CreateKiv(*Make(kIg, dir, Cat({first.Build(), failing(second).Build()})), dir, {90000, 180000}).threw);
        EXPECT_EQ(TempDir::Read(dir.File("ic.dat")), (InteractiveComposition{0, 0, 0, 0, 0, second.pages}.Build()));
    }
}

// The notice hears of each segment written, in bytes of the stream (an abort is a creator table row).
TEST(GraphicsAnalyser, NoticeGetsProgressPerSegment) {
    TempDir dir;
    auto es = Make(kPg, dir, SmallEpoch());
    RecordingNotice notice;
    es->SetNotice(&notice);
    EXPECT_TRUE(CreateKiv(*es, dir, {90000}).ok);
    EXPECT_EQ(notice.progress, std::vector<int64_t>({22, 35, 45, 159, 162}));
    EXPECT_EQ(notice.totals, std::vector<int64_t>(5, 162));
}

// The report is appended to "x", the XML document replaces "old". Without a composition every value is 0; the
// attributes come from the first PCS, or the first ICS of any kind while the IG report counts first fragments.
TEST(GraphicsAnalyser, Texts) {
    const Menu three = With(kSelected, [](Menu& m) { m.pieces = 3; m.frameRate = 6; });
    const struct {
        kiv_comp::CKivCreator::ES_TYPE type;
        Bytes stream;
        int sets, width, height, rate, xmlWidth, xmlHeight, xmlRate;
    } rows[] = {
        {kPg, {}, 0, 0, 0, 0, 0, 0, 0},
        {kPg, Cat({Wds({}), Pds(0, 0, {}), End()}), 0, 0, 0, 0, 0, 0, 0},
        {kPg, Cat({Pcs{720, 480, 3}.Build(), End(), PcsOf(0, {}, 6), End()}), 2, 720, 480, 3, 720, 480, 3},
        {kIg, Cat({three.Build(), kSelected.Build()}), 2, 1920, 1080, 6, 1920, 1080, 6},
        {kIg, Cat({Ics{720, 480, 3, 0, 2, false}.Build(), three.Build()}), 1, 1920, 1080, 6, 720, 480, 3},
        {kIg, Cat({Pds(0, 0, {}), End()}), 0, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& r : rows) {
        const char* root = r.type == kPg ? "PG" : "IG";
        char report[160], xml[400];
        std::snprintf(report, sizeof report, "x[number of displayset] : %d\r\n[video width] : %d\r\n[video height] : %d"
                      "\r\n[frame rate] : %d\r\n", r.sets, r.width, r.height, r.rate);
        std::snprintf(xml, sizeof xml, "<?xml version=\"1.0\" standalone=\"yes\"?>\n<%s xmlns=\"%s\">\n  <parameter>\n"
                      "    <video_width>%d</video_width>\n    <video_height>%d</video_height>\n    <frame_rate>%d"
                      "</frame_rate>\n  </parameter>\n</%s>\n", root, ts_comp::es::kXmlNamespace, r.xmlWidth, r.xmlHeight, r.xmlRate, root);
        TempDir dir;
        auto es = Make(r.type, dir, r.stream);
        CL_CString reportText("x"), xmlText("old");
        es->GetReportText(reportText);
        es->GetXmlText(xmlText);
        EXPECT_EQ(std::string(reportText.GetString()) + xmlText.GetString(), std::string(report) + xml);
    }
}

// CreateKiv refuses a missing KIV path, an empty start list and an unwritable KIV file; a stream gone
// before the analyser reads it leaves both texts as they were.
TEST(GraphicsAnalyser, Refusals) {
    for (const auto type : {kPg, kIg}) {
        TempDir dir;
        auto es = Make(type, dir, type == kPg ? SmallEpoch() : kSelected.Build());
        EXPECT_FALSE(es->CreateKiv(nullptr, {0}));
        EXPECT_FALSE(es->CreateKiv(dir.File("a.kiv").c_str(), {}));
        EXPECT_FALSE(es->CreateKiv(dir.File("no/dir/a.kiv").c_str(), {0}));
        std::filesystem::remove(dir.File("in.es"));  // the parser opens the file by name again
        CL_CString report("keep"), xml("keep");
        es->GetReportText(report);
        es->GetXmlText(xml);
        EXPECT_EQ(std::string(report.GetString()) + xml.GetString(), "keepkeep");
        EXPECT_FALSE(es->CreateKiv(dir.File("a.kiv").c_str(), {0}));
        EXPECT_STREQ(es->GetLastErrorMessage(), "");
    }
}

// Two menus indexed at once in one process, each creator with its own temp folder.
TEST(GraphicsAnalyser, ConcurrentIgAnalysesKeepToTheirFolders) {
    TempDir dir;
    const Bytes menus[] = {kSelected.Build(), With(kSelected, [](Menu& m) { m.pieces = 2; m.frameRate = 6; }).Build()};
    std::vector<KivItem> last[2];
    const auto run = [&](int n) {
        const std::string folder = dir.File("t" + std::to_string(n)) + "/", kiv = folder + "m.kiv";
        const std::string es = dir.Write("m" + std::to_string(n), menus[n]);
        std::filesystem::create_directory(folder);
        for (int i = 0; i < 40 && (i == 0 || !last[n].empty()); ++i) {
            kiv_comp::CKivCreator creator;
            creator.SetTempPath(folder.c_str());
            const bool ok = creator.CreateKiv(kIg, es.c_str(), kiv.c_str(), {90000}, nullptr);
            last[n] = ok && !std::filesystem::exists(folder + "ic.dat") ? ReadKiv(kiv).items : std::vector<KivItem>();
        }
    };
    std::thread a(run, 0), b(run, 1);
    a.join();
    b.join();
    ASSERT_EQ(last[0].size(), 6u);
    ASSERT_EQ(last[1].size(), 7u);
    EXPECT_EQ(last[0].back().pts, 93003u);
    EXPECT_EQ(last[1].back().pts, 91800u);
}

}  // namespace
}  // namespace kiv_test
