// The kind probers over streams built field by field and the bundled samples: one row per stream,
// the probe line expected for it.
#include <gtest/gtest.h>

#include "KindProbe.h"
#include "support/Ac3Builder.h"
#include "support/DraBuilder.h"
#include "support/DtsBuilder.h"
#include "support/GraphicsBuilder.h"
#include "support/LpcmBuilder.h"
#include "support/MlpBuilder.h"
#include "support/Mpeg2Builder.h"
#include "support/TempDir.h"

namespace {

using Bytes = std::vector<uint8_t>;
namespace gfx = kiv_test::gfx;
using kiv_test::DtsCore, kiv_test::DtsExt;
using kiv_test::JoinUnits;  // units in a row, repeated, cut

Bytes Sample(const std::string& name) { return kiv_test::TempDir::Read(KIV_SAMPLES_DIR "/" + name); }

Bytes Mpeg2Head(uint8_t frameRateCode) {
    return JoinUnits({kiv_test::Mpeg2Builder().SequenceHeader(720, 480, 2, frameRateCode).Bytes(), Bytes(64)}, 1, 64);
}

// MLP access units or DRA frames in a row.
template <class Unit>
Bytes Units(const std::vector<Unit>& units) {
    Bytes out;
    for (const Unit& u : units) u.AppendTo(out);
    return out;
}

Bytes Lpcm(uint16_t payload, int frames, uint8_t lastChannels = 3) {
    kiv_test::LpcmBuilder b;
    for (int i = 0; i < frames; ++i) b.Codes({i + 1 < frames ? uint8_t{3} : lastChannels, 1, 1, 0}).Frame(payload);
    return b.Take();
}

// Both a chain of LPCM frames and a chain of PG display sets (PCS, ODS, END in every frame).
Bytes LpcmAndPg() {
    Bytes frame = {0x16, 0x00, 0x31, 0x40};
    frame.resize(52, 0);
    gfx::Append(frame, gfx::Segment(0x15, Bytes(5578, 0)));
    return JoinUnits({gfx::Append(frame, gfx::End())}, 3);
}

Bytes Random() {
    Bytes b(100000);
    for (uint32_t i = 0, x = 12345; i < b.size(); ++i) b[i] = static_cast<uint8_t>((x = x * 1103515245u + 12345u) >> 16);
    return b;
}

struct ProbeCase {
    const char* name;
    Bytes stream;
    std::string line;  // after "F: "
};

class KindProbe : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(KindProbe, PrintsKindAndWhy) {
    kiv_test::TempDir dir;
    const std::string path = dir.Write("F", GetParam().stream);
    EXPECT_EQ("F: " + GetParam().line, kivtool::ProbeLine("F", kivtool::ProbeStream(path)));
}

const char kUnknown[] = "unknown (no sync word or header of a known kind in its first bytes)";
std::string LpcmWhy(const std::string& payload) {
    return "3 frame headers alike: payload " + payload + " bytes, channel_assignment 3, sampling_frequency 1, bits_per_sample 1";
}

using Mlp = kiv_test::MlpUnit;
using Dra = kiv_test::DraFrame;

INSTANTIATE_TEST_SUITE_P(Streams, KindProbe, ::testing::Values(
    ProbeCase{"Mpeg2", Mpeg2Head(4), "mpeg2 (sequence header at byte 0, 720x480, frame_rate_code 4)"},
    ProbeCase{"Mpeg2BadFrameRate", Mpeg2Head(9), kUnknown},
    ProbeCase{"Mpeg2Sample", Sample("testsrc_480p_23.976.m2v"), "mpeg2 (sequence header at byte 0, 720x480, frame_rate_code 1)"},
    ProbeCase{"Avc", {0, 0, 0, 1, 9, 0xF0, 0, 0, 1, 0x67, 100, 0, 0x1F, 0, 0, 1, 0x68, 0xEE, 0, 0, 1, 0x65},
              "avc (byte stream with NAL unit types 9, 7, 8, 5, SPS profile_idc 100)"},
    ProbeCase{"MvcDependentView", {0, 0, 1, 0x18, 0, 0, 1, 0x6F, 128, 0, 0x28, 0, 0, 1, 0x68, 0xEE, 0, 0, 1, 0x74},
              "avc (MVC dependent view: NAL unit types 24, 15, 8, 20, subset SPS profile_idc 128)"},
    ProbeCase{"AvcWithoutPps", {0, 0, 1, 0x67, 100, 0, 0x1F, 0, 0, 1, 0x65, 0x88}, kUnknown},
    ProbeCase{"AvcUnknownProfile", {0, 0, 1, 0x67, 99, 0, 0x1F, 0, 0, 1, 0x68, 0xEE}, kUnknown},
    ProbeCase{"Vc1", {0, 0, 1, 0x0F, 0xCA, 0x80, 0, 0, 1, 0x1F, 7, 0, 0, 1, 0x0E, 0x48, 0, 0, 1, 0x0D},
              "vc1 (advanced-profile sequence header (level 1), entry-point header at byte 11)"},
    ProbeCase{"Vc1MainProfile", {0, 0, 1, 0x0F, 0x4A, 0x80, 0, 0, 1, 0x0E, 0x48}, kUnknown},
    ProbeCase{"Vc1PictureBeforeEntryPoint", {0, 0, 1, 0x0F, 0xCA, 0, 0, 1, 0x0D, 0, 0, 1, 0x0E}, kUnknown},
    ProbeCase{"Lpcm", Lpcm(960, 3), "lpcm (" + LpcmWhy("960") + ")"},
    ProbeCase{"LpcmLastHeaderDiffers", Lpcm(960, 3, 1), kUnknown},
    // The third frame starts past the first 64 KiB: its header is read from the file.
    ProbeCase{"LpcmUnitPastTheHeadDiffers", Lpcm(65000, 3, 1), kUnknown},
    ProbeCase{"LpcmUnitPastTheHead", Lpcm(65000, 3), "lpcm (" + LpcmWhy("65000") + ")"},
    ProbeCase{"Ac3Sample", Sample("sine_48k_stereo_192k.ac3"), "ac3 (AC-3 sync frames (0x0B77), 32 in a row)"},
    ProbeCase{"Eac3Sample", Sample("sine_48k_5.1_256k.eac3"), "ac3 (E-AC-3 sync frames (0x0B77), 32 in a row)"},
    ProbeCase{"Ac3TwoFramesCut", JoinUnits({kiv_test::Ac3Frame{}.Build()}, 3), "ac3 (AC-3 sync frames (0x0B77), 3 in a row)"},
    ProbeCase{"Ac3LoneFrameCut", JoinUnits({kiv_test::Ac3Frame{}.Build()}, 1, 700), kUnknown},
    ProbeCase{"DtsCore", JoinUnits({DtsCore()}, 3), "dts (core frames (0x7FFE8001), 3 in a row)"},
    ProbeCase{"DtsCoreAndSubstream", JoinUnits({DtsCore(), DtsExt()}, 2),
              "dts (core frames (0x7FFE8001) and extension substreams (0x64582025), 4 in a row)"},
    ProbeCase{"DtsWideSubstreams", JoinUnits({DtsExt(70000, 0, 2, 8, [](kiv_test::DtsExtensionSubstream& x) { x.headerSizeType = 1; })}, 2),
              "dts (extension substreams (0x64582025), 2 in a row)"},
    ProbeCase{"DtsHdHeader", {'D', 'T', 'S', 'H', 'D', 'H', 'D', 'R', 0, 0}, "dts (DTS-HD file with a metadata header (DTSHDHDR))"},
    ProbeCase{"DtsCoreTooShort", JoinUnits({DtsCore(9, 1, 13, 0, 0, 50)}, 3), kUnknown},
    ProbeCase{"Mlp", Units<Mlp>({{}, {0, false}, {0, false}, {0, false}}), "mlp (major sync (0xF8726FBA) at byte 4, 4 access units in a row)"},
    ProbeCase{"MlpWithoutMajorSync", Units<Mlp>({{0, false}, {0, false}}), kUnknown},
    ProbeCase{"Dra", Units<Dra>({{}, {}, {}}), "dra (frames (0x7FFF) each as long as its header says, 3 in a row)"},
    ProbeCase{"DraLengthMisses", JoinUnits({Units<Dra>({{}}), {0}, Units<Dra>({{}, {}})}), kUnknown},
    ProbeCase{"PgSample", Sample("pg_sample.pgs"), "pg (17 segments in a row, PCS first)"},
    ProbeCase{"Ig", JoinUnits({gfx::Ics{}.Build(), gfx::End()}, 2), "ig (4 segments in a row, ICS first)"},
    ProbeCase{"IgWithWindow", JoinUnits({gfx::Ics{}.Build(), gfx::Segment(0x17, {0})}), kUnknown},
    ProbeCase{"LpcmOrPg", LpcmAndPg(), "lpcm or pg? (lpcm: " + LpcmWhy("5632") + "; pg: 9 segments in a row, PCS first)"},
    ProbeCase{"Random", Random(), kUnknown},
    ProbeCase{"Empty", {}, kUnknown}),
    [](const ::testing::TestParamInfo<ProbeCase>& info) { return std::string(info.param.name); });

// A command without --type takes the one kind found, and otherwise says which kinds fit.
TEST(KindProbe, ResolveKindNamesTheCandidates) {
    kiv_test::TempDir dir;
    const std::string path = dir.Write("F", LpcmAndPg());
    int type = 0;
    std::string reason;
    EXPECT_FALSE(kivtool::ResolveKind(0, path, type, reason));
    EXPECT_EQ("cannot tell the stream kind of '" + path + "': it could be lpcm or pg; give --type", reason);
    EXPECT_TRUE(kivtool::ResolveKind(9, path, type, reason));
    EXPECT_EQ(9, type);
}

}  // namespace
