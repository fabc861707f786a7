// Presentation display sets: admission, order checks, the decoder timing model and the move onto the start PTS.
#include <gtest/gtest.h>

#include <string>

#include "es/graphics/pg/CDisplaySetForPresentation.h"
#include "es/graphics/segments/CGspGsParser.h"
#include "foundation/CTsMuxException.h"
#include "support/GraphicsBuilder.h"
#include "support/TempDir.h"

using namespace kiv_test::gfx;
using kiv_test::TempDir;
using ts_comp::CTsMuxException;
using ts_comp::es::graphics_stream::CDisplaySetForPresentation;

namespace {

// Adds every segment of `bytes` in file order; returns the AddSegment results.
std::vector<bool> Feed(CDisplaySetForPresentation& ds, const Bytes& bytes) {
    TempDir dir;
    CGspGsParser parser;
    std::vector<bool> added;
    if (!parser.Open(dir.Write("ds.pgs", bytes).c_str())) return added;
    for (uint32_t i = 0; i < parser.GetSegmentCount(); ++i) added.push_back(ds.AddSegment(parser.GetSegmentAt(i)));
    return added;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) Append(out, p);
    return out;
}

Pcs MakePcs(uint8_t state, std::vector<CompObject> objects) {
    Pcs p;
    p.state = state;
    p.objects = std::move(objects);
    return p;
}

// Epoch start: one 1000x200 window and one 1000x200 object in it.
Bytes SmallEpoch() {
    return Cat({MakePcs(2, {{1, 0}}).Build(), Wds({{0, 0, 0, 1000, 200}}), Pds(0, 0, {{0, 16, 128, 128, 0}}),
                Ods(1, 1000, 200, 100), End()});
}

struct Stamp {
    int64_t dts, pts;
};

std::vector<Stamp> Stamps(const CDisplaySetForPresentation& ds) {
    std::vector<Stamp> out;
    for (uint32_t i = 0; i < ds.GetSegmentCount(); ++i) out.push_back({ds.GetSegment(i)->dts, ds.GetSegment(i)->pts});
    return out;
}

void ExpectStamps(const CDisplaySetForPresentation& ds, const std::vector<Stamp>& expected) {
    const auto got = Stamps(ds);
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].dts, expected[i].dts) << "record " << i;
        EXPECT_EQ(got[i].pts, expected[i].pts) << "record " << i;
    }
}

std::string MessageOf(const CTsMuxException& e) {
    PRIVATE_LIBRARY::CL_CString m;
    e.GetErrorMessage(m);
    return m.GetString();
}

TEST(DisplaySet, EpochStartTimesBeforeTheMove) {
    // decode 1000x200: 1125; plane init 1920x1080: 5832; window draw 1000x200: 563 (ceil of 562.5)
    CDisplaySetForPresentation ds;
    ASSERT_EQ(Feed(ds, SmallEpoch()), std::vector<bool>(5, true));
    ASSERT_TRUE(ds.ComputeTimeStamps(6396));  // the computed PCS pts: no move
    ExpectStamps(ds, {{0, 6396}, {0, 5833}, {0, 0}, {0, 1125}, {1125, 1125}});
    EXPECT_EQ(ds.GetPreviousEndTime(), 1125);
    EXPECT_EQ(ds.GetDisplaySetNumber(), 1u);
}

TEST(DisplaySet, MoveOntoTheStartPts) {
    CDisplaySetForPresentation ds;
    Feed(ds, SmallEpoch());
    ASSERT_TRUE(ds.ComputeTimeStamps(90000));
    const int64_t d = 90000 - 6396;
    ExpectStamps(ds, {{d, 90000}, {d, d + 5833}, {d, d}, {d, d + 1125}, {d + 1125, d + 1125}});
    EXPECT_EQ(ds.GetPreviousEndTime(), d + 1125);
    // The next display set starts from the previous end time.
    ds.Clear();
    EXPECT_EQ(ds.GetSegmentCount(), 0u);
    EXPECT_EQ(ds.GetSegment(0), nullptr);
    Feed(ds, Cat({MakePcs(0, {}).Build(), End()}));
    ASSERT_TRUE(ds.ComputeTimeStamps(200000));
    // No composition object uses window 0, so it is cleared: ceil(1000 x 200 x 720000 / 256e6) = 563.
    ExpectStamps(ds, {{200000 - 564, 200000}, {200000 - 564, 200000 - 564}});
    EXPECT_EQ(ds.GetDisplaySetNumber(), 2u);
}

TEST(DisplaySet, FullHdObjectDecodesIn11664TicksAndIsWaitedFor) {
    CDisplaySetForPresentation ds;
    Feed(ds, Cat({MakePcs(2, {{7, 0}}).Build(), Wds({{0, 0, 0, 1920, 1080}}), Pds(0, 0, {}),
                  Ods(7, 1920, 1080, 50), End()}));
    ASSERT_TRUE(ds.ComputeTimeStamps(17497));
    // init 5832, wait 11664 - 5832, draw 5832: composition time 17496
    ExpectStamps(ds, {{0, 17497}, {0, 17497 - 5832}, {0, 0}, {0, 11664}, {11664, 11664}});
}

TEST(DisplaySet, TwoObjectsInSameAndInDifferentWindows) {
    struct Case {
        uint8_t secondWindow;
        int64_t pcsPts, wdsPts;
    };
    // decode 1125 and 282; draw w0 563, w1 141; all windows 704
    const Case cases[] = {{1, 1 + 5832 + 563 + 141, 1 + 5832 + 563 + 141 - 704}, {0, 1 + 5832 + 563, 1 + 5832 + 563 - 704}};
    for (const auto& c : cases) {
        CDisplaySetForPresentation ds;
        Feed(ds, Cat({MakePcs(2, {{1, 0}, {2, c.secondWindow}}).Build(),
                      Wds({{0, 0, 0, 1000, 200}, {1, 0, 300, 500, 100}}), Pds(0, 0, {}), Ods(1, 1000, 200, 10),
                      Ods(2, 500, 100, 10), End()}));
        ASSERT_TRUE(ds.ComputeTimeStamps(c.pcsPts));
        ExpectStamps(ds, {{0, c.pcsPts}, {0, c.wdsPts}, {0, 0}, {0, 1125}, {1125, 1407}, {1407, 1407}});
    }
}

TEST(DisplaySet, SecondObjectWaitUsesTheUpdatedTime) {
    // Same window: wait(c1) is measured after wait(c0) was added.
    CDisplaySetForPresentation ds;
    Feed(ds, Cat({MakePcs(2, {{1, 0}, {2, 0}}).Build(), Wds({{0, 0, 0, 1920, 1080}}), Pds(0, 0, {}),
                  Ods(1, 1920, 1080, 10), Ods(2, 1920, 1080, 10), End()}));
    // ODS 1: 0..11664, ODS 2: 11664..23328. T = 5832 + (11664-5832) + (23328-11664) + 5832
    const int64_t pcs = 1 + 5832 + 5832 + 11664 + 5832;
    ASSERT_TRUE(ds.ComputeTimeStamps(pcs));
    EXPECT_EQ(ds.GetSegment(0)->pts, pcs);
    EXPECT_EQ(ds.GetSegment(1)->pts, pcs - 5832);
}

TEST(DisplaySet, NormalStateClearsOnlyWindowsWithoutObjects) {
    CDisplaySetForPresentation ds;
    Feed(ds, Cat({MakePcs(2, {{1, 0}}).Build(), Wds({{0, 0, 0, 1000, 200}, {1, 0, 300, 500, 100}}),
                  Pds(0, 0, {}), Ods(1, 1000, 200, 10), End()}));
    ASSERT_TRUE(ds.ComputeTimeStamps(100000));
    const int64_t base = ds.GetPreviousEndTime();
    ds.Clear();
    // composition_state 0, no WDS: the epoch's windows stay; window 1 is cleared (141), window 0 drawn (563).
    ASSERT_EQ(Feed(ds, Cat({MakePcs(0, {{1, 0}}).Build(), End()})), std::vector<bool>(2, true));
    ASSERT_TRUE(ds.ComputeTimeStamps(base + 1 + 141 + 563));
    ExpectStamps(ds, {{base, base + 705}, {base, base}});
    EXPECT_EQ(ds.GetWindows().size(), 2u);
}

TEST(DisplaySet, RepeatedWindowIdCountsItsLastSizeEachTime) {
    CDisplaySetForPresentation ds;
    Feed(ds, Cat({MakePcs(2, {}).Build(), Wds({{0, 0, 0, 100, 100}, {0, 0, 0, 200, 200}}), Pds(0, 0, {}), End()}));
    ASSERT_TRUE(ds.ComputeTimeStamps(5833));
    // 2 x 200 x 200 x 8 bits: ceil(640000 x 90000 / 256e6) = 225
    EXPECT_EQ(ds.GetSegment(1)->pts, 5833 - 225);
}

TEST(DisplaySet, NormalStateWithoutWdsIsValid) {
    for (const Bytes& b : {Cat({MakePcs(0, {}).Build(), End()}), Cat({MakePcs(0, {}).Build(), Pds(0, 0, {}), End()})}) {
        CDisplaySetForPresentation ds;
        Feed(ds, b);
        EXPECT_TRUE(ds.Validate());
        EXPECT_TRUE(ds.ComputeTimeStamps(1000));
    }
    CDisplaySetForPresentation empty;
    EXPECT_TRUE(empty.Validate());
    EXPECT_FALSE(empty.ComputeTimeStamps(0));
}

TEST(DisplaySet, MissingWdsOrPdsThrowsWithTheDisplaySetNumber) {
    for (uint8_t state : {1, 2, 3}) {
        CDisplaySetForPresentation ds;
        Feed(ds, Cat({MakePcs(state, {}).Build(), Pds(0, 0, {}), End()}));
        try {
            ds.Validate();
            ADD_FAILURE() << "no throw for state " << int(state);
        } catch (const CTsMuxException& e) {
            EXPECT_EQ(e.GetErrorCode(), 6);
            EXPECT_EQ(MessageOf(e), "A WDS does not exist in this display set.(display set number = 1)");
        }
        ds.Clear();
        Feed(ds, Cat({MakePcs(state, {}).Build(), Wds({}), End()}));
        try {
            ds.ComputeTimeStamps(0);
            ADD_FAILURE() << "no throw for state " << int(state);
        } catch (const CTsMuxException& e) {
            EXPECT_EQ(e.GetErrorCode(), 6);
            EXPECT_EQ(MessageOf(e), "A PDS does not exist in this display set.(display set number = 2)");
        }
    }
}

TEST(DisplaySet, AdmissionFailures) {
    struct Case {
        const char* name;
        Bytes stream;
        std::vector<bool> added;
    };
    const Case cases[] = {
        {"misplaced PCS", Cat({MakePcs(0, {}).Build(), Pds(0, 0, {}), MakePcs(0, {}).Build()}), {true, true, false}},
        {"ICS", Cat({MakePcs(0, {}).Build(), Ics{}.Build()}), {true, false}},
        {"unknown type", Cat({MakePcs(0, {}).Build(), Segment(0x42, {1})}), {true, false}},
        {"object id 64", Cat({MakePcs(0, {}).Build(), Ods(64, 10, 10, 1)}), {true, false}},
        {"object id 63", Cat({MakePcs(0, {}).Build(), Ods(63, 10, 10, 1)}), {true, true}},
        {"continuation id 64", Cat({MakePcs(0, {}).Build(), OdsMore(64, 1, true)}), {true, true}},
        {"PCS with fewer objects than declared", [] { Pcs p; p.objects = {{1, 0}}; p.declaredObjects = 2; return p.Build(); }(), {false}},
        {"WDS with fewer windows than declared", Cat({MakePcs(0, {}).Build(), Wds({{0, 0, 0, 1, 1}}, 2)}), {true, false}},
    };
    for (const auto& c : cases) {
        CDisplaySetForPresentation ds;
        EXPECT_EQ(Feed(ds, c.stream), c.added) << c.name;
    }
}

TEST(DisplaySet, SegmentOrderViolations) {
    const Bytes pcs = MakePcs(0, {}).Build(), wds = Wds({}), pds = Pds(0, 0, {}), ods = Ods(1, 10, 10, 1);
    struct Case {
        const char* name;
        Bytes stream;
        bool valid;
    };
    const Case cases[] = {
        {"WDS after PDS", Cat({pcs, pds, wds, End()}), false},
        {"WDS after ODS", Cat({pcs, ods, wds, End()}), false},
        {"two WDS", Cat({pcs, wds, wds, End()}), false},
        {"PDS after ODS", Cat({pcs, ods, pds, End()}), false},
        {"ODS after END", Cat({pcs, End(), ods}), false},
        {"PDS after END", Cat({pcs, End(), pds}), false},
        {"no END", Cat({pcs, wds, pds}), false},
        {"two PDS, two ODS", Cat({pcs, wds, pds, pds, ods, ods, End()}), true},
    };
    for (const auto& c : cases) {
        CDisplaySetForPresentation ds;
        Feed(ds, c.stream);
        EXPECT_EQ(ds.Validate(), c.valid) << c.name;
        EXPECT_EQ(ds.ComputeTimeStamps(100000), c.valid) << c.name;
    }
}

// An object of exactly `total` coded bytes split into the largest fragments.
Bytes BigObject(uint16_t id, uint16_t w, uint16_t h, size_t total) {
    const size_t first = std::min<size_t>(total, 65538);
    Bytes out = Ods(id, w, h, first - 14, first == total);
    size_t left = total - first;
    while (left > 0) {
        const size_t n = std::min<size_t>(left, 65538);
        Append(out, OdsMore(id, n - 7, n == left));
        left -= n;
    }
    return out;
}

TEST(DisplaySet, TransferDelayStartsPastOneMebibyte) {
    // PCS 22 + WDS 13 + PDS 5 bytes come before the object.
    struct Case {
        size_t objectBytes;
        int64_t delay;
    };
    const Case cases[] = {{1048576 - 40, 0}, {1048576 - 40 + 1, 18874}};  // ceil(1048537 x 90000 / 5e6)
    for (const auto& c : cases) {
        CDisplaySetForPresentation ds;
        const Bytes obj = BigObject(1, 100, 100, c.objectBytes);
        Feed(ds, Cat({MakePcs(2, {{1, 0}}).Build(), Wds({{0, 0, 0, 100, 100}}), Pds(0, 0, {}), obj, End()}));
        ASSERT_GT(ds.GetSegmentCount(), 18u);
        ASSERT_TRUE(ds.ComputeTimeStamps(1000000));
        const int64_t off = ds.GetSegment(3)->dts - c.delay;  // the move offset
        EXPECT_EQ(ds.GetSegment(0)->dts, off);
        const int64_t decode = 57;  // ceil(100 x 100 x 8 x 90000 / 128e6) = 56.25
        for (uint32_t i = 3; i + 1 < ds.GetSegmentCount(); ++i) {
            EXPECT_EQ(ds.GetSegment(i)->dts, off + c.delay) << i;  // continuation fragments share the first's times
            EXPECT_EQ(ds.GetSegment(i)->pts, off + c.delay + decode) << i;
        }
    }
}

TEST(DisplaySet, ContinuationFragmentsTakeTheMostRecentFirstFragment) {
    CDisplaySetForPresentation ds;
    // The first continuation has no first fragment before it: it gets the decoder's current time, base + 0.
    Feed(ds, Cat({MakePcs(0, {}).Build(), OdsMore(3, 4, false), Ods(2, 1000, 200, 1), OdsMore(3, 4, true), End()}));
    ASSERT_TRUE(ds.ComputeTimeStamps(1001));
    ExpectStamps(ds, {{1000, 1001}, {1000, 1000}, {1000, 2125}, {1000, 2125}, {2125, 2125}});
}

TEST(DisplaySet, NegativeDtsMessageCarriesTheValue) {
    CDisplaySetForPresentation ds;
    Feed(ds, SmallEpoch());
    try {
        ds.ComputeTimeStamps(100);
        ADD_FAILURE() << "no throw";
    } catch (const CTsMuxException& e) {
        EXPECT_EQ(e.GetErrorCode(), 6);
        EXPECT_EQ(MessageOf(e), "\nA DTS value of first Segment is minus .(DTS = -6296)");
    }
    ds.Clear();
    Feed(ds, SmallEpoch());
    EXPECT_TRUE(ds.ComputeTimeStamps(6396));  // exactly reaching DTS 0 is allowed
    EXPECT_EQ(ds.GetSegment(0)->dts, 0);
}

TEST(DisplaySet, EpochContinuingSetUsesEarlierObjects) {
    CDisplaySetForPresentation ds;
    Feed(ds, SmallEpoch());
    ASSERT_TRUE(ds.ComputeTimeStamps(90000));
    ds.Clear();
    // No ODS here: the wait is 0 and the lookup finds the object of the first display set.
    Feed(ds, Cat({MakePcs(0, {{1, 0}}).Build(), End()}));
    ASSERT_TRUE(ds.ComputeTimeStamps(200000));
    ExpectStamps(ds, {{200000 - 564, 200000}, {200000 - 564, 200000 - 564}});
    ds.Clear();
    // An acquisition point empties the object table, so the same reference now fails.
    Feed(ds, Cat({MakePcs(1, {{1, 0}}).Build(), Wds({{0, 0, 0, 1000, 200}}), Pds(0, 0, {}), End()}));
    try {
        ds.ComputeTimeStamps(300000);
        ADD_FAILURE() << "no throw";
    } catch (const CTsMuxException& e) {
        EXPECT_EQ(MessageOf(e), "A object does not exist in this display set.(object_id = 1,display set number = 3)");
    }
}

TEST(DisplaySet, ObjectOutsideTheTableIsMissing) {
    CDisplaySetForPresentation ds;
    Feed(ds, Cat({MakePcs(0, {{100, 0}}).Build(), End()}));
    try {
        ds.ComputeTimeStamps(300000);
        ADD_FAILURE() << "no throw";
    } catch (const CTsMuxException& e) {
        EXPECT_EQ(MessageOf(e), "A object does not exist in this display set.(object_id = 100,display set number = 1)");
    }
}

}  // namespace
