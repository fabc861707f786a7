// PG analyser: KIV items per segment, the end item, start-PTS handling, notice, report and XML.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "KivNotice.h"
#include "es/graphics/pg/CPresentationGraphicsEs.h"
#include "foundation/CTsMuxException.h"
#include "support/GraphicsBuilder.h"
#include "support/TempDir.h"

using namespace kiv_test::gfx;
using kiv_test::TempDir;
using ts_comp::CTsMuxException;
using ts_comp::es::CPresentationGraphicsEs;

namespace {

struct Item {
    uint64_t type, size, dts, pts, sub, first, last;
};

uint64_t Field(const uint8_t* b, unsigned pos, unsigned width) {
    uint64_t v = 0;
    for (unsigned i = 0; i < width; ++i) v = (v << 1) | ((b[(pos + i) / 8] >> (7 - (pos + i) % 8)) & 1u);
    return v;
}

std::vector<Item> Items(const Bytes& kiv) {
    std::vector<Item> out;
    for (size_t at = 4; at + 15 <= kiv.size(); at += 15) {
        const uint8_t* b = kiv.data() + at;
        out.push_back({Field(b, 0, 8), Field(b, 8, 32), Field(b, 40, 33), Field(b, 73, 33), Field(b, 112, 2),
                       Field(b, 114, 1), Field(b, 115, 1)});
    }
    return out;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) Append(out, p);
    return out;
}

Pcs MakePcs(uint8_t state, std::vector<CompObject> objects, uint8_t frameRate = 4) {
    Pcs p;
    p.state = state;
    p.objects = std::move(objects);
    p.frameRate = frameRate;
    return p;
}

Bytes SmallEpoch(uint8_t frameRate = 4) {
    return Cat({MakePcs(2, {{1, 0}}, frameRate).Build(), Wds({{0, 0, 0, 1000, 200}}), Pds(0, 0, {{0, 16, 128, 128, 0}}),
                Ods(1, 1000, 200, 100), End()});
}

struct PgRun {
    TempDir dir;
    std::string es, kiv;
    std::unique_ptr<CPresentationGraphicsEs> analyser;
    explicit PgRun(const Bytes& stream) {
        es = dir.Write("s.pgs", stream);
        kiv = dir.File("s.kiv");
        analyser = std::make_unique<CPresentationGraphicsEs>(PRIVATE_LIBRARY::CL_CString(es.c_str()));
    }
    bool Create(std::vector<uint64_t> starts) { return analyser->CreateKiv(kiv.c_str(), std::move(starts)); }
    Bytes Kiv() const { return TempDir::Read(kiv); }
};

TEST(PgAnalyser, NoSegmentsWritesOnlyTheEndItem) {
    PgRun run({});
    ASSERT_TRUE(run.Create({0}));
    EXPECT_EQ(run.Kiv(), Bytes({0, 0, 0, 3, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(PgAnalyser, ItemsOfAnEpochStartSet) {
    const Bytes stream = SmallEpoch();
    PgRun run(stream);
    ASSERT_TRUE(run.Create({90000}));
    const Bytes kiv = run.Kiv();
    ASSERT_EQ(kiv.size(), 4u + 6 * 15);
    EXPECT_EQ(Bytes(kiv.begin() + 4, kiv.begin() + 19),
              Bytes({0x16, 0, 0, 0, 0x16, 0, 0, 0xA3, 0x4A, 0, 0, 0x57, 0xE4, 0, 0x80}));
    const int64_t d = 90000 - 6396;
    const std::vector<Item> expected = {{0x16, 22, uint64_t(d), 90000, 2, 0, 0},
                                        {0x17, 13, uint64_t(d), uint64_t(d + 5833), 0, 0, 0},
                                        {0x14, 10, uint64_t(d), uint64_t(d), 0, 0, 0},
                                        {0x15, 114, uint64_t(d), uint64_t(d + 1125), 0, 1, 1},
                                        {0x80, 3, uint64_t(d + 1125), uint64_t(d + 1125), 0, 0, 0},
                                        {0xFF, 0, 0, 90000 + 3003, 0, 0, 0}};
    const auto items = Items(kiv);
    uint64_t total = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(items[i].type, expected[i].type) << i;
        EXPECT_EQ(items[i].size, expected[i].size) << i;
        EXPECT_EQ(items[i].dts, expected[i].dts) << i;
        EXPECT_EQ(items[i].pts, expected[i].pts) << i;
        EXPECT_EQ(items[i].sub, expected[i].sub) << i;
        EXPECT_EQ(items[i].first, expected[i].first) << i;
        EXPECT_EQ(items[i].last, expected[i].last) << i;
        total += items[i].size;
    }
    EXPECT_EQ(total, stream.size());
}

TEST(PgAnalyser, FragmentItemsCarryTheirSequenceFlags) {
    Pcs pcs = MakePcs(1, {{3, 0}});
    const Bytes stream = Cat({pcs.Build(), Wds({{0, 0, 0, 1000, 200}}), Pds(0, 0, {}), Ods(3, 1000, 200, 50, false),
                              OdsMore(3, 20, false), OdsMore(3, 10, true), End()});
    PgRun run(stream);
    ASSERT_TRUE(run.Create({90000}));
    const auto items = Items(run.Kiv());
    ASSERT_EQ(items.size(), 8u);
    const uint64_t flags[][3] = {{1, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 1, 0}, {0, 0, 0}, {0, 0, 1}, {0, 0, 0}};
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(items[i].sub, flags[i][0]) << i;
        EXPECT_EQ(items[i].first, flags[i][1]) << i;
        EXPECT_EQ(items[i].last, flags[i][2]) << i;
    }
    EXPECT_EQ(items[3].pts, items[4].pts);
    EXPECT_EQ(items[3].pts, items[5].pts);
    EXPECT_EQ(items[3].size + items[4].size + items[5].size, 64u + 27 + 17);
    EXPECT_EQ(items[7].first + items[7].last + items[7].sub, 0u);
}

TEST(PgAnalyser, EndItemFollowsTheFrameDurationTable) {
    const std::pair<uint8_t, uint64_t> cases[] = {{0, 0},    {1, 3753}, {2, 3750}, {3, 3600}, {4, 3003}, {5, 0},
                                                  {6, 1800}, {7, 1501}, {8, 0},    {15, 0}};
    for (const auto& c : cases) {
        PgRun run(SmallEpoch(c.first));
        ASSERT_TRUE(run.Create({50000}));
        const auto items = Items(run.Kiv());
        ASSERT_EQ(items.size(), 6u);
        EXPECT_EQ(items.back().pts, 50000 + c.second) << int(c.first);
    }
}

TEST(PgAnalyser, IncompleteLastDisplaySetWritesNoItems) {
    Bytes cut = MakePcs(0, {{1, 0}}).Build();
    cut.resize(cut.size() - 8);  // the composition object lies past the end of the file
    const Bytes tails[] = {Cat({MakePcs(0, {}).Build(), Pds(0, 0, {})}), cut};
    for (const Bytes& tail : tails) {
        Bytes stream = SmallEpoch(6);
        Append(stream, tail);
        PgRun run(stream);
        ASSERT_TRUE(run.Create({90000, 180000})) << tail.size();
        const auto items = Items(run.Kiv());
        ASSERT_EQ(items.size(), 6u);
        EXPECT_EQ(items.back().type, 0xFFu);
        EXPECT_EQ(items.back().pts, 90000u + 1800);
    }
}

TEST(PgAnalyser, EachDisplaySetTakesItsStartPts) {
    Bytes stream = SmallEpoch();
    Append(stream, Cat({MakePcs(0, {{1, 0}}).Build(), End()}));
    Append(stream, Cat({MakePcs(0, {}).Build(), End()}));
    struct Case {
        std::vector<uint64_t> starts;
        bool ok;
        size_t items;
    };
    const Case cases[] = {{{10000, 20000, 30000}, true, 10}, {{10000, 20000, 30000, 40000}, true, 10},
                          {{10000, 20000}, false, 7}};
    for (const auto& c : cases) {
        PgRun run(stream);
        EXPECT_EQ(run.Create(c.starts), c.ok);
        if (!c.ok) {
            EXPECT_STREQ(run.analyser->GetLastErrorMessage(),
                         "The number of pts in start pts list and display set is not equal.");
        }
        run.analyser.reset();  // closes nothing of the KIV: the writer lived inside CreateKiv
        const auto items = Items(run.Kiv());
        ASSERT_EQ(items.size(), c.items);
        EXPECT_EQ(items[0].pts, 10000u);
        EXPECT_EQ(items[5].pts, 20000u);
        if (c.ok) {
            EXPECT_EQ(items[7].pts, 30000u);
            EXPECT_EQ(items[9].pts, 30000u + 3003);
        }
    }
}

TEST(PgAnalyser, RejectedInputReturnsFalse) {
    PgRun run(SmallEpoch());
    EXPECT_FALSE(run.analyser->CreateKiv(nullptr, {0}));
    EXPECT_FALSE(run.Create({}));
    EXPECT_FALSE(run.analyser->CreateKiv((run.dir.Path() + "/no/dir/x.kiv").c_str(), {0}));
    EXPECT_STREQ(run.analyser->GetLastErrorMessage(), "");
    PgRun bad(Cat({MakePcs(0, {}).Build(), Segment(0x18, Bytes(9, 0)), End()}));
    EXPECT_FALSE(bad.Create({0}));
    EXPECT_STREQ(bad.analyser->GetLastErrorMessage(), "");
}

TEST(PgAnalyser, DecoderModelErrorsPropagate) {
    PgRun run(SmallEpoch());
    try {
        run.Create({10});
        ADD_FAILURE() << "no throw";
    } catch (const CTsMuxException& e) {
        PRIVATE_LIBRARY::CL_CString m;
        e.GetErrorMessage(m);
        EXPECT_STREQ(m.GetString(), "\nA DTS value of first Segment is minus .(DTS = -6386)");
    }
}

class Notice : public kiv_comp::CKivNotice {
public:
    explicit Notice(int abortAfter) : m_abortAfter(abortAfter) {}
    void NotifyProgress(int64_t processed, int64_t total) override {
        progress.push_back(processed);
        totals.push_back(total);
    }
    bool IsAborted() override { return ++calls > m_abortAfter; }
    std::vector<int64_t> progress, totals;
    int calls = 0;

private:
    int m_abortAfter;
};

TEST(PgAnalyser, NoticeGetsProgressPerSegmentAndCanAbort) {
    const Bytes stream = SmallEpoch();
    {
        PgRun run(stream);
        Notice notice(1000);
        run.analyser->SetNotice(&notice);
        ASSERT_TRUE(run.Create({90000}));
        EXPECT_EQ(notice.progress, std::vector<int64_t>({22, 35, 45, 159, 162}));
        EXPECT_EQ(notice.totals, std::vector<int64_t>(5, static_cast<int64_t>(stream.size())));
    }
    PgRun run(stream);
    Notice notice(2);
    run.analyser->SetNotice(&notice);
    try {
        run.Create({90000});
        ADD_FAILURE() << "no throw";
    } catch (const CTsMuxException& e) {
        EXPECT_EQ(e.GetErrorCode(), 0);
        PRIVATE_LIBRARY::CL_CString m;
        e.GetErrorMessage(m);
        EXPECT_STREQ(m.GetString(), "abort end.");
    }
    EXPECT_EQ(notice.progress, std::vector<int64_t>({22, 35}));
}

TEST(PgAnalyser, ReportCountsDisplaySets) {
    struct Case {
        Bytes stream;
        const char* text;
    };
    Pcs small = MakePcs(2, {}, 3);
    small.width = 720;
    small.height = 480;
    const Case cases[] = {
        {{}, "[number of displayset] : 0\r\n[video width] : 0\r\n[video height] : 0\r\n[frame rate] : 0\r\n"},
        {Cat({Wds({}), Pds(0, 0, {}), End()}),
         "[number of displayset] : 0\r\n[video width] : 0\r\n[video height] : 0\r\n[frame rate] : 0\r\n"},
        {Cat({small.Build(), End(), MakePcs(0, {}, 6).Build(), End()}),
         "[number of displayset] : 2\r\n[video width] : 720\r\n[video height] : 480\r\n[frame rate] : 3\r\n"},
    };
    for (const auto& c : cases) {
        PgRun run(c.stream);
        PRIVATE_LIBRARY::CL_CString out("x\r\n");
        run.analyser->GetReportText(out);
        EXPECT_EQ(std::string(out.GetString()), std::string("x\r\n") + c.text);
    }
}

TEST(PgAnalyser, XmlDocument) {
    const auto doc = [](int w, int h, int f) {
        return std::string("<?xml version=\"1.0\" standalone=\"yes\"?>\n<PG xmlns=\"") + ts_comp::es::kXmlNamespace +
               "\">\n  <parameter>\n    <video_width>" + std::to_string(w) + "</video_width>\n    <video_height>" +
               std::to_string(h) + "</video_height>\n    <frame_rate>" + std::to_string(f) +
               "</frame_rate>\n  </parameter>\n</PG>\n";
    };
    PgRun run(SmallEpoch(7));
    PRIVATE_LIBRARY::CL_CString out("old");
    run.analyser->GetXmlText(out);
    EXPECT_EQ(std::string(out.GetString()), doc(1920, 1080, 7));
    PgRun none(Cat({Pds(0, 0, {}), End()}));
    none.analyser->GetXmlText(out);
    EXPECT_EQ(std::string(out.GetString()), doc(0, 0, 0));
}

TEST(PgAnalyser, UnreadableStreamLeavesTextsUnchanged) {
    PgRun run(SmallEpoch());
    std::remove(run.es.c_str());  // the parser opens the file by name again
    PRIVATE_LIBRARY::CL_CString report("keep"), xml("keep");
    run.analyser->GetReportText(report);
    run.analyser->GetXmlText(xml);
    EXPECT_STREQ(report.GetString(), "keep");
    EXPECT_STREQ(xml.GetString(), "keep");
    EXPECT_FALSE(run.Create({0}));
    EXPECT_STREQ(run.analyser->GetLastErrorMessage(), "");
}

TEST(PgAnalyser, HostileStreamsEndWithoutCrashing) {
    // Random segment types and lengths, mostly the PG ones, with random bodies.
    uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFFu; };
    const uint8_t types[] = {0x14, 0x15, 0x16, 0x17, 0x80, 0x18, 0x42};
    for (int round = 0; round < 200; ++round) {
        Bytes stream;
        const int segments = static_cast<int>(next() % 12);
        for (int s = 0; s < segments; ++s) {
            Bytes body(next() % 40);
            for (auto& b : body) b = static_cast<uint8_t>(next());
            const int declared = next() % 4 == 0 ? static_cast<int>(next() % 60) : -1;
            Append(stream, Segment(types[next() % 7], body, declared));
        }
        if (next() % 3 == 0 && !stream.empty()) stream.resize(next() % stream.size());
        PgRun run(stream);
        try {
            const bool ok = run.Create({1000000, 2000000, 3000000});
            if (ok) {
                EXPECT_EQ(run.Kiv().size() % 15, 4u) << round;
            }
        } catch (const CTsMuxException& e) {
            EXPECT_EQ(e.GetErrorCode(), 6) << round;
        }
        PRIVATE_LIBRARY::CL_CString text;
        run.analyser->GetReportText(text);
        run.analyser->GetXmlText(text);
    }
}

}  // namespace
