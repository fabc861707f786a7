// IG analyser with its display sets: ICS presentation time, admission, end times, messages, texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#include "KivCreator.h"
#include "es/graphics/ig/CInteractiveGraphicsEs.h"
#include "support/GraphicsBuilder.h"
#include "support/GraphicsRun.h"

using namespace kiv_test;
using namespace kiv_test::gfx;
using PRIVATE_LIBRARY::CL_CString;

namespace {

constexpr uint16_t kNone = 0xFFFF;

// Button 1 shows object 1 (200 x 100, decoded 0..225) and, selected, object 2 (225..450): drawing 113,
// decode wait 450. Presented at 90000, the set moves by 89437.
const Menu kSelected{{MenuPage({{1, {Btn(1, 1, 2)}}}, 1)}, {{1, 200, 100}, {2, 200, 100}}};

Menu With(Menu m, void (*change)(Menu&)) {
    change(m);
    return m;
}

struct Row {
    const char* name;
    Bytes stream;
    std::vector<uint64_t> starts;
    bool ok;
    std::string message;        // the analyser's text, or the thrown one
    int64_t delay = -1;         // pts - dts of item `at`, an ICS: drawing time + decode wait
    uint64_t endPts = 0;        // of the end item, when ok
    size_t at = 0;
    std::vector<KivItem> items = {};  // every item, when given
};

std::vector<Row> Rows() {
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
        {"SelectedButtonGiven", kSelected.Build(), {90000}, true, "", 563, 93003},
        {"ThreeFragments", With(kSelected, [](Menu& m) { m.pieces = 3; }).Build(), {90000}, true, "", 563, 93003, 0,
         {{24, 38, 89437, 90000, 0, 1, 0}, {24, 38, 89437, 90000, 0, 0, 0}, {24, 37, 89437, 90000, 0, 0, 1},
          {20, 10, 89437, 89437}, {21, 24, 89437, 89662, 0, 1, 1}, {21, 24, 89662, 89887, 0, 1, 1},
          {128, 3, 89887, 89887}, {255, 0, 0, 93003}}},
        {"InEffectWindowsOnly", effects.Build(), {90000}, true, "", 2813 + 225, 93003},
        {"NoDefaultSelectedTakesTheLargerButton", larger.Build(), {90000}, true, "", 3 + 10, 93003},
        {"DefaultSelectedOnPageTwo", pageTwo.Build(), {90000}, true, "", 1 + 7, 93003},
        {"NormalStateWithoutPds", With(kSelected, [](Menu& m) { m.pds = false; }).Build(), {90000}, true, "", 563,
         93003},
        {"EpochStartClearsThePlane", Menu{{MenuPage({}, kNone)}, {}, 2}.Build(), {90000}, true, "", 11664, 93003},
        {"Model1EndsAtTheEnd", With(late, [](Menu& m) { m.streamModel = 1; }).Build(), {90000}, true, "", 563, 113215},
        {"Model1EndsAFrameAfterTheIcs", With(kSelected, [](Menu& m) { m.streamModel = 1; }).Build(), {90000}, true, "",
         563, 93003},
        {"Model0EndsAFrameAfterTheIcs", late.Build(), {90000}, true, "", 563, 93003},
        {"Model0EndsAtTheTimeOut", With(late, [](Menu& m) { m.timeOut = 500000; }).Build(), {90000}, true, "", 563,
         500000},
        {"ObjectsOfTheSetBefore", Cat({kSelected.Build(), later.Build()}), {90000, 180000}, true, "", 114, 183003, 5},
        {"AcquisitionPointForgetsObjects", Cat({kSelected.Build(), acquisition.Build()}), {90000, 180000}, false,
         noObject + "1, displaySetNumber = 2)"},
        {"PcsRefused", Cat({Pcs{}.Build(), End()}), {90000}, false, ""},
        {"WdsRefused", Cat({ics, Wds({}), End()}), {90000}, false, ""},
        {"SecondCompositionInOneSet", Cat({ics, ics, End()}), {90000}, false, ""},
        {"ObjectId4096", With(kSelected, [](Menu& m) { m.objects = {{4096, 10, 10}}; }).Build(), {90000}, false, ""},
        {"CompositionCutInItsHeader", Cat({Ics{1920, 1080, 4, 0, 2, true, true, {0, 0}}.Build(), End()}), {90000},
         false, ""},
        {"ContinuationWithoutFirstFragment", Cat({continuation, End()}), {90000}, false, ""},
        {"PdsAfterOds", Cat({ics, Ods(1, 10, 10, 1), Pds(0, 0, {}), End()}), {90000}, false, ""},
        {"MoreSetsThanStarts", Cat({kSelected.Build(), kSelected.Build()}), {90000}, false,
         "The number of pts in start pts list and display set is not equal.", 563},
        {"PdsMissing", noPds.Build(), {90000}, false, noPdsMessage + "1)"},
        {"PdsMissingInSetTwo", Cat({kSelected.Build(), noPds.Build()}), {90000, 180000}, false, noPdsMessage + "2)"},
        {"InEffectObjectMissing", missingEffectObject.Build(), {90000}, false, noObject + "5, displaySetNumber = 1)"},
        {"DefaultValidButtonMissingInDrawing", missingValid.Build(), {90000}, false, noValid},
        {"DefaultValidButtonMissingInDecodeWait", missingValidLater.Build(), {90000}, false, noValid},
        {"DefaultSelectedButtonMissing", Menu{{MenuPage({{1, {Btn(1, 1, 1)}}}, 8)}, {{1, 10, 10}}}.Build(), {90000},
         false,
         "\nA button that indicates default_selected_button_id_ref does not exist in this displaySet. "
         "(default_selected_button_id_ref = 8, displaySetNumber = 1))"},
        {"SelectedStartObjectMissing", Menu{{MenuPage({{1, {Btn(1, 1, 6)}}}, 1)}, {{1, 10, 10}}}.Build(), {90000},
         false,
         "\nA object that indicates selected_start_object_id_ref does not exist in this displaySet. "
         "(selected_start_object_id_ref = 6, displaySetNumber = 1)"},
        {"NegativeDts", kSelected.Build(), {100}, false, "\nA DTS value of first Segment is minus .(DTS = -463)"},
    };
}

TEST(IgAnalyser, Table) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        ts_comp::es::CInteractiveGraphicsEs es(CL_CString(dir.Write("m.igs", row.stream).c_str()));
        const GraphicsRun run = RunCreateKiv(es, dir, row.starts);
        EXPECT_EQ(run.ok, row.ok);
        EXPECT_EQ(run.message, row.message);
        // The composition file goes after each display set; an exception leaves it behind.
        const bool left = std::filesystem::exists(dir.File("ic.dat"));
        EXPECT_EQ(left, !run.ok && (run.threw || left));
        if (row.delay >= 0) {
            ASSERT_GT(run.items.size(), row.at);
            const KivItem& ics = run.items[row.at];
            EXPECT_EQ(std::vector<uint64_t>({ics.type, ics.pts - ics.dts, ics.pts}),
                      std::vector<uint64_t>({0x18, static_cast<uint64_t>(row.delay), row.starts.back()}));
        }
        EXPECT_EQ(run.ok ? run.items.back().pts : row.endPts, row.endPts);
        EXPECT_EQ(row.items.empty() ? row.items : run.items, row.items);
    }
}

// The report counts first fragments and takes the first of them; the XML takes the first ICS of any kind.
TEST(IgAnalyser, TextsAndRefusals) {
    TempDir dir;
    const auto ig = [&](const Bytes& b) {
        return ts_comp::es::CInteractiveGraphicsEs(CL_CString(dir.Write("m.igs", b).c_str()));
    };
    const Menu three = With(kSelected, [](Menu& m) { m.pieces = 3; m.frameRate = 6; });
    const Bytes continuation = Ics{720, 480, 3, 0, 2, false}.Build();
    ExpectTexts(ig(Cat({three.Build(), kSelected.Build()})), "IG", {2, 1920, 1080, 6}, {1920, 1080, 6});
    ExpectTexts(ig(Cat({continuation, three.Build()})), "IG", {1, 1920, 1080, 6}, {720, 480, 3});
    ExpectTexts(ig(Cat({Pds(0, 0, {}), End()})), "IG", {0, 0, 0, 0}, {0, 0, 0});
    EXPECT_FALSE(ig({}).CreateKiv(nullptr, {0}));
    EXPECT_FALSE(ig({}).CreateKiv(dir.File("m.kiv").c_str(), {}));
}

// Two menus indexed at once in one process, each creator with its own temp folder.
TEST(IgAnalyser, ConcurrentAnalysesKeepToTheirFolders) {
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
            const bool ok =
                creator.CreateKiv(kiv_comp::CKivCreator::ES_TYPE_IG, es.c_str(), kiv.c_str(), {90000}, nullptr);
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
