// AC-3 and E-AC-3: the frame recognisers and bsi parsers against frames written field by field, and CAc3Es's
// failures and notice. Report values and items are in the audio tables and the creator table.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <utility>

#include "es/audio/ac3/CAc3Es.h"
#include "es/audio/ac3/CEnhancedFrameForDD.h"
#include "es/audio/ac3/CLegacyCoreFrameForDD.h"
#include "es/audio/ac3/DolbyDigitalSync.h"
#include "foundation/CTsMuxException.h"
#include "input/CBinaryBuffer.h"
#include "support/Ac3Builder.h"
#include "support/KivReader.h"
#include "support/RecordingNotice.h"

namespace kiv_test {
namespace {

using PRIVATE_LIBRARY::CL_CString;
using ts_comp::CBinaryBuffer;
using namespace ts_comp::es::dolby_digital_audio;
using Bytes = std::vector<uint8_t>;

struct Opened {
    explicit Opened(const Bytes& bytes) { EXPECT_TRUE(buffer.Open(dir.Write("s.ac3", bytes).c_str())); }
    TempDir dir;
    CBinaryBuffer buffer;
};

TEST(DolbyDigitalSync, LooksAtTenBytesWithoutConsuming) {
    // sync word, byte 5 (bsid in the top five bits), bytes, answers: 'L' legacy core frame, 'E' enhanced frame
    const std::tuple<uint16_t, uint8_t, size_t, const char*> rows[] = {
        {0x0B77, 8 << 3, 10, "L-"},  {0x0B77, 7, 10, "L-"},      {0x0B77, 9 << 3, 10, "--"}, {0x0B77, 16 << 3 | 7, 10, "-E"},
        {0x0B77, 17 << 3, 10, "--"}, {0x770B, 8 << 3, 10, "--"}, {0x0B78, 8 << 3, 10, "--"}, {0x0B77, 8 << 3, 9, "--"},
        {0x0B77, 16 << 3, 9, "--"}};
    for (const auto& [sync, byte5, size, answers] : rows) {
        Bytes head = {uint8_t(sync >> 8), uint8_t(sync), 0, 0, 0, byte5, 0, 0, 0, 0};
        Opened o(JoinUnits({head}, 1, size));
        EXPECT_EQ(std::string({IsLegacyCoreFrame(o.buffer) ? 'L' : '-', IsEnhancedFrame(o.buffer) ? 'E' : '-'}), answers) << size;
        EXPECT_EQ(o.buffer.Tell(), 0);
    }
}

// Every coding mode with all optional groups and with none: the fields kept, the buffer at the next frame.
TEST(LegacyCoreFrame, KeepsFieldsAndEndsAfterTheFrame) {
    for (uint32_t acmod = 0; acmod < 8; ++acmod) {
        for (uint32_t groups : {0u, kCompr | kLang | kProd | kCompr2 | kLang2 | kProd2}) {
            const Ac3Frame e{acmod, acmod & 1, acmod % 3, acmod * 5, groups ? 8u : 6u, 5, 2, groups};
            Opened o(JoinUnits({e.Build(), Ac3Frame{}.Build()}));
            CLegacyCoreFrameForDD f;
            ASSERT_TRUE(f.Parse(o.buffer)) << acmod;
            const bool dual = acmod == 0, all = groups != 0;
            EXPECT_EQ(std::vector<int>({f.fscod, f.frmsizecod, f.bsid, f.bsmod, f.acmod, f.lfeon, f.dsurmod, f.compre, f.langcode,
                                        f.langcod, f.audprodie, f.compr2e, f.compr2, f.langcod2e, f.langcod2}),
                      std::vector<int>({int(acmod % 3), int(acmod * 5), all ? 8 : 6, 5, int(acmod), int(acmod & 1), acmod == 2 ? 2 : 0, all, all,
                                        all ? 9 : 255, all, dual && all, dual && all ? 255 : 0, dual && all, dual && all ? 10 : 255}))
                << acmod << " " << groups;
            EXPECT_EQ(o.buffer.Tell(), 2 * int64_t{Ac3FrameWords(acmod % 3, acmod * 5)});
        }
    }
    for (uint32_t fscod = 0; fscod < 3; ++fscod) {
        for (uint32_t code = 0; code < 38; ++code) {
            Opened o(Ac3Frame{2, 0, fscod, code}.Build());
            CLegacyCoreFrameForDD f;
            ASSERT_TRUE(f.Parse(o.buffer));
            EXPECT_EQ(o.buffer.Tell(), 2 * int64_t{Ac3FrameWords(fscod, code)}) << fscod << "/" << code;
        }
    }
}

TEST(LegacyCoreFrame, RefusesReservedCodesAndACutBsi) {
    // fscod, frmsizecod, bsid, bytes kept (0: all 400)
    const uint32_t rows[][4] = {{0, 28, 9, 0}, {0, 28, 31, 0}, {3, 28, 8, 0}, {0, 38, 8, 0}, {2, 63, 8, 0}, {0, 28, 8, 6}};
    for (const auto& r : rows) {
        Bytes bytes = Ac3Frame{2, 0, r[0], r[1], r[2], 0, 0, 0, 9, 10, 400}.Build();
        if (r[3] != 0) bytes.resize(r[3]);
        Opened o(bytes);
        CLegacyCoreFrameForDD f;
        EXPECT_FALSE(f.Parse(o.buffer)) << r[0] << " " << r[1] << " " << r[2] << " " << r[3];
    }
}

// Frames through each optional group of the bsi: the fields kept (bsmod, dsurmod and frmsizecod come after
// the groups), the buffer at the next frame.
TEST(EnhancedFrame, KeepsFieldsAndEndsAfterTheFrame) {
    const struct {
        Eac3Frame frame;  // strmtyp, acmod, lfeon, groups, numblkscod, bsmod, dsurmod, mixdef, fscod, substreamid,
                          // chanmap, blkid, frmsizecod, addbsil
        int bsmod, dsurmod, frmsizecod;
    } rows[] = {
        {{0, 2, 0, 0}, 0, 0, 0},
        {{0, 2, 0, kInfo | kProd, 2, 7, 2}, 7, 2, 0},
        {{0, 7, 1, kCompr | kMix | kLfeMix | kPgm | kExtPgm | kFrmMix | kBlkMix | kInfo | kAddBsi, 3, 5, 0, 3, 0, 0, 0, 0, 0, 10}, 5, 0, 0},
        {{0, 0, 0, kCompr2 | kMix | kPgm2 | kPan | kPan2 | kFrmMix | kInfo | kProd | kProd2, 0, 3, 0, 2}, 3, 0, 0},
        {{0, 1, 0, kMix | kPan | kFrmMix | kBlkMix | kInfo, 1, 6, 0, 1}, 6, 0, 0},
        {{1, 6, 1, kChanmap | kMix | kLfeMix | kInfo, 3, 4, 0, 0, 0, 3, 0xA5C3}, 4, 0, 0},
        {{2, 2, 0, kInfo, 1, 2, 1, 0, 0, 0, 0, 1, 37}, 2, 1, 37},
        {{2, 3, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 21}, 0, 0, 21},
        {{2, 3, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 21}, 0, 0, 0},
        {{0, 4, 0, kMix | kFrmMix | kBlkMix | kInfo | kAddBsi, 3, 1, 0, 0, 3}, 1, 0, 0},
    };
    for (const auto& r : rows) {
        const Eac3Frame& e = r.frame;
        Opened o(JoinUnits({e.Build(), Eac3Frame{}.Build()}));
        CEnhancedFrameForDD f;
        ASSERT_TRUE(f.Parse(o.buffer)) << e.groups;
        EXPECT_EQ(std::vector<int>({f.frmsiz, f.strmtyp, f.substreamid, f.fscod, f.acmod, f.lfeon, f.bsid, f.compre, f.chanmape,
                                    f.chanmap, f.bsmod, f.dsurmod, f.frmsizecod}),
                  std::vector<int>({767, int(e.strmtyp), int(e.substreamid), int(e.fscod), int(e.acmod), int(e.lfeon), 16,
                                    (e.groups & kCompr) != 0, (e.groups & kChanmap) != 0, int(e.chanmap), r.bsmod, r.dsurmod, r.frmsizecod}))
            << e.strmtyp << " " << e.acmod << " " << e.groups;
        EXPECT_EQ(o.buffer.Tell(), 1536);
    }
    // 64 bytes of additional bsi two bytes past the end; a whole bsi without the rest of the frame.
    Bytes cut = Eac3Frame{0, 2, 0, kAddBsi, 3, 0, 0, 0, 0, 0, 0, 0, 0, 63, 767, false}.Build();
    cut.resize(cut.size() - 2);
    Opened cutOff(cut), bsiOnly(Eac3Frame{0, 2, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 767, false}.Build());
    CEnhancedFrameForDD f;
    EXPECT_FALSE(f.Parse(cutOff.buffer));
    EXPECT_TRUE(f.Parse(bsiOnly.buffer));
}

// On one analyser: CreateKiv's failures throw before the KIV file is written; then progress comes after each
// frame with the file length, none after the terminating item; a second scan starts at the first frame again.
TEST(Ac3Es, FailuresThrowThenNoticePollsAfterEachFrame) {
    TempDir dir;
    const Bytes s = JoinUnits({Ac3Frame{}.Build(), Eac3Frame{1, 2, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255}.Build(), Ac3Frame{}.Build()});
    ts_comp::es::CAc3Es es(CL_CString(dir.Write("a.ac3", s).c_str()));
    const std::string kiv = dir.File("a.kiv"), missing = dir.File("missing/a.kiv");
    const auto thrown = [&](const char* path, std::vector<uint64_t> starts) -> std::string {
        try {
            es.CreateKiv(path, std::move(starts));
        } catch (const ts_comp::CTsMuxException& e) {
            CL_CString m;
            e.GetMessage(m);
            return std::to_string(e.GetErrorCode()) + " " + e.GetSourceFile() + " " + m.GetString();
        }
        return "nothing thrown";
    };
    EXPECT_EQ(thrown(kiv.c_str(), {}), "6 Ac3Es \nstart pts is not set.");
    EXPECT_EQ(thrown(missing.c_str(), {0}), "10 Ac3Es \nfile open error.(file name = " + missing + ")");
    EXPECT_EQ(thrown(nullptr, {0}), "10 Ac3Es \nfile open error.(file name = (null))");
    EXPECT_FALSE(std::filesystem::exists(kiv));
    RecordingNotice notice;
    es.SetNotice(&notice);
    ASSERT_TRUE(es.CreateKiv(kiv.c_str(), {0}));
    EXPECT_EQ(notice.progress, (std::vector<int64_t>{1536, 2048, 3584}));
    EXPECT_EQ(notice.totals, std::vector<int64_t>(3, int64_t(s.size())));
    EXPECT_EQ(notice.polls, 3);
    ASSERT_TRUE(es.CreateKiv(kiv.c_str(), {0}));
    EXPECT_EQ(ReadKiv(kiv).items.size(), 4u);
}

}  // namespace
}  // namespace kiv_test
