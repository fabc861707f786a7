// PG analyser with its display sets: the decoder model's time stamps, admission and order, messages, texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "es/graphics/pg/CPresentationGraphicsEs.h"
#include "support/GraphicsBuilder.h"
#include "support/GraphicsRun.h"
#include "support/RecordingNotice.h"

using namespace kiv_test;
using namespace kiv_test::gfx;
using PRIVATE_LIBRARY::CL_CString;
using Stamps = std::vector<std::pair<uint64_t, uint64_t>>;  // dts, pts of each item before the end item

namespace {

Bytes PcsOf(uint8_t state, std::vector<CompObject> objects, uint8_t frameRate = 4) {
    return Pcs{1920, 1080, frameRate, 0, state, false, 0, std::move(objects)}.Build();
}

// Epoch start, one 1000 x 200 window and object: decode 1125, plane 5832, window 563 (562.5); PCS pts 6396.
Bytes SmallEpoch(uint8_t frameRate = 4) {
    return Cat({PcsOf(2, {{1, 0}}, frameRate), Wds({{0, 0, 0, 1000, 200}}), Pds(0, 0, {{0, 16, 128, 128, 0}}),
                Ods(1, 1000, 200, 100), End()});
}

struct Row {
    const char* name;
    Bytes stream;
    std::vector<uint64_t> starts;
    bool ok;
    std::string message;
    Stamps stamps = {};
    int64_t endPts = -1;
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
    return {name, Cat({PcsOf(2, {{1, 0}}), Wds({{0, 0, 0, 100, 100}}), Pds(0, 0, {}), object, End()}), {pcsPts}, true,
            "", stamps};
}

std::vector<Row> Rows() {
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
        {"NoSegments", {}, {0}, true, "", {}, 0},
        {"EpochStartBeforeTheMove", SmallEpoch(), {6396}, true, "",
         {{0, 6396}, {0, 5833}, {0, 0}, {0, 1125}, {1125, 1125}}, 9399},
        {"FullHdObjectDecodesIn11664",
         Cat({PcsOf(2, {{7, 0}}), Wds({{0, 0, 0, 1920, 1080}}), pds, Ods(7, 1920, 1080, 50), End()}), {17497}, true, "",
         {{0, 17497}, {0, 11665}, {0, 0}, {0, 11664}, {11664, 11664}}},
        {"TwoObjectsTwoWindows", twoObjects(1), {6537}, true, "",
         {{0, 6537}, {0, 5833}, {0, 0}, {0, 1125}, {1125, 1407}, {1407, 1407}}},
        {"TwoObjectsOneWindow", twoObjects(0), {6396}, true, "",
         {{0, 6396}, {0, 5692}, {0, 0}, {0, 1125}, {1125, 1407}, {1407, 1407}}},
        {"SecondWaitAfterTheFirst",  // waits 5832 and 11664 measured one after the other
         Cat({PcsOf(2, {{1, 0}, {2, 0}}), Wds({{0, 0, 0, 1920, 1080}}), pds, Ods(1, 1920, 1080, 10),
              Ods(2, 1920, 1080, 10), End()}),
         {29161}, true, "", {{0, 29161}, {0, 23329}, {0, 0}, {0, 11664}, {11664, 23328}, {23328, 23328}}},
        {"NormalSetClearsUnusedWindows",  // window 1 cleared (141), window 0 drawn (563)
         Cat({PcsOf(2, {{1, 0}}), twoWindows, pds, Ods(1, 1000, 200, 10), End(), PcsOf(0, {{1, 0}}), End()}),
         {100000, 95434}, true, "",
         {{93604, 100000}, {93604, 99296}, {93604, 93604}, {93604, 94729}, {94729, 94729}, {94729, 95434},
          {94729, 94729}}},
        {"RepeatedWindowIdCountsItsLastSize",  // 2 x 200 x 200 x 8 bits: 225
         Cat({PcsOf(2, {}), Wds({{0, 0, 0, 100, 100}, {0, 0, 0, 200, 200}}), pds, End()}), {5833}, true, "",
         {{0, 5833}, {0, 5608}, {0, 0}, {0, 0}}},
        {"NormalWithoutWds", Cat({pcs0, End()}), {1000}, true, "", {{999, 1000}, {999, 999}}},
        {"NormalWithoutWdsWithPds", Cat({pcs0, pds, End()}), {1000}, true, "", {{999, 1000}, {999, 999}, {999, 999}}},
        {"ContinuationTakesTheMostRecentFirst",
         Cat({pcs0, OdsMore(3, 4, false), Ods(2, 1000, 200, 1), OdsMore(3, 4, true), End()}), {1001}, true, "",
         {{1000, 1001}, {1000, 1000}, {1000, 2125}, {1000, 2125}, {2125, 2125}}},
        {"ObjectId63", Cat({pcs0, Ods(63, 10, 10, 1), End()}), {1000}, true, "",
         {{999, 1000}, {999, 1000}, {1000, 1000}}},
        {"ContinuationId64", Cat({pcs0, OdsMore(64, 1, true), End()}), {1000}, true, "",
         {{999, 1000}, {999, 999}, {999, 999}}},
        TransferRow("NoTransferDelayAtOneMebibyte", 1048576 - 40, 0, 5862),
        TransferRow("TransferDelayOneByteLater", 1048576 - 40 + 1, 18874, 18961),
        {"StartPerDisplaySet", threeSetStream, {10000, 20000, 30000}, true, "", threeSets, 33003},
        {"SurplusStartsUnused", threeSetStream, {10000, 20000, 30000, 40000}, true, "", threeSets, 33003},
        {"FewerStartsThanSets", threeSetStream, {10000, 20000}, false, startsMessage,
         Stamps(threeSets.begin(), threeSets.begin() + 7)},
        {"IncompleteLastSet", Cat({SmallEpoch(6), pcs0, pds}), {90000, 180000}, true, "", epochAt90000, 91800},
        {"PcsCutByTheEnd", Cat({SmallEpoch(6), cut}), {90000, 180000}, true, "", epochAt90000, 91800},
        {"FrameRate1", SmallEpoch(1), {50000}, true, "", {}, 53753},  // the frame durations the decoder model uses
        {"FrameRate5", SmallEpoch(5), {50000}, true, "", {}, 50000},
        {"FrameRate7", SmallEpoch(7), {50000}, true, "", {}, 51501},
        {"FrameRate15", SmallEpoch(15), {50000}, true, "", {}, 50000},
        {"AcquisitionObjectMissing",
         Cat({SmallEpoch(), PcsOf(0, {{1, 0}}), End(), PcsOf(1, {{1, 0}}), Wds({{0, 0, 0, 1000, 200}}), pds, End()}),
         {90000, 200000, 300000}, false, noObject + "1,display set number = 3)"},
        {"ObjectOutsideTheTable", Cat({PcsOf(0, {{100, 0}}), End()}), {300000}, false,
         noObject + "100,display set number = 1)"},
        {"WdsMissing", Cat({PcsOf(1, {}), pds, End()}), {0}, false,
         "A WDS does not exist in this display set.(display set number = 1)"},
        {"PdsMissing", Cat({PcsOf(3, {}), wds, End()}), {0}, false,
         "A PDS does not exist in this display set.(display set number = 1)"},
        {"PdsMissingInSetTwo", Cat({SmallEpoch(), PcsOf(2, {}), wds, End()}), {90000, 200000}, false,
         "A PDS does not exist in this display set.(display set number = 2)"},
        {"NegativeDts", SmallEpoch(), {100}, false, "\nA DTS value of first Segment is minus .(DTS = -6296)"},
        {"MisplacedPcs", Cat({pcs0, pds, pcs0, End()}), {0}, false, ""},
        {"IcsRefused", Cat({pcs0, Ics{}.Build(), End()}), {0}, false, ""},
        {"UnknownType", Cat({pcs0, Segment(0x42, {1}), End()}), {0}, false, ""},
        {"ObjectId64", Cat({pcs0, Ods(64, 10, 10, 1), End()}), {0}, false, ""},
        {"PcsWithFewerObjectsThanDeclared", Cat({Pcs{1920, 1080, 4, 0, 2, false, 0, {{1, 0}}, 2}.Build(), End()}),
         {0}, false, ""},
        {"WdsWithFewerWindowsThanDeclared", Cat({pcs0, Wds({{0, 0, 0, 1, 1}}, 2), End()}), {0}, false, ""},
        {"WdsAfterPds", Cat({pcs0, pds, wds, End()}), {0}, false, ""},
        {"WdsAfterOds", Cat({pcs0, ods, wds, End()}), {0}, false, ""},
        {"TwoWds", Cat({pcs0, wds, wds, End()}), {0}, false, ""},
        {"PdsAfterOds", Cat({pcs0, ods, pds, End()}), {0}, false, ""},
        {"TwoPdsTwoOds", Cat({pcs0, wds, pds, pds, ods, ods, End()}), {100000}, true, ""},
    };
}

TEST(PgAnalyser, Table) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        ts_comp::es::CPresentationGraphicsEs es(CL_CString(dir.Write("s.pgs", row.stream).c_str()));
        const GraphicsRun run = RunCreateKiv(es, dir, row.starts);
        EXPECT_EQ(run.ok, row.ok);
        EXPECT_EQ(run.message, row.message);
        Stamps stamps;
        for (const KivItem& i : run.items) stamps.push_back({i.dts, i.pts});
        if (run.ok) {
            ASSERT_FALSE(stamps.empty());
            EXPECT_EQ(run.items.back(), (KivItem{255, 0, 0, row.endPts < 0 ? stamps.back().second : row.endPts}));
            stamps.pop_back();
        }
        EXPECT_EQ(row.stamps.empty() ? row.stamps : stamps, row.stamps);
    }
}

// The notice hears of each segment written, in bytes of the stream (an abort is a creator table row).
TEST(PgAnalyser, NoticeGetsProgressPerSegment) {
    TempDir dir;
    ts_comp::es::CPresentationGraphicsEs es(CL_CString(dir.Write("s.pgs", SmallEpoch()).c_str()));
    RecordingNotice notice;
    es.SetNotice(&notice);
    EXPECT_TRUE(RunCreateKiv(es, dir, {90000}).ok);
    EXPECT_EQ(notice.progress, std::vector<int64_t>({22, 35, 45, 159, 162}));
    EXPECT_EQ(notice.totals, std::vector<int64_t>(5, 162));
}

// Without a PCS every value is 0; the attributes come from the first PCS. An unreadable stream leaves both
// texts as they were; CreateKiv refuses a missing KIV path, an empty start list and an unwritable KIV file.
TEST(PgAnalyser, TextsAndRefusals) {
    TempDir dir;
    const auto pg = [&](const Bytes& b) {
        return ts_comp::es::CPresentationGraphicsEs(CL_CString(dir.Write("s.pgs", b).c_str()));
    };
    ExpectTexts(pg({}), "PG", {0, 0, 0, 0}, {0, 0, 0});
    ExpectTexts(pg(Cat({Wds({}), Pds(0, 0, {}), End()})), "PG", {0, 0, 0, 0}, {0, 0, 0});
    ExpectTexts(pg(Cat({Pcs{720, 480, 3}.Build(), End(), PcsOf(0, {}, 6), End()})), "PG", {2, 720, 480, 3},
                {720, 480, 3});
    ts_comp::es::CPresentationGraphicsEs es = pg(SmallEpoch());
    EXPECT_FALSE(es.CreateKiv(nullptr, {0}));
    EXPECT_FALSE(es.CreateKiv(dir.File("a.kiv").c_str(), {}));
    EXPECT_FALSE(es.CreateKiv(dir.File("no/dir/a.kiv").c_str(), {0}));
    std::filesystem::remove(dir.File("s.pgs"));  // the parser opens the file by name again
    CL_CString report("keep"), xml("keep");
    es.GetReportText(report);
    es.GetXmlText(xml);
    EXPECT_EQ(std::string(report.GetString()) + xml.GetString(), "keepkeep");
    EXPECT_FALSE(es.CreateKiv(dir.File("a.kiv").c_str(), {0}));
    EXPECT_STREQ(es.GetLastErrorMessage(), "");
}

}  // namespace
