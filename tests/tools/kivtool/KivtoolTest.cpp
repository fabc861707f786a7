// kivtool as a program: usage errors, library failures, create/info/probe/batch on the bundled samples,
// the progress bar under a pseudo-terminal; and its argument parsing.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "CProgressNotice.h"
#include "EsTypeArgument.h"
#include "support/Ac3Builder.h"
#include "support/AvcBuilder.h"
#include "support/DraBuilder.h"
#include "support/DtsBuilder.h"
#include "support/MlpBuilder.h"
#include "support/Vc1Builder.h"
#include "support/ProcessRunner.h"
#include "support/TempDir.h"

namespace {

using kiv_test::TempDir;

using ToolRun = kiv_test::ProcessRun;

std::string Slurp(const std::string& path) {
    const std::vector<uint8_t> bytes = TempDir::Read(path);
    return std::string(bytes.begin(), bytes.end());
}

std::string Sample(const std::string& name) {
    const char* root = std::getenv("KIV_SOURCE_DIR");
    return std::string(root == nullptr ? "." : root) + "/samples/" + name;
}

const std::string kLpcm = Sample("sine_48k_24bit_6ch.lpcm");
const std::string kAc3 = Sample("sine_48k_stereo_192k.ac3");

// Runs kivtool with "@name" arguments standing for files in dir and "@@" for dir itself.
ToolRun Kivtool(const TempDir& dir, std::vector<std::string> args) {
    for (std::string& a : args) {
        if (a.size() > 1 && a[0] == '@') a = a == "@@" ? dir.Path() : dir.File(a.substr(1));
    }
    return kiv_test::Kivtool(args);
}

// Files the tests refer to: random bytes, a byte-swapped AC-3 stream, a folder.
void MakeInputs(const TempDir& dir) {
    std::vector<uint8_t> noise(4096);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 7919 % 251);
    dir.Write("noise.bin", noise);
    dir.Write("swapped.ac3", kiv_test::SwapWords(TempDir::Read(kAc3)));
    std::filesystem::create_directory(dir.File("folder"));
}

struct ToolCase {
    std::vector<std::string> args;
    int status;
    std::string err;  // the whole of stderr, or for usage errors its first line
};

class KivtoolRun : public ::testing::TestWithParam<ToolCase> {};

TEST_P(KivtoolRun, ExitStatusAndMessage) {
    TempDir dir;
    MakeInputs(dir);
    const ToolRun r = Kivtool(dir, GetParam().args);
    EXPECT_EQ(GetParam().status, r.status);
    const std::string err = std::regex_replace(GetParam().err, std::regex("@"), dir.Path() + "/");
    EXPECT_EQ(err, GetParam().status == 2 ? r.err.substr(0, r.err.find('\n') + 1) : r.err);
    if (GetParam().status == 2) {
        EXPECT_NE(std::string::npos, r.err.find("usage: kivtool create"));
    }
    EXPECT_EQ("", r.out);
}

INSTANTIATE_TEST_SUITE_P(
    UsageErrors, KivtoolRun,
    ::testing::Values(
        ToolCase{{}, 2, "kivtool: missing command\n"},
        ToolCase{{"frobnicate"}, 2, "kivtool: unknown command 'frobnicate'\n"},
        ToolCase{{"create", "--type", "aac", "a", "b"}, 2, "kivtool: unknown stream type 'aac'\n"},
        ToolCase{{"create", "--type", "11", "a", "b"}, 2, "kivtool: unknown stream type '11'\n"},
        ToolCase{{"create", "--type", "lpcm", "a"}, 2, "kivtool: expected ES_FILE KIV_FILE\n"},
        ToolCase{{"create", "a", "b", "--type"}, 2, "kivtool: option '--type' needs a value\n"},
        ToolCase{{"create", "--type=4", "--start-pts", "1,,2", "a", "b"}, 2,
                 "kivtool: bad --start-pts value '1,,2' (0 to 4294967295)\n"},
        ToolCase{{"create", "--type=4", "--quiet=yes", "a", "b"}, 2, "kivtool: unknown option '--quiet=yes'\n"},
        ToolCase{{"info", "--type", "lpcm", "--xml", "--report", "x"}, 2, "kivtool: --xml and --report exclude each other\n"},
        ToolCase{{"create", "@noise.bin", "@o.kiv"}, 2,
                 "kivtool: cannot tell the stream kind of '@noise.bin' from its first bytes; give --type\n"},
        ToolCase{{"info", "/nonexistent/x"}, 2, "kivtool: cannot open '/nonexistent/x': No such file or directory\n"},
        ToolCase{{"create", kLpcm, "/nonexistent/a.kiv"}, 2,
                 "kivtool: cannot write /nonexistent/a.kiv: folder /nonexistent does not exist\n"},
        ToolCase{{"create", "--xml", "/nonexistent/a.xml", kLpcm, "@a.kiv"}, 2,
                 "kivtool: cannot write /nonexistent/a.xml: folder /nonexistent does not exist\n"},
        ToolCase{{"create", "--start-pts", "1,2", kLpcm, "@a.kiv"}, 2,
                 "kivtool: lpcm takes exactly one --start-pts value, 2 given\n"},
        ToolCase{{"probe"}, 2, "kivtool: expected ES_FILE...\n"},
        ToolCase{{"dump"}, 2, "kivtool: expected KIV_FILE\n"},
        ToolCase{{"dump", "--format"}, 2, "kivtool: option '--format' needs a value\n"},
        ToolCase{{"dump", "--format=", "a"}, 2, "kivtool: unknown format '' (text, csv or json)\n"},
        ToolCase{{"dump", "--colour", "a"}, 2, "kivtool: unknown option '--colour'\n"},
        ToolCase{{"batch", "--jobs", "0", kLpcm}, 2, "kivtool: bad --jobs value '0' (1 to 256)\n"},
        ToolCase{{"batch", "--out-dir", "@@", kLpcm, "@a/sine_48k_24bit_6ch.pcm"}, 2,
                 "kivtool: two files would both be written to @sine_48k_24bit_6ch.kiv\n"},
        ToolCase{{"batch", "--out-dir", "/nonexistent", kLpcm}, 2,
                 "kivtool: cannot write /nonexistent/sine_48k_24bit_6ch: folder /nonexistent does not exist\n"}));

INSTANTIATE_TEST_SUITE_P(
    LibraryFailures, KivtoolRun,
    ::testing::Values(
        ToolCase{{"create", "--type", "lpcm", "/nonexistent/x.lpcm", "@o.kiv"}, 1,
                 "kivtool: File can not open.(/nonexistent/x.lpcm)\n"},
        ToolCase{{"create", "@swapped.ac3", "@o.kiv"}, 1, "kivtool: An endian of es is inverse.\n"},
        // The LPCM analyser gives no text when its KIV file cannot be created (here: a folder).
        ToolCase{{"create", kLpcm, "@folder"}, 1,
                 "kivtool: the stream could not be indexed (the library gave no reason); kind lpcm, file " + kLpcm +
                     "\n"}));

TEST(Kivtool, HelpAndVersionGoToStdout) {
    TempDir dir;
    ToolRun r = Kivtool(dir, {"--help"});
    EXPECT_EQ(0, r.status);
    EXPECT_EQ(0u, r.out.find("usage: kivtool create [--type TYPE]"));
    EXPECT_NE(std::string::npos, r.out.find("mpeg2 avc vc1 lpcm ac3 dts mlp dra pg ig"));
    EXPECT_EQ("", r.err);
    r = Kivtool(dir, {"--version"});
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("kivtool 1.0.0\n", r.out);
}

TEST(Kivtool, CreateSummaryTextsAndRoundTrip) {
    TempDir dir;
    ToolRun r = Kivtool(dir, {"create", "--start-pts", "90000", "--xml", "@a.xml", "--report", "@a.txt", kLpcm, "@a.kiv"});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_TRUE(std::regex_match(r.err, std::regex("kivtool: lpcm: 50 units, 216200 bytes in [0-9]+\\.[0-9]{3} s "
                                                   "\\([0-9]+\\.[0-9] MB/s\\) -> " + dir.File("a.kiv") + "\n")))
        << r.err;
    r = Kivtool(dir, {"dump", "--format", "csv", "@a.kiv"});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("\n2,0,0,4324,90000,90000,0\n2,1,0,4324,90450,90450,0\n"));

    const ToolRun xml = Kivtool(dir, {"info", "--xml", kLpcm});
    ASSERT_EQ(0, xml.status) << xml.err;
    EXPECT_EQ(Slurp(dir.File("a.xml")), xml.out);
    const ToolRun report = Kivtool(dir, {"info", "--type", "4", kLpcm});
    ASSERT_EQ(0, report.status);
    EXPECT_EQ(Slurp(dir.File("a.txt")), report.out);
    r = Kivtool(dir, {"create", "--quiet", "--type=lpcm", "--temp-dir", "@@", "--report", "-", kLpcm, "@b.kiv"});
    EXPECT_EQ(report.out, r.out);
    EXPECT_EQ("", r.err);
}

// Values only the whole pass knows (fields per GOP, a still picture at the end) reach create --xml and
// info --xml: both take the texts from the analyser that indexed the stream.
TEST(Kivtool, XmlCarriesWholeStreamValues) {
    TempDir dir;
    kiv_test::AvcSps interlaced;
    interlaced.widthMbsMinus1 = 119, interlaced.heightMapUnitsMinus1 = 33, interlaced.frameMbsOnly = 0;
    interlaced.timeScale = 60000;
    const kiv_test::AvcTiming anchor{0, 2, 0, true};
    // I P B B (four fields), I P, then a still picture: delimiter, SPS, PPS, IDR slice, end of sequence.
    dir.Write("a.264", kiv_test::AvcBuilder().Unit(interlaced, 7, anchor).Unit(interlaced, 5, {2, 6})
                           .Unit(interlaced, 6, {4, 0}).Unit(interlaced, 6, {6, 0}).Unit(interlaced, 7, anchor)
                           .Unit(interlaced, 5, {2, 2}).Unit(interlaced, 7, anchor).EndOfSequence().Bytes());
    const ToolRun r = Kivtool(dir, {"create", "--quiet", "--xml", "@a.xml", "@a.264", "@a.kiv"});
    ASSERT_EQ(0, r.status) << r.err;
    const std::string xml = Slurp(dir.File("a.xml"));
    EXPECT_NE(std::string::npos, xml.find("\n    <maximum_number_of_fields_displayed_in_a_GOP>4</")) << xml;
    EXPECT_NE(std::string::npos, xml.find("\n    <AvcStillPresent>1</AvcStillPresent>\n")) << xml;
    EXPECT_EQ(xml, Kivtool(dir, {"info", "--xml", "@a.264"}).out);
}

// Streams of the kinds without a bundled sample, from their builders: create without --type tells the
// kind and indexes them.
struct BuiltCase {
    const char* kind;
    std::vector<uint8_t> stream;
};

class KivtoolDetects : public ::testing::TestWithParam<BuiltCase> {};

TEST_P(KivtoolDetects, CreateWithoutType) {
    TempDir dir;
    const ToolRun r = Kivtool(dir, {"create", dir.Write("es", GetParam().stream), "@a.kiv"});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_TRUE(std::regex_search(r.err, std::regex(std::string("^kivtool: ") + GetParam().kind + ": [1-9][0-9]* units")))
        << r.err;
}

std::vector<uint8_t> Built(void (*append)(std::vector<uint8_t>&)) {
    std::vector<uint8_t> out;
    append(out);
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Builders, KivtoolDetects,
    ::testing::Values(
        BuiltCase{"avc", kiv_test::AvcBuilder().Unit({}, 7, {0, 2, 0, true}).Unit({}, 5, {2, 2}).Bytes()},
        BuiltCase{"avc", kiv_test::AvcBuilder().DependentUnit([] { kiv_test::AvcSps s; s.subset = true, s.profile = 128;
                                                                   return s; }(), 2, {0, 2, 0, true}, {0, 0, 1}).Bytes()},
        BuiltCase{"vc1", kiv_test::Vc1Builder().Script("H I P B I").Bytes()},
        BuiltCase{"dts", kiv_test::JoinUnits({kiv_test::DtsCore(), kiv_test::DtsExt()}, 3)},
        BuiltCase{"mlp", Built([](std::vector<uint8_t>& o) { for (int i = 0; i < 3; ++i) kiv_test::MlpUnit{}.AppendTo(o); })},
        BuiltCase{"dra", Built([](std::vector<uint8_t>& o) { for (int i = 0; i < 3; ++i) kiv_test::DraFrame{}.AppendTo(o); })}));

TEST(Kivtool, ProbeNamesKindAndReason) {
    TempDir dir;
    MakeInputs(dir);
    const ToolRun r = Kivtool(dir, {"probe", kAc3, "@swapped.ac3", "@noise.bin"});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ(kAc3 + ": ac3 (AC-3 sync frames (0x0B77), 32 in a row)\n" + dir.File("swapped.ac3") +
                  ": ac3 (AC-3 sync frames in swapped byte order (0x770B), 32 in a row: the stream's bytes are "
                  "swapped in pairs)\n" +
                  dir.File("noise.bin") + ": unknown (no sync word or header of a known kind in its first bytes)\n",
              r.out);
}

// Every sample kivtool can tell, in one batch of two jobs next to two failing files; each output equals
// what create writes for the file alone (lpcm, mlp and dra take the first start value).
TEST(Kivtool, BatchMatchesCreateFileByFile) {
    TempDir dir;
    MakeInputs(dir);
    const std::string starts = "900000,990000,1080000,1170000,1260000,1350000,1440000,1530000";
    std::vector<std::string> batch = {"batch", "--jobs", "2", "--out-dir", "@@", "--start-pts", starts};
    std::vector<std::pair<std::filesystem::path, std::string>> samples;  // path, kind
    for (const auto& entry : std::filesystem::directory_iterator(Sample(""))) {
        const std::string path = entry.path().string();
        const ToolRun probe = Kivtool(dir, {"probe", path});
        if (probe.status != 0) continue;
        batch.push_back(path);
        samples.push_back({entry.path(), probe.out.substr(path.size() + 2, probe.out.find(' ', path.size() + 2) - path.size() - 2)});
    }
    ASSERT_GE(samples.size(), 5u);
    batch.insert(batch.end(), {"@noise.bin", "@swapped.ac3"});
    const ToolRun r = Kivtool(dir, batch);
    EXPECT_EQ(1, r.status);
    const std::string noise = dir.File("noise.bin");
    EXPECT_NE(std::string::npos,
              r.out.find(noise + ": FAILED: cannot tell the stream kind of '" + noise + "' from its first bytes; give --type\n"));
    EXPECT_NE(std::string::npos, r.out.find(dir.File("swapped.ac3") + ": FAILED: An endian of es is inverse.\n"));
    EXPECT_NE(std::string::npos, r.out.find("batch: " + std::to_string(samples.size()) + " indexed, 2 failed, ")) << r.out;
    EXPECT_FALSE(std::filesystem::exists(dir.File("swapped.kiv")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("swapped.kiv.part")));
    for (const auto& [path, kind] : samples) {
        const bool one = kind == "lpcm" || kind == "mlp" || kind == "dra";
        const ToolRun create = Kivtool(dir, {"create", "--quiet", "--start-pts", one ? "900000" : starts, "--xml", "@x.xml",
                                             "--report", "@x.txt", path.string(), "@x.kiv"});
        ASSERT_EQ(0, create.status) << path << create.err;
        EXPECT_NE(std::string::npos, r.out.find(path.string() + ": " + kind + ": ")) << path;
        for (const char* ext : {".kiv", ".xml", ".txt"}) {
            EXPECT_EQ(Slurp(dir.File(std::string("x") + ext)), Slurp(dir.File(path.stem().string() + ext))) << path << ext;
        }
    }
}

TEST(EsTypeArgument, NamesAndNumbers) {
    const char* names[] = {"mpeg2", "avc", "vc1", "lpcm", "ac3", "dts", "mlp", "dra", "pg", "ig"};
    for (int i = 1; i <= 10; ++i) {
        int byName = 0, byNumber = 0;
        EXPECT_TRUE(kivtool::ParseEsType(names[i - 1], byName) && kivtool::ParseEsType(std::to_string(i), byNumber));
        EXPECT_EQ(std::vector<int>({i, i}), std::vector<int>({byName, byNumber}));
        EXPECT_STREQ(names[i - 1], kivtool::EsTypeName(i));
    }
    for (const char* bad : {"", "0", "11", "-1", "+4", "LPCM", "4x", " 4", "mpeg"}) {
        int type = 99;
        EXPECT_FALSE(kivtool::ParseEsType(bad, type) || type != 99) << bad;
    }
}

// Good lists are appended whole; a bad element leaves the list as it was.
TEST(StartPtsList, ParsesCommaListsAndAppends) {
    const std::pair<std::string, std::vector<uint32_t>> cases[] = {
        {"4294967295", {7, 4294967295u}}, {"1,2,3", {7, 1, 2, 3}}, {"00000000000000000012", {7, 12}},
        {"4294967296", {7}}, {"99999999999999999999999", {7}}, {"", {7}}, {",", {7}}, {"1,", {7}},
        {",1", {7}}, {"1, 2", {7}}, {"0x10", {7}}, {"-5", {7}}};
    for (const auto& [text, expected] : cases) {
        std::vector<uint32_t> list = {7};
        EXPECT_EQ(expected.size() > 1, kivtool::ParseStartPtsList(text, list)) << text;
        EXPECT_EQ(expected, list) << text;
    }
}

TEST(ProgressLine, PercentRateAndTimeLeft) {
    EXPECT_EQ("[###############               ]  50%     50.0 MB/s 0:00:01 left",
              kivtool::CProgressNotice::FormatLine(50000000, 100000000, 1.0));
    EXPECT_EQ("[##############################] 100%    100.0 MB/s 0:00:00 left",
              kivtool::CProgressNotice::FormatLine(100000000, 100000000, 1.0));
    EXPECT_EQ("[                              ]   0%      0.0 MB/s --:--:-- left",
              kivtool::CProgressNotice::FormatLine(0, 100000000, 0.0));
    EXPECT_EQ("[                              ]   1%      1.0 MB/s 0:09:54 left",
              kivtool::CProgressNotice::FormatLine(6000000, 600000000, 6.0));
}

// One SIGINT aborts every notice that follows interrupts, on any thread; others run on.
TEST(ProgressNotice, InterruptAbortsEveryFollowerWhileCaught) {
    {
        kivtool::CProgressNotice caught(-1, false);
        kivtool::CProgressNotice follower(-1, false);
        kivtool::CProgressNotice deaf(-1, false);
        caught.CatchInterrupt();
        follower.FollowInterrupts();
        EXPECT_FALSE(caught.IsAborted());
        ASSERT_EQ(0, raise(SIGINT));
        EXPECT_TRUE(caught.IsAborted());
        EXPECT_TRUE(follower.IsAborted());
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
    const ToolRun bar = kiv_test::RunProcess("/usr/bin/env", {"script", "-qec", create + dir.File("c.kiv"), "/dev/null"});
    ASSERT_EQ(0, bar.status) << bar.out;
    EXPECT_NE(std::string::npos, bar.out.find("100%")) << bar.out;
    EXPECT_NE(std::string::npos, bar.out.find("left")) << bar.out;
    const ToolRun quiet =
        kiv_test::RunProcess("/usr/bin/env", {"script", "-qec", create + "--quiet " + dir.File("d.kiv"), "/dev/null"});
    ASSERT_EQ(0, quiet.status);
    EXPECT_EQ("", quiet.out);
    EXPECT_EQ(Slurp(dir.File("c.kiv")), Slurp(dir.File("d.kiv")));
}

}  // namespace
