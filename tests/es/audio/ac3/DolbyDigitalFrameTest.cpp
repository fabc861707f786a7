// Frame recognisers and the AC-3 / E-AC-3 bsi parsers over real files.
#include <gtest/gtest.h>

#include <functional>

#include "es/audio/ac3/CEnhancedFrameForDD.h"
#include "es/audio/ac3/CLegacyCoreFrameForDD.h"
#include "es/audio/ac3/DolbyDigitalSync.h"
#include "input/CBinaryBuffer.h"
#include "support/Ac3Builder.h"
#include "support/TempDir.h"

using namespace kiv_test;
using ts_comp::CBinaryBuffer;
using namespace ts_comp::es::dolby_digital_audio;

namespace {

class BufferOn {
public:
    explicit BufferOn(const std::vector<uint8_t>& bytes) { EXPECT_TRUE(buffer.Open(dir.Write("s.ac3", bytes).c_str())); }
    TempDir dir;
    CBinaryBuffer buffer;
};

struct RecogniseCase {
    const char* name;
    std::vector<uint8_t> bytes;
    bool legacy;
    bool enhanced;
};

class RecogniseTest : public ::testing::TestWithParam<RecogniseCase> {};

TEST_P(RecogniseTest, LooksAtTenBytesWithoutConsuming) {
    BufferOn b(GetParam().bytes);
    EXPECT_EQ(IsLegacyCoreFrame(b.buffer), GetParam().legacy);
    EXPECT_EQ(IsEnhancedFrame(b.buffer), GetParam().enhanced);
    EXPECT_EQ(b.buffer.Tell(), 0);
}

std::vector<uint8_t> Head(uint8_t b0, uint8_t b1, uint8_t byte5, size_t size = 10) {
    std::vector<uint8_t> v(size, 0);
    v[0] = b0;
    if (size > 1) v[1] = b1;
    if (size > 5) v[5] = byte5;
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Heads, RecogniseTest,
    ::testing::Values(RecogniseCase{"bsid8", Head(0x0B, 0x77, 8 << 3), true, false},
                      RecogniseCase{"bsid0", Head(0x0B, 0x77, 0x07), true, false},
                      RecogniseCase{"bsid9", Head(0x0B, 0x77, 9 << 3), false, false},
                      RecogniseCase{"bsid16", Head(0x0B, 0x77, (16 << 3) | 7), false, true},
                      RecogniseCase{"bsid17", Head(0x0B, 0x77, 17 << 3), false, false},
                      RecogniseCase{"swapped", Head(0x77, 0x0B, 8 << 3), false, false},
                      RecogniseCase{"halfSync", Head(0x0B, 0x78, 8 << 3), false, false},
                      RecogniseCase{"nineBytes", Head(0x0B, 0x77, 8 << 3, 9), false, false},
                      RecogniseCase{"nineBytesEnhanced", Head(0x0B, 0x77, 16 << 3, 9), false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- AC-3 bsi ----

struct LegacyCase {
    const char* name;
    Ac3Frame frame;
};

Ac3Frame Legacy(uint32_t acmod, uint32_t lfeon) {
    Ac3Frame f;
    f.acmod = acmod;
    f.lfeon = lfeon;
    f.bsmod = 5;
    f.cmixlev = 3;
    f.surmixlev = 3;
    f.dsurmod = 2;
    f.dialnorm = 31;
    return f;
}

std::vector<LegacyCase> LegacyCases() {
    std::vector<LegacyCase> cases;
    const char* names[8] = {"dual", "mono", "stereo", "three0", "two1", "three1", "two2", "three2"};
    for (uint32_t acmod = 0; acmod < 8; ++acmod) {
        Ac3Frame f = Legacy(acmod, acmod & 1);
        f.compre = 1;
        f.compr = 0xFF;
        f.langcode = 1;
        f.langcod = 9;
        f.audprodie = 1;
        f.mixlevel = 31;
        f.roomtyp = 3;
        f.compr2e = 1;
        f.compr2 = 0xFF;
        f.langcod2e = 1;
        f.langcod2 = 10;
        f.audprodi2e = 1;
        f.mixlevel2 = 31;
        cases.push_back({names[acmod], f});
        Ac3Frame bare = Legacy(acmod, 0);
        bare.bsid = 6;
        bare.fscod = acmod % 3;
        bare.frmsizecod = acmod * 5;
        cases.push_back({names[acmod], bare});
    }
    return cases;
}

class LegacyParseTest : public ::testing::TestWithParam<int> {};

TEST_P(LegacyParseTest, KeepsFieldsAndEndsAfterTheFrame) {
    const LegacyCase c = LegacyCases()[static_cast<size_t>(GetParam())];
    const std::vector<uint8_t> first = c.frame.Build();
    Ac3Frame next;
    next.bsmod = 1;
    BufferOn b(JoinFrames({first, next.Build()}));
    CLegacyCoreFrameForDD f;
    ASSERT_TRUE(f.Parse(b.buffer)) << c.name;
    const Ac3Frame& e = c.frame;
    EXPECT_EQ(f.fscod, e.fscod);
    EXPECT_EQ(f.frmsizecod, e.frmsizecod);
    EXPECT_EQ(f.bsid, e.bsid);
    EXPECT_EQ(f.bsmod, e.bsmod);
    EXPECT_EQ(f.acmod, e.acmod);
    EXPECT_EQ(f.lfeon, e.lfeon);
    EXPECT_EQ(f.dsurmod, e.acmod == 2 ? e.dsurmod : 0u);
    EXPECT_EQ(f.compre, e.compre);
    EXPECT_EQ(f.langcode, e.langcode);
    EXPECT_EQ(f.langcod, e.langcode ? e.langcod : 255u);
    EXPECT_EQ(f.audprodie, e.audprodie);
    const bool dual = e.acmod == 0;
    EXPECT_EQ(f.compr2e, dual ? e.compr2e : 0u);
    EXPECT_EQ(f.compr2, dual && e.compr2e ? e.compr2 : 0u);
    EXPECT_EQ(f.langcod2e, dual ? e.langcod2e : 0u);
    EXPECT_EQ(f.langcod2, dual && e.langcod2e ? e.langcod2 : 255u);
    EXPECT_EQ(b.buffer.Tell(), static_cast<int64_t>(first.size()));
    CLegacyCoreFrameForDD second;
    ASSERT_TRUE(second.Parse(b.buffer));
    EXPECT_EQ(second.bsmod, 1);
}

INSTANTIATE_TEST_SUITE_P(AllCodingModes, LegacyParseTest, ::testing::Range(0, 16));

TEST(LegacyParse, FrameLengthFollowsTheTableForEveryRateAndCode) {
    for (uint32_t fscod = 0; fscod < 3; ++fscod) {
        for (uint32_t code = 0; code < 38; ++code) {
            Ac3Frame f;
            f.fscod = fscod;
            f.frmsizecod = code;
            BufferOn b(f.Build());
            CLegacyCoreFrameForDD parsed;
            ASSERT_TRUE(parsed.Parse(b.buffer)) << fscod << "/" << code;
            EXPECT_EQ(b.buffer.Tell(), 2 * int64_t{Ac3FrameWords(fscod, code)}) << fscod << "/" << code;
        }
    }
}

struct LegacyRefusal {
    const char* name;
    uint32_t fscod, frmsizecod, bsid;
    size_t cutTo;  // 0 keeps the whole frame
};

class LegacyRefusalTest : public ::testing::TestWithParam<LegacyRefusal> {};

TEST_P(LegacyRefusalTest, IsFalse) {
    const LegacyRefusal& r = GetParam();
    Ac3Frame f;
    f.fscod = r.fscod;
    f.frmsizecod = r.frmsizecod;
    f.bsid = r.bsid;
    f.lengthBytes = 400;
    std::vector<uint8_t> bytes = f.Build();
    if (r.cutTo != 0) bytes.resize(r.cutTo);
    BufferOn b(bytes);
    CLegacyCoreFrameForDD parsed;
    EXPECT_FALSE(parsed.Parse(b.buffer));
}

INSTANTIATE_TEST_SUITE_P(Frames, LegacyRefusalTest,
                         ::testing::Values(LegacyRefusal{"bsid9", 0, 28, 9, 0}, LegacyRefusal{"bsid31", 0, 28, 31, 0},
                                           LegacyRefusal{"fscod3", 3, 28, 8, 0},
                                           LegacyRefusal{"frmsizecod38", 0, 38, 8, 0},
                                           LegacyRefusal{"frmsizecod63", 2, 63, 8, 0},
                                           LegacyRefusal{"cutInBsi", 0, 28, 8, 6}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- E-AC-3 bsi ----

struct EnhancedCase {
    const char* name;
    Eac3Frame frame;
    uint8_t bsmod, dsurmod, frmsizecod;
};

Eac3Frame Enhanced(uint32_t strmtyp, uint32_t acmod, uint32_t lfeon) {
    Eac3Frame f;
    f.strmtyp = strmtyp;
    f.acmod = acmod;
    f.lfeon = lfeon;
    f.frmsiz = 511;
    return f;
}

// Frames exercising each optional group of the bsi; bsmod, dsurmod and frmsizecod as the parser keeps them.
std::vector<EnhancedCase> EnhancedCases() {
    const auto with = [](uint32_t strmtyp, uint32_t acmod, uint32_t lfeon, const std::function<void(Eac3Frame&)>& set) {
        Eac3Frame f = Enhanced(strmtyp, acmod, lfeon);
        if (set) set(f);
        return f;
    };
    return {
        {"plainStereo", with(0, 2, 0, nullptr), 0, 0, 0},
        {"stereoInformational", with(0, 2, 0, [](Eac3Frame& f) {
              f.infomdate = 1, f.bsmod = 7, f.dsurmod = 2, f.dheadphonmod = 3, f.copyrightb = 1,
              f.audprodie = 1, f.sourcefscod = 1, f.convsync = 1, f.numblkscod = 2;
         }), 7, 2, 0},
        {"fiveOneAllMetadata", with(0, 7, 1, [](Eac3Frame& f) {
              f.compre = 1, f.compr = 0xAA, f.mixmdate = 1, f.dmixmod = 3, f.ltrtcmixlev = 7, f.lorocmixlev = 7,
              f.ltrtsurmixlev = 7, f.lorosurmixlev = 7, f.lfemixlevcode = 1, f.lfemixlevcod = 31, f.pgmscle = 1,
              f.pgmscl = 63, f.extpgmscle = 1, f.extpgmscl = 63, f.mixdef = 3, f.mixdeflen = 4,
              f.frmmixcfginfoe = 1, f.blkmixcfginfoe = 1, f.infomdate = 1, f.bsmod = 5, f.dsurexmod = 3,
              f.addbsie = 1, f.addbsil = 10;
         }), 5, 0, 0},
        {"dualMonoOneBlock", with(0, 0, 0, [](Eac3Frame& f) {
              f.compr2e = 1, f.compr2 = 0x55, f.mixmdate = 1, f.pgmscl2e = 1, f.pgmscl2 = 1, f.mixdef = 2,
              f.mixdefBits = 0xFFF, f.paninfoe = 1, f.paninfo2e = 1, f.frmmixcfginfoe = 1, f.numblkscod = 0,
              f.infomdate = 1, f.bsmod = 3, f.audprodie = 1, f.audprodi2e = 1;
         }), 3, 0, 0},
        {"monoTwoBlocks", with(0, 1, 0, [](Eac3Frame& f) {
              f.mixmdate = 1, f.mixdef = 1, f.mixdefBits = 31, f.paninfoe = 1, f.frmmixcfginfoe = 1,
              f.numblkscod = 1, f.blkmixcfginfoe = 1, f.infomdate = 1, f.bsmod = 6;
         }), 6, 0, 0},
        {"dependentChannelMap", with(1, 6, 1, [](Eac3Frame& f) {
              f.substreamid = 3, f.chanmape = 1, f.chanmap = 0xA5C3, f.mixmdate = 1, f.dmixmod = 2,
              f.ltrtsurmixlev = 5, f.lfemixlevcode = 1, f.infomdate = 1, f.bsmod = 4, f.dsurexmod = 1;
         }), 4, 0, 0},
        {"convertedWithBlockId", with(2, 2, 0, [](Eac3Frame& f) {
              f.numblkscod = 1, f.blkid = 1, f.frmsizecod = 37, f.infomdate = 1, f.bsmod = 2, f.dsurmod = 1;
         }), 2, 1, 37},
        {"convertedSixBlocks", with(2, 3, 0, [](Eac3Frame& f) { f.frmsizecod = 21; }), 0, 0, 21},
        {"convertedNoBlockId", with(2, 3, 0, [](Eac3Frame& f) {
              f.numblkscod = 2, f.blkid = 0, f.frmsizecod = 21;
         }), 0, 0, 0},
        {"halfRateSixBlocks", with(0, 4, 0, [](Eac3Frame& f) {
              f.fscod = 3, f.fscod2 = 1, f.mixmdate = 1, f.frmmixcfginfoe = 1, f.blkmixcfginfoe = 1,
              f.infomdate = 1, f.bsmod = 1, f.addbsie = 1, f.addbsil = 0;
         }), 1, 0, 0},
    };
}

class EnhancedParseTest : public ::testing::TestWithParam<int> {};

TEST_P(EnhancedParseTest, KeepsFieldsAndEndsAfterTheFrame) {
    const EnhancedCase c = EnhancedCases()[static_cast<size_t>(GetParam())];
    Eac3Frame next = Enhanced(0, 2, 0);
    next.frmsiz = 99;
    next.acmod = 5;
    BufferOn b(JoinFrames({c.frame.Build(), next.Build()}));
    CEnhancedFrameForDD f;
    ASSERT_TRUE(f.Parse(b.buffer)) << c.name;
    const Eac3Frame& e = c.frame;
    EXPECT_EQ(f.frmsiz, e.frmsiz) << c.name;
    EXPECT_EQ(f.strmtyp, e.strmtyp) << c.name;
    EXPECT_EQ(f.substreamid, e.substreamid) << c.name;
    EXPECT_EQ(f.fscod, e.fscod) << c.name;
    EXPECT_EQ(f.acmod, e.acmod) << c.name;
    EXPECT_EQ(f.lfeon, e.lfeon) << c.name;
    EXPECT_EQ(f.bsid, 16) << c.name;
    EXPECT_EQ(f.compre, e.compre) << c.name;
    EXPECT_EQ(f.chanmape, e.chanmape) << c.name;
    EXPECT_EQ(f.chanmap, e.chanmape ? e.chanmap : 0u) << c.name;
    EXPECT_EQ(f.bsmod, c.bsmod) << c.name;
    EXPECT_EQ(f.dsurmod, c.dsurmod) << c.name;
    EXPECT_EQ(f.frmsizecod, c.frmsizecod) << c.name;
    EXPECT_EQ(b.buffer.Tell(), 2 * int64_t{e.frmsiz} + 2) << c.name;
    CEnhancedFrameForDD second;
    ASSERT_TRUE(second.Parse(b.buffer));
    EXPECT_EQ(second.frmsiz, 99);
    EXPECT_EQ(second.acmod, 5);
}

INSTANTIATE_TEST_SUITE_P(Layouts, EnhancedParseTest, ::testing::Range(0, 10));

TEST(EnhancedParse, DataCutOffInsideTheBsiIsFalse) {
    Eac3Frame f = Enhanced(0, 2, 0);
    f.addbsie = 1;
    f.addbsil = 63;  // 64 bytes of additional bsi
    f.pad = false;
    std::vector<uint8_t> bytes = f.Build();
    bytes.resize(bytes.size() - 2);
    BufferOn b(bytes);
    CEnhancedFrameForDD parsed;
    EXPECT_FALSE(parsed.Parse(b.buffer));
}

TEST(EnhancedParse, FrameWholeInsideTheBsiButPayloadMissingIsTrue) {
    Eac3Frame f = Enhanced(0, 2, 0);
    f.pad = false;
    BufferOn b(f.Build());
    CEnhancedFrameForDD parsed;
    EXPECT_TRUE(parsed.Parse(b.buffer));
}

}  // namespace
