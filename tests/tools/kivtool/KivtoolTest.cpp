// kivtool as a program (exit status and texts, create/info/probe/batch on the bundled samples, the
// progress bar on a terminal) and its argument parsers.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <regex>

#include "CProgressNotice.h"
#include "EsTypeArgument.h"
#include "support/Ac3Builder.h"
#include "support/AvcBuilder.h"
#include "support/ProcessRunner.h"

namespace {

using kiv_test::TempDir;
using kiv_test::ProcessRun;

std::string Slurp(const std::string& path) {
    const std::vector<uint8_t> bytes = TempDir::Read(path);
    return std::string(bytes.begin(), bytes.end());
}

std::string Sample(const std::string& name) {
    const char* root = std::getenv("KIV_SOURCE_DIR");
    return std::string(root == nullptr ? "." : root) + "/samples/" + name;
}

const std::string kLpcm = Sample("sine_48k_24bit_6ch.lpcm"), kAc3 = Sample("sine_48k_stereo_192k.ac3");

// "@@" stands for the scratch folder, "@" for the folder and a separator.
std::string At(const TempDir& dir, const std::string& s) {
    return std::regex_replace(std::regex_replace(s, std::regex("@@"), dir.Path()), std::regex("@"), dir.Path() + "/");
}

ProcessRun Kivtool(const TempDir& dir, std::vector<std::string> args) {
    for (std::string& a : args) a = At(dir, a);
    return kiv_test::Kivtool(args);
}

// Random bytes, a byte-swapped AC-3 stream, a folder.
void MakeInputs(const TempDir& dir) {
    std::vector<uint8_t> noise(4096);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 7919 % 251);
    dir.Write("noise.bin", noise);
    dir.Write("swapped.ac3", kiv_test::SwapWords(TempDir::Read(kAc3)));
    std::filesystem::create_directory(dir.File("folder"));
}

// err: the whole of stderr (for usage errors its first line); out: how stdout starts ("": it is empty).
struct ToolCase {
    std::vector<std::string> args;
    int status;
    std::string err, out = {};
};

class KivtoolRun : public ::testing::TestWithParam<ToolCase> {};

TEST_P(KivtoolRun, ExitStatusAndTexts) {
    TempDir dir;
    MakeInputs(dir);
    const ToolCase& c = GetParam();
    const ProcessRun r = Kivtool(dir, c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(c.status == 2 ? r.err.substr(0, r.err.find('\n') + 1) : r.err, At(dir, c.err));
    EXPECT_TRUE(c.status != 2 || r.err.find("usage: kivtool create") != std::string::npos) << r.err;
    const std::string out = At(dir, c.out);
    EXPECT_EQ(out.empty() ? r.out : r.out.substr(0, out.size()), out);
}

const std::string kCannotTell = "cannot tell the stream kind of '@noise.bin' from its first bytes; give --type\n";
const char kSwapped[] = ": ac3 (AC-3 sync frames in swapped byte order (0x770B), 32 in a row: the stream's bytes are swapped in pairs)\n";

INSTANTIATE_TEST_SUITE_P(All, KivtoolRun, ::testing::Values(
    ToolCase{{}, 2, "kivtool: missing command\n"},
    ToolCase{{"frobnicate"}, 2, "kivtool: unknown command 'frobnicate'\n"},
    ToolCase{{"create", "--type", "aac", "a", "b"}, 2, "kivtool: unknown stream type 'aac'\n"},
    ToolCase{{"create", "--type", "11", "a", "b"}, 2, "kivtool: unknown stream type '11'\n"},
    ToolCase{{"create", "--type", "lpcm", "a"}, 2, "kivtool: expected ES_FILE KIV_FILE\n"},
    ToolCase{{"create", "a", "b", "--type"}, 2, "kivtool: option '--type' needs a value\n"},
    ToolCase{{"create", "--type=4", "--start-pts", "1,,2", "a", "b"}, 2, "kivtool: bad --start-pts value '1,,2' (0 to 4294967295)\n"},
    ToolCase{{"create", "--type=4", "--quiet=yes", "a", "b"}, 2, "kivtool: unknown option '--quiet=yes'\n"},
    ToolCase{{"info", "--type", "lpcm", "--xml", "--report", "x"}, 2, "kivtool: --xml and --report exclude each other\n"},
    ToolCase{{"create", "@noise.bin", "@o.kiv"}, 2, "kivtool: " + kCannotTell},
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
    // The LPCM analyser gives no text when its KIV file cannot be created (here: a folder).
    ToolCase{{"create", kLpcm, "@folder"}, 1, "kivtool: the stream could not be indexed (the library gave no reason); kind lpcm, file " + kLpcm + "\n"},
    ToolCase{{"--help"}, 0, "", "usage: kivtool create [--type TYPE]"},
    ToolCase{{"--version"}, 0, "", "kivtool 1.0.0\n"},
    ToolCase{{"probe", kAc3, "@swapped.ac3", "@noise.bin", "/nonexistent/x"}, 1, "",
             kAc3 + ": ac3 (AC-3 sync frames (0x0B77), 32 in a row)\n@swapped.ac3" + kSwapped + "@noise.bin: unknown (no sync word "
             "or header of a known kind in its first bytes)\n/nonexistent/x: unknown (cannot open: No such file or directory)\n"}));

TEST(Kivtool, CreateSummaryTextsAndRoundTrip) {
    TempDir dir;
    ProcessRun r = Kivtool(dir, {"create", "--start-pts", "90000", "--xml", "@a.xml", "--report", "@a.txt", kLpcm, "@a.kiv"});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_TRUE(std::regex_match(r.err, std::regex("kivtool: lpcm: 50 units, 216200 bytes in [0-9]+\\.[0-9]{3} s \\([0-9]+\\.[0-9] "
                                                   "MB/s\\) -> " + dir.File("a.kiv") + "\n"))) << r.err;
    r = Kivtool(dir, {"dump", "--format", "csv", "@a.kiv"});
    EXPECT_NE(r.out.find("\n2,0,0,4324,90000,90000,0\n2,1,0,4324,90450,90450,0\n"), std::string::npos) << r.out;
    EXPECT_EQ(Slurp(dir.File("a.xml")), Kivtool(dir, {"info", "--xml", kLpcm}).out);
    const ProcessRun report = Kivtool(dir, {"info", "--type", "4", kLpcm});
    EXPECT_EQ(Slurp(dir.File("a.txt")), report.out);
    r = Kivtool(dir, {"create", "--quiet", "--type=lpcm", "--temp-dir", "@@", "--report", "-", kLpcm, "@b.kiv"});
    EXPECT_EQ(report.out, r.out);
    EXPECT_EQ("", r.err);
}

// Values only the whole pass knows (fields per GOP, a still picture at the end) reach create --xml and
// info --xml alike.
TEST(Kivtool, XmlCarriesWholeStreamValues) {
    TempDir dir;
    kiv_test::AvcSps s;
    s.widthMbsMinus1 = 119, s.heightMapUnitsMinus1 = 33, s.frameMbsOnly = 0, s.timeScale = 60000;
    const kiv_test::AvcTiming anchor{0, 2, 0, true};
    // I P B B (four fields), I P, then a still picture: delimiter, SPS, PPS, IDR slice, end of sequence.
    dir.Write("a.264", kiv_test::AvcBuilder().Unit(s, 7, anchor).Unit(s, 5, {2, 6}).Unit(s, 6, {4, 0}).Unit(s, 6, {6, 0})
                           .Unit(s, 7, anchor).Unit(s, 5, {2, 2}).Unit(s, 7, anchor).EndOfSequence().Bytes());
    const ProcessRun r = Kivtool(dir, {"create", "--quiet", "--xml", "@a.xml", "@a.264", "@a.kiv"});
    ASSERT_EQ(0, r.status) << r.err;
    const std::string xml = Slurp(dir.File("a.xml"));
    EXPECT_NE(xml.find("\n    <maximum_number_of_fields_displayed_in_a_GOP>4</"), std::string::npos) << xml;
    EXPECT_NE(xml.find("\n    <AvcStillPresent>1</AvcStillPresent>\n"), std::string::npos) << xml;
    EXPECT_EQ(xml, Kivtool(dir, {"info", "--xml", "@a.264"}).out);
}

// Every sample kivtool can tell, in one batch of two jobs next to two failing files; each output equals
// what create without --type writes for the file alone (lpcm, mlp and dra take the first start value).
TEST(Kivtool, BatchMatchesCreateFileByFile) {
    TempDir dir;
    MakeInputs(dir);
    const std::string starts = "900000,990000,1080000,1170000,1260000,1350000,1440000,1530000";
    std::vector<std::string> batch = {"batch", "--jobs", "2", "--out-dir", "@@", "--start-pts", starts};
    std::vector<std::pair<std::filesystem::path, std::string>> samples;  // path, kind
    for (const auto& entry : std::filesystem::directory_iterator(Sample(""))) {
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
        for (const char* ext : {".kiv", ".xml", ".txt"}) {
            EXPECT_EQ(Slurp(dir.File(std::string("x") + ext)), Slurp(dir.File(path.stem().string() + ext))) << path << ext;
        }
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
        {"1,", {7}}, {",1", {7}}, {"1, 2", {7}}, {"0x10", {7}}, {"-5", {7}}};
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
    EXPECT_EQ(Slurp(dir.File("c.kiv")), Slurp(dir.File("d.kiv")));
}

}  // namespace
