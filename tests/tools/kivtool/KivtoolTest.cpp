// kivtool as a program (exit status and texts, create/info/probe/dump/batch, the progress bar on a
// terminal), its argument parsers, and the kind probers over streams built field by field and the bundled
// samples.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <regex>

#include "CProgressNotice.h"
#include "EsTypeArgument.h"
#include "KindProbe.h"
#include "kiv/CKiv.h"
#include "kiv/CKivFactory.h"
#include "kiv/CKivItem.h"
#include "support/Ac3Builder.h"
#include "support/DraBuilder.h"
#include "support/DtsBuilder.h"
#include "support/GraphicsBuilder.h"
#include "support/LpcmBuilder.h"
#include "support/MlpBuilder.h"
#include "support/Mpeg2Builder.h"
#include "support/ProcessRunner.h"

namespace {

using Bytes = std::vector<uint8_t>;
namespace gfx = kiv_test::gfx;
using kiv_test::DtsCore, kiv_test::DtsExt;
using kiv_test::JoinUnits;  // units in a row, repeated, cut
using kiv_test::TempDir;
using kiv_test::ProcessRun;

Bytes Sample(const std::string& name) { return TempDir::Read(KIV_SAMPLES_DIR "/" + name); }

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

struct ProbeCase { const char* name; Bytes stream; std::string line; };  // line: the probe line after "F: "

class KindProbe : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(KindProbe, PrintsKindAndWhy) {
    TempDir dir;
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

const std::string kLpcm = KIV_SAMPLES_DIR "/sine_48k_24bit_6ch.lpcm", kAc3 = KIV_SAMPLES_DIR "/sine_48k_stereo_192k.ac3";

// "@@" stands for the scratch folder, "@" for the folder and a separator.
std::string At(const TempDir& dir, const std::string& s) {
    return std::regex_replace(std::regex_replace(s, std::regex("@@"), dir.Path()), std::regex("@"), dir.Path() + "/");
}

ProcessRun Kivtool(const TempDir& dir, std::vector<std::string> args) {
    for (std::string& a : args) a = At(dir, a);
    return kiv_test::RunProcess(KIVTOOL_PATH, args);
}

using Fields = std::vector<std::pair<uint64_t, uint64_t>>;  // member id, value

// Writes the items with the writer of kiv_file_type `type`.
void Write(const std::string& path, uint32_t type, const std::vector<Fields>& items) {
    const auto kiv = ts_comp::kiv::CKivFactory::MakeKiv(type);
    const auto item = ts_comp::kiv::CKivFactory::MakeItem(type);
    EXPECT_TRUE(kiv->Create(path.c_str()));
    for (const Fields& fields : items) {
        for (const auto& [id, value] : fields) item->SetValue(id, value);
        EXPECT_TRUE(kiv->WriteItem(*item));
    }
    kiv->Close();
}

// Random bytes, a stream that LPCM and PG both fit, a byte-swapped AC-3 stream, a folder, KIV files good and bad.
void MakeInputs(const TempDir& dir) {
    const auto audioHeaderAnd = [](size_t payload, uint8_t fill) { std::vector<uint8_t> b{0, 0, 0, 2}; b.resize(4 + payload, fill); return b; };
    dir.Write("noise.bin", Random());
    dir.Write("lpcmpg", LpcmAndPg());
    dir.Write("swapped.ac3", kiv_test::SwapWords(TempDir::Read(kAc3)));
    std::filesystem::create_directory(dir.File("folder"));
    Write(dir.File("audio.kiv"), 2, {{{0, 0}, {1, 964}, {2, 90000}, {3, 90000}}, {{0, 255}, {1, 0}, {2, 0}, {3, 90450}}});
    Write(dir.File("video.kiv"), 1, {{{0, 1}, {1, 1000}, {2, 3003}, {3, 6006}, {6, 1}, {7, 3}},
                                     {{0, 3}, {1, 20}, {2, 6006}, {3, (uint64_t{1} << 33) - 1}, {6, 0}, {7, 1}, {5, 1}}});
    Write(dir.File("mvc.kiv"), 5, {{{0, 2}, {1, 777}, {9, 0x12345678}, {10, 0xFFFFFFFF}}});
    Write(dir.File("graphics.kiv"), 3, {{{0, 0x16}, {1, 30}, {2, 100}, {3, 200}, {5, 2}}, {{0, 255}, {1, 0}, {3, 9000}, {5, 0}, {6, 1}, {7, 1}}});
    Write(dir.File("empty.kiv"), 3, {});
    dir.Write("ff.kiv", audioHeaderAnd(14, 0xFF));
    dir.Write("cut.kiv", audioHeaderAnd(14 * 3 + 5, 0xAB));
    dir.Write("part.kiv", audioHeaderAnd(13, 0xAB));
    dir.Write("0.kiv", {});
    dir.Write("3.kiv", {0, 0, 0});
    dir.Write("type4.kiv", {0, 0, 0, 4, 1, 2});
    dir.Write("xml.kiv", {'<', '?', 'x', 'm', 'l'});
}

// The whole of stderr and stdout, or their first lines for the usage texts (status 2, --help).
struct ToolCase { std::vector<std::string> args; int status; std::string err, out = {}; };

class KivtoolRun : public ::testing::TestWithParam<ToolCase> {};

TEST_P(KivtoolRun, ExitStatusAndTexts) {
    TempDir dir;
    MakeInputs(dir);
    const ToolCase& c = GetParam();
    const ProcessRun r = Kivtool(dir, c.args);
    const bool usage = c.status == 2 || c.args == std::vector<std::string>{"--help"};
    const auto head = [usage](const std::string& text) { return usage ? text.substr(0, text.find('\n') + 1) : text; };
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(head(r.err), At(dir, c.err));
    EXPECT_EQ(head(r.out), At(dir, c.out));
    EXPECT_TRUE(c.status != 2 || r.err.find("usage: kivtool create") != std::string::npos) << r.err;
}

const std::string kCannotTell = "cannot tell the stream kind of '@noise.bin' from its first bytes; give --type\n";
const char kSwapped[] = ": ac3 (AC-3 sync frames in swapped byte order (0x770B), 32 in a row: the stream's bytes are swapped in pairs)\n";

const std::string kKnownTypes = " (known: 1 video, 2 audio, 3 graphics, 5 MVC dependent view)\n";
const char kAudioText[] = "kiv_file_type : 2 (audio)\nitem_size : 14\nitem_count : 2\n"
    "item 0 : enc_item_type=0 enc_item_size=964 dts=90000 pts=90000 reserved1=0\n"
    "item 1 : enc_item_type=255 enc_item_size=0 dts=0 pts=90450 reserved1=0\n";

INSTANTIATE_TEST_SUITE_P(All, KivtoolRun, ::testing::Values(
    ToolCase{{}, 2, "kivtool: missing command\n"},
    ToolCase{{"frobnicate"}, 2, "kivtool: unknown command 'frobnicate'\n"},
    ToolCase{{"create", "--type", "aac", "a", "b"}, 2, "kivtool: unknown stream type 'aac'\n"},
    ToolCase{{"create", "--type", "lpcm", "a"}, 2, "kivtool: expected ES_FILE KIV_FILE\n"},
    ToolCase{{"create", "a", "b", "--type"}, 2, "kivtool: option '--type' needs a value\n"},
    ToolCase{{"create", "--type=4", "--start-pts", "1,,2", "a", "b"}, 2, "kivtool: bad --start-pts value '1,,2' (0 to 4294967295)\n"},
    ToolCase{{"create", "--type=4", "--quiet=yes", "a", "b"}, 2, "kivtool: unknown option '--quiet=yes'\n"},
    ToolCase{{"info", "--type", "lpcm", "--xml", "--report", "x"}, 2, "kivtool: --xml and --report exclude each other\n"},
    ToolCase{{"create", "@noise.bin", "@o.kiv"}, 2, "kivtool: " + kCannotTell},
    ToolCase{{"create", "@lpcmpg", "@o.kiv"}, 2, "kivtool: cannot tell the stream kind of '@lpcmpg': it could be lpcm or pg; give --type\n"},
    ToolCase{{"info", "/nonexistent/x"}, 2, "kivtool: cannot open '/nonexistent/x': No such file or directory\n"},
    ToolCase{{"create", kLpcm, "/nonexistent/a.kiv"}, 2, "kivtool: cannot write /nonexistent/a.kiv: folder /nonexistent does not exist\n"},
    ToolCase{{"create", "--xml", "/nonexistent/a.xml", kLpcm, "@a.kiv"}, 2, "kivtool: cannot write /nonexistent/a.xml: folder /nonexistent does not exist\n"},
    ToolCase{{"create", "--start-pts", "1,2", kLpcm, "@a.kiv"}, 2, "kivtool: lpcm takes exactly one --start-pts value, 2 given\n"},
    ToolCase{{"probe"}, 2, "kivtool: expected ES_FILE...\n"},
    ToolCase{{"dump"}, 2, "kivtool: expected KIV_FILE\n"},
    ToolCase{{"dump", "--format"}, 2, "kivtool: option '--format' needs a value\n"},
    ToolCase{{"dump", "--format=", "a"}, 2, "kivtool: unknown format '' (text, csv or json)\n"},
    ToolCase{{"dump", "--colour", "a"}, 2, "kivtool: unknown option '--colour'\n"},
    ToolCase{{"batch", "--jobs", "0", kLpcm}, 2, "kivtool: bad --jobs value '0' (1 to 256)\n"},
    ToolCase{{"batch", "--out-dir", "@@", kLpcm, "@a/sine_48k_24bit_6ch.pcm"}, 2, "kivtool: two files would both be written to @sine_48k_24bit_6ch.kiv\n"},
    ToolCase{{"batch", "--out-dir", "/nonexistent", kLpcm}, 2, "kivtool: cannot write /nonexistent/sine_48k_24bit_6ch: folder /nonexistent does not exist\n"},
    ToolCase{{"create", "--type", "lpcm", "/nonexistent/x.lpcm", "@o.kiv"}, 1, "kivtool: File can not open.(/nonexistent/x.lpcm)\n"},
    ToolCase{{"create", "@swapped.ac3", "@o.kiv"}, 1, "kivtool: An endian of es is inverse.\n"},
    ToolCase{{"create", "--type", "ac3", kLpcm, "@o.kiv"}, 1, "kivtool: The es attribute is invalid.(parse error)\n"},  // the type given wins
    // The LPCM analyser gives no text when its KIV file cannot be created (here: a folder).
    ToolCase{{"create", kLpcm, "@folder"}, 1, "kivtool: the stream could not be indexed (the library gave no reason); kind lpcm, file " + kLpcm + "\n"},
    ToolCase{{"--help"}, 0, "", "usage: kivtool create [--type TYPE] [--start-pts N]... [--temp-dir DIR] [--xml FILE] [--report FILE|-]\n"},
    ToolCase{{"--version"}, 0, "", "kivtool 1.0.0\n"},
    ToolCase{{"probe", kAc3, "@swapped.ac3", "@noise.bin", "/nonexistent/x"}, 1, "",
             kAc3 + ": ac3 (AC-3 sync frames (0x0B77), 32 in a row)\n@swapped.ac3" + kSwapped + "@noise.bin: unknown (no sync word "
             "or header of a known kind in its first bytes)\n/nonexistent/x: unknown (cannot open: No such file or directory)\n"},
    ToolCase{{"dump", "@audio.kiv"}, 0, "", kAudioText},
    ToolCase{{"dump", "--format=text", "@audio.kiv"}, 0, "", kAudioText},
    ToolCase{{"dump", "--format=csv", "@video.kiv"}, 0, "", "kiv_file_type,index,enc_item_type,enc_item_size,dts,pts,reserved1,"
             "sequence_end_code,closed_gop,picture_structure,reserved2\n1,0,1,1000,3003,6006,0,0,1,3,0\n1,1,3,20,6006,8589934591,0,1,0,1,0\n"},
    ToolCase{{"dump", "--format=csv", "@mvc.kiv"}, 0, "", "kiv_file_type,index,enc_item_type,enc_item_size,dts,pts,reserved1,sequence_end_code,"
             "closed_gop,picture_structure,reserved2,offset_metadata_pos,offset_metadata_size\n5,0,2,777,0,0,0,0,0,0,0,305419896,4294967295\n"},
    ToolCase{{"dump", "--format=json", "@graphics.kiv"}, 0, "", "{\n  \"kiv_file_type\": 3,\n  \"type_name\": \"graphics\",\n  \"item_size\": 15,"
             "\n  \"item_count\": 2,\n  \"items\": [\n    {\"index\": 0, \"enc_item_type\": 22, \"enc_item_size\": 30, \"dts\": 100, \"pts\": 200, "
             "\"reserved1\": 0, \"enc_sub_item_type\": 2, \"first_in_sequence_flag\": 0, \"last_in_sequence_flag\": 0, \"reserved2\": 0},\n    "
             "{\"index\": 1, \"enc_item_type\": 255, \"enc_item_size\": 0, \"dts\": 100, \"pts\": 9000, \"reserved1\": 0, \"enc_sub_item_type\": 0, "
             "\"first_in_sequence_flag\": 1, \"last_in_sequence_flag\": 1, \"reserved2\": 0}\n  ]\n}\n"},
    ToolCase{{"dump", "--format=json", "@empty.kiv"}, 0, "", "{\n  \"kiv_file_type\": 3,\n  \"type_name\": \"graphics\",\n  \"item_size\": 15,"
             "\n  \"item_count\": 0,\n  \"items\": []\n}\n"},
    ToolCase{{"dump", "--format=csv", "@ff.kiv"}, 0, "",
             "kiv_file_type,index,enc_item_type,enc_item_size,dts,pts,reserved1\n2,0,255,4294967295,8589934591,8589934591,63\n"},
    ToolCase{{"dump", "@none.kiv"}, 1, "kivtool: @none.kiv: cannot open: No such file or directory\n"},
    ToolCase{{"dump", "--format=json", "@folder"}, 1, "kivtool: @folder: cannot open: Is a directory\n"},
    ToolCase{{"dump", "--format=json", "@0.kiv"}, 1, "kivtool: @0.kiv: not a KIV file: 0 bytes, shorter than the 4-byte kiv_file_type\n"},
    ToolCase{{"dump", "@3.kiv"}, 1, "kivtool: @3.kiv: not a KIV file: 3 bytes, shorter than the 4-byte kiv_file_type\n"},
    ToolCase{{"dump", "@type4.kiv"}, 1, "kivtool: @type4.kiv: unknown kiv_file_type 4" + kKnownTypes},
    ToolCase{{"dump", "--format=json", "@xml.kiv"}, 1, "kivtool: @xml.kiv: unknown kiv_file_type 1010792557" + kKnownTypes},
    ToolCase{{"dump", "--format=json", "@cut.kiv"}, 1, "kivtool: @cut.kiv: truncated last item: 5 bytes after 3 whole items of 14 bytes\n"},
    ToolCase{{"dump", "--format=csv", "@part.kiv"}, 1, "kivtool: @part.kiv: truncated last item: 13 bytes after 0 whole items of 14 bytes\n"}));

TEST(Kivtool, CreateSummaryTextsAndRoundTrip) {
    TempDir dir;
    ProcessRun r = Kivtool(dir, {"create", "--start-pts", "90000", "--xml", "@a.xml", "--report", "@a.txt", kLpcm, "@a.kiv"});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_TRUE(std::regex_match(r.err, std::regex("kivtool: lpcm: 50 units, 216200 bytes in [0-9]+\\.[0-9]{3} s \\([0-9]+\\.[0-9] "
                                                   "MB/s\\) -> " + dir.File("a.kiv") + "\n"))) << r.err;
    r = Kivtool(dir, {"dump", "--format", "csv", "@a.kiv"});
    EXPECT_NE(r.out.find("\n2,0,0,4324,90000,90000,0\n2,1,0,4324,90450,90450,0\n"), std::string::npos) << r.out;
    EXPECT_EQ(TempDir::Text(dir.File("a.xml")), Kivtool(dir, {"info", "--xml", kLpcm}).out);
    const ProcessRun report = Kivtool(dir, {"info", "--type", "4", kLpcm});
    EXPECT_EQ(TempDir::Text(dir.File("a.txt")), report.out);
    r = Kivtool(dir, {"create", "--quiet", "--type=lpcm", "--temp-dir", "@@", "--report", "-", kLpcm, "@b.kiv"});
    EXPECT_EQ(report.out, r.out);
    EXPECT_EQ("", r.err);
}

// Every sample kivtool can tell, in one batch of two jobs next to two failing files; each output equals
// what create without --type writes for the file alone (lpcm, mlp and dra take the first start value),
// and the texts of create and info those of the whole pass beside the sample.
TEST(Kivtool, BatchMatchesCreateFileByFile) {
    TempDir dir;
    MakeInputs(dir);
    const std::string starts = "900000,990000,1080000,1170000,1260000,1350000,1440000,1530000";
    std::vector<std::string> batch = {"batch", "--jobs", "2", "--out-dir", "@@", "--start-pts", starts};
    std::vector<std::pair<std::filesystem::path, std::string>> samples;  // path, kind
    for (const auto& entry : std::filesystem::directory_iterator(KIV_SAMPLES_DIR)) {
        const std::string path = entry.path().string();
        const std::string out = Kivtool(dir, {"probe", path}).out, kind = out.substr(path.size() + 2, out.find(' ', path.size() + 2) - path.size() - 2);
        if (kind != "unknown") batch.push_back(path), samples.push_back({entry.path(), kind});
    }
    ASSERT_GE(samples.size(), 10u);
    batch.insert(batch.end(), {"@noise.bin", "@swapped.ac3"});
    const ProcessRun r = Kivtool(dir, batch);
    EXPECT_EQ(1, r.status);
    EXPECT_NE(r.out.find(At(dir, "@noise.bin: FAILED: " + kCannotTell)), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(dir.File("swapped.ac3") + ": FAILED: An endian of es is inverse.\n"), std::string::npos);
    EXPECT_NE(r.out.find("batch: " + std::to_string(samples.size()) + " indexed, 2 failed, "), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(dir.File("swapped.kiv")) || std::filesystem::exists(dir.File("swapped.kiv.part")));
    for (const auto& [path, kind] : samples) {
        const bool one = kind == "lpcm" || kind == "mlp" || kind == "dra";
        const ProcessRun create = Kivtool(dir, {"create", "--quiet", "--start-pts", one ? "900000" : starts, "--xml", "@x.xml",
                                                "--report", "@x.txt", path.string(), "@x.kiv"});
        ASSERT_EQ(0, create.status) << path << create.err;
        EXPECT_NE(r.out.find(path.string() + ": " + kind + ": "), std::string::npos) << path;
        for (const std::string ext : {".kiv", ".xml", ".txt"}) {
            const std::string made = TempDir::Text(dir.File("x" + ext));
            EXPECT_EQ(made, TempDir::Text(dir.File(path.stem().string() + ext))) << path << ext;
            if (ext != ".kiv") {
                EXPECT_EQ(made, TempDir::Text((path.parent_path() / path.stem()).string() + ext)) << path << ext;
            }
        }
        EXPECT_EQ(Kivtool(dir, {"info", "--xml", path.string()}).out, TempDir::Text(dir.File("x.xml"))) << path;
    }
}

TEST(KivtoolArguments, TypesAndStartLists) {
    const std::pair<const char*, int> types[] = {{"mpeg2", 1}, {"vc1", 3}, {"ig", 10}, {"1", 1}, {"10", 10}, {"0", 0}, {"11", 0},
        {"", 0}, {"-1", 0}, {"+4", 0}, {"LPCM", 0}, {"4x", 0}, {" 4", 0}, {"mpeg", 0}};
    for (const auto& [text, expected] : types) {
        int type = 0;
        EXPECT_EQ(kivtool::ParseEsType(text, type), expected != 0) << text;
        EXPECT_EQ(type, expected) << text;
    }
    // Good lists are appended whole; a bad element leaves the list as it was.
    const std::pair<std::string, std::vector<uint32_t>> lists[] = {{"4294967295", {7, 4294967295u}}, {"1,2,3", {7, 1, 2, 3}},
        {"00000000000000000012", {7, 12}}, {"4294967296", {7}}, {"99999999999999999999999", {7}}, {"", {7}}, {",", {7}},
        {"1,", {7}}, {",1", {7}}, {"1, 2", {7}}, {"0x10", {7}}, {"-5", {7}},
        // Long lists: values of 1 to 10 digits, cut by each kind of character next to the digits.
        {"1,22,333,4444,55555,666666,7777777,87654321,198765432,4294967295,0,1000000000,4294967295",
            {7, 1, 22, 333, 4444, 55555, 666666, 7777777, 87654321, 198765432, 4294967295u, 0, 1000000000, 4294967295u}},
        {"00000000001,000000000000000000004294967295,00000000,1", {7, 1, 4294967295u, 0, 1}},
        {"12345678,4294967296,1,2,3,4", {7}}, {"9999999999,1,2,3,4,5,6,7", {7}}, {"1234567:,1,2,3,4,5,6,7,8", {7}},
        {"12345678/1,2,3,4,5,6,7", {7}}, {"1234567\xb9,1,2,3,4,5,6,7", {7}}, {"12345678\xb0,1,2,3,4,5,6", {7}},
        {std::string("1234567\0,1,2,3,4,5,6", 20), {7}}, {"123456789012345678,1", {7}}};
    for (const auto& [text, expected] : lists) {
        std::vector<uint32_t> list = {7};
        EXPECT_EQ(kivtool::ParseStartPtsList(text, list), expected.size() > 1) << text;
        EXPECT_EQ(list, expected) << text;
    }
}

TEST(ProgressNotice, LineAndInterrupt) {
    const struct { int64_t done, total; double seconds; const char* line; } lines[] = {
        {50000000, 100000000, 1.0, "[###############               ]  50%     50.0 MB/s 0:00:01 left"},
        {100000000, 100000000, 1.0, "[##############################] 100%    100.0 MB/s 0:00:00 left"},
        {0, 100000000, 0.0, "[                              ]   0%      0.0 MB/s --:--:-- left"},
        {6000000, 600000000, 6.0, "[                              ]   1%      1.0 MB/s 0:09:54 left"}};
    for (const auto& l : lines) EXPECT_EQ(kivtool::CProgressNotice::FormatLine(l.done, l.total, l.seconds), l.line);
    {  // One SIGINT aborts every notice that follows interrupts; others run on.
        kivtool::CProgressNotice caught(-1, false), follower(-1, false), deaf(-1, false);
        caught.CatchInterrupt();
        follower.FollowInterrupts();
        EXPECT_FALSE(caught.IsAborted());
        ASSERT_EQ(0, raise(SIGINT));
        EXPECT_TRUE(caught.IsAborted() && follower.IsAborted());
        EXPECT_FALSE(deaf.IsAborted());
    }
    struct sigaction current {};
    ASSERT_EQ(0, sigaction(SIGINT, nullptr, &current));
    EXPECT_EQ(SIG_DFL, current.sa_handler);
}

TEST(Kivtool, ProgressBarOnlyOnATerminal) {
    if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "script(1) is not installed";
    TempDir dir;
    const std::string create = std::string(KIVTOOL_PATH) + " create " + kLpcm + " ";
    const ProcessRun bar = kiv_test::RunProcess("/usr/bin/env", {"script", "-qec", create + dir.File("c.kiv"), "/dev/null"});
    ASSERT_EQ(0, bar.status) << bar.out;
    EXPECT_NE(bar.out.find("100%"), std::string::npos) << bar.out;
    EXPECT_NE(bar.out.find("left"), std::string::npos) << bar.out;
    const ProcessRun quiet = kiv_test::RunProcess("/usr/bin/env", {"script", "-qec", create + "--quiet " + dir.File("d.kiv"), "/dev/null"});
    EXPECT_EQ("", quiet.out);
    EXPECT_EQ(TempDir::Text(dir.File("c.kiv")), TempDir::Text(dir.File("d.kiv")));
}

}  // namespace
