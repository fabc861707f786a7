// kivtool as a program: usage errors, library failures, create/info on the bundled LPCM sample,
// the progress bar under a pseudo-terminal; and its argument parsing.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "EsTypeArgument.h"
#include "CProgressNotice.h"
#include "support/TempDir.h"

namespace {

using kiv_test::TempDir;

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

ToolRun Kivtool(const TempDir& dir, const std::vector<std::string>& args) {
    std::string command = Quote(KIVTOOL_PATH);
    for (const std::string& a : args) command += " " + Quote(a);
    command += " >" + Quote(dir.File("stdout")) + " 2>" + Quote(dir.File("stderr")) + " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(dir.File("stdout")), Slurp(dir.File("stderr"))};
}

std::string Sample(const std::string& name) {
    const char* root = std::getenv("KIV_SOURCE_DIR");
    return std::string(root == nullptr ? "." : root) + "/samples/" + name;
}

struct UsageCase {
    std::vector<std::string> args;
    std::string firstLine;
};

class KivtoolUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(KivtoolUsage, ExitsWithTwoAndNamesTheProblem) {
    TempDir dir;
    const ToolRun r = Kivtool(dir, GetParam().args);
    EXPECT_EQ(2, r.status);
    EXPECT_EQ(GetParam().firstLine + "\n", r.err.substr(0, r.err.find('\n') + 1));
    EXPECT_NE(std::string::npos, r.err.find("usage: kivtool create"));
    EXPECT_EQ("", r.out);
}

INSTANTIATE_TEST_SUITE_P(
    BadCommandLines, KivtoolUsage,
    ::testing::Values(UsageCase{{}, "kivtool: missing command"},
                      UsageCase{{"frobnicate"}, "kivtool: unknown command 'frobnicate'"},
                      UsageCase{{"create", "a", "b"}, "kivtool: --type is required"},
                      UsageCase{{"create", "--type", "aac", "a", "b"}, "kivtool: unknown stream type 'aac'"},
                      UsageCase{{"create", "--type", "0", "a", "b"}, "kivtool: unknown stream type '0'"},
                      UsageCase{{"create", "--type", "11", "a", "b"}, "kivtool: unknown stream type '11'"},
                      UsageCase{{"create", "--type", "lpcm", "a"}, "kivtool: expected ES_FILE KIV_FILE"},
                      UsageCase{{"create", "--type", "lpcm", "a", "b", "c"}, "kivtool: expected ES_FILE KIV_FILE"},
                      UsageCase{{"create", "a", "b", "--type"}, "kivtool: option '--type' needs a value"},
                      UsageCase{{"create", "--type=4", "--start-pts", "-1", "a", "b"},
                                "kivtool: bad --start-pts value '-1' (0 to 4294967295)"},
                      UsageCase{{"create", "--type=4", "--start-pts=4294967296", "a", "b"},
                                "kivtool: bad --start-pts value '4294967296' (0 to 4294967295)"},
                      UsageCase{{"create", "--type=4", "--start-pts", "1,,2", "a", "b"},
                                "kivtool: bad --start-pts value '1,,2' (0 to 4294967295)"},
                      UsageCase{{"create", "--type=4", "--loud", "a", "b"}, "kivtool: unknown option '--loud'"},
                      UsageCase{{"create", "--type=4", "--quiet=yes", "a", "b"}, "kivtool: unknown option '--quiet=yes'"},
                      UsageCase{{"info", "--type", "lpcm"}, "kivtool: expected ES_FILE"},
                      UsageCase{{"info", "--xml", "x"}, "kivtool: --type is required"},
                      UsageCase{{"info", "--type", "lpcm", "--xml", "--report", "x"},
                                "kivtool: --xml and --report exclude each other"}));

struct FailureCase {
    std::vector<std::string> args;
    std::string err;
};

class KivtoolFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(KivtoolFailure, ExitsWithOneAndTheLibraryText) {
    TempDir dir;
    std::vector<std::string> args = GetParam().args;
    for (std::string& a : args) {
        if (a == "@kiv") a = dir.File("out.kiv");
    }
    const ToolRun r = Kivtool(dir, args);
    EXPECT_EQ(1, r.status);
    EXPECT_EQ(GetParam().err, r.err);
    EXPECT_EQ("", r.out);
}

INSTANTIATE_TEST_SUITE_P(
    LibraryFailures, KivtoolFailure,
    ::testing::Values(FailureCase{{"create", "--type", "mlp", "a", "b"}, "kivtool: unknown es type.\n"},
                      FailureCase{{"create", "--type", "8", "a", "b"}, "kivtool: unknown es type.\n"},
                      FailureCase{{"create", "--type", "lpcm", "/nonexistent/x.lpcm", "@kiv"},
                                  "kivtool: File can not open.(/nonexistent/x.lpcm)\n"},
                      FailureCase{{"info", "--type", "dra", "whatever"}, "kivtool: unknown es type.\n"},
                      FailureCase{{"info", "--type", "lpcm", "/nonexistent/y"},
                                  "kivtool: File can not open.(/nonexistent/y)\n"}));

TEST(Kivtool, HelpAndVersionGoToStdout) {
    TempDir dir;
    ToolRun r = Kivtool(dir, {"--help"});
    EXPECT_EQ(0, r.status);
    EXPECT_EQ(0u, r.out.find("usage: kivtool create --type TYPE"));
    EXPECT_NE(std::string::npos, r.out.find("mpeg2 avc vc1 lpcm ac3 dts mlp dra pg ig"));
    EXPECT_EQ("", r.err);
    r = Kivtool(dir, {"--version"});
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("kivtool 1.0.0\n", r.out);
}

TEST(Kivtool, LibraryTextKeepsItsLeadingLineFeed) {
    TempDir dir;
    // Two start values are refused by the LPCM analyser without a message.
    const ToolRun r = Kivtool(dir, {"create", "--type", "lpcm", "--start-pts", "1,2", Sample("sine_48k_24bit_6ch.lpcm"),
                                dir.File("o.kiv")});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("kivtool: \n", r.err);
}

TEST(Kivtool, CreateThenDumpRoundTrip) {
    TempDir dir;
    const std::string es = Sample("sine_48k_24bit_6ch.lpcm");
    const std::string kiv = dir.File("a.kiv");
    ToolRun r = Kivtool(dir, {"create", "--type", "lpcm", "--start-pts", "90000", "--xml", dir.File("a.xml"), "--report",
                          dir.File("a.txt"), es, kiv});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.err);  // no terminal, so no bar
    r = Kivtool(dir, {"dump", "--format", "csv", kiv});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("90000"));

    const ToolRun info = Kivtool(dir, {"info", "--type", "4", "--xml", es});
    ASSERT_EQ(0, info.status);
    EXPECT_EQ(info.out, Slurp(dir.File("a.xml")));
    EXPECT_EQ(0u, info.out.find("<?xml version=\"1.0\" standalone=\"yes\"?>"));
    const ToolRun report = Kivtool(dir, {"info", "--type", "lpcm", es});
    ASSERT_EQ(0, report.status);
    EXPECT_EQ(report.out, Slurp(dir.File("a.txt")));
    EXPECT_NE(std::string::npos, report.out.find("\r\n"));
}

TEST(Kivtool, ReportToStdoutAndTempDirAccepted) {
    TempDir dir;
    const ToolRun r = Kivtool(dir, {"create", "--quiet", "--type=lpcm", "--temp-dir", dir.Path(), "--report", "-",
                                Sample("sine_48k_24bit_6ch.lpcm"), dir.File("b.kiv")});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("\r\n"));
}

TEST(Kivtool, ProgressBarOnlyOnATerminal) {
    if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "script(1) is not installed";
    TempDir dir;
    const std::string es = Sample("sine_48k_24bit_6ch.lpcm");
    const std::string base = Quote(KIVTOOL_PATH) + " create --type lpcm " + Quote(es) + " ";
    const std::string withBar = "script -qec " + Quote(base + Quote(dir.File("c.kiv"))) + " /dev/null >" +
                                Quote(dir.File("tty")) + " 2>&1";
    ASSERT_EQ(0, std::system(withBar.c_str()));
    const std::string tty = Slurp(dir.File("tty"));
    EXPECT_NE(std::string::npos, tty.find("100%")) << tty;
    EXPECT_NE(std::string::npos, tty.find("MB/s")) << tty;
    EXPECT_NE(std::string::npos, tty.find("left")) << tty;

    const std::string quiet = "script -qec " + Quote(base + "--quiet " + Quote(dir.File("d.kiv"))) + " /dev/null >" +
                              Quote(dir.File("quiet")) + " 2>&1";
    ASSERT_EQ(0, std::system(quiet.c_str()));
    EXPECT_EQ(std::string::npos, Slurp(dir.File("quiet")).find("MB/s"));
    EXPECT_EQ(Slurp(dir.File("c.kiv")), Slurp(dir.File("d.kiv")));
}

TEST(EsTypeArgument, NamesAndNumbers) {
    const std::vector<std::string> names = {"mpeg2", "avc", "vc1", "lpcm", "ac3", "dts", "mlp", "dra", "pg", "ig"};
    for (int i = 0; i < 10; ++i) {
        int byName = 0;
        int byNumber = 0;
        ASSERT_TRUE(kivtool::ParseEsType(names[i], byName));
        ASSERT_TRUE(kivtool::ParseEsType(std::to_string(i + 1), byNumber));
        EXPECT_EQ(i + 1, byName);
        EXPECT_EQ(i + 1, byNumber);
        EXPECT_EQ(names[i], kivtool::EsTypeName(i + 1));
    }
    for (const char* bad : {"", "0", "11", "-1", "+4", "LPCM", "4x", " 4", "mpeg"}) {
        int type = 99;
        EXPECT_FALSE(kivtool::ParseEsType(bad, type)) << bad;
        EXPECT_EQ(99, type);
    }
}

TEST(StartPtsList, ParsesCommaListsAndAppends) {
    struct Case {
        std::string text;
        bool ok;
        std::vector<uint32_t> values;
    };
    const Case cases[] = {
        {"0", true, {0}},
        {"4294967295", true, {4294967295u}},
        {"1,2,3", true, {1, 2, 3}},
        {"0000000000000000000012", true, {12}},
        {"4294967296", false, {}},
        {"99999999999999999999999", false, {}},
        {"", false, {}},
        {",", false, {}},
        {"1,", false, {}},
        {",1", false, {}},
        {"1, 2", false, {}},
        {"0x10", false, {}},
        {"-5", false, {}},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> list = {7};
        EXPECT_EQ(c.ok, kivtool::ParseStartPtsList(c.text, list)) << c.text;
        std::vector<uint32_t> expected = {7};
        expected.insert(expected.end(), c.values.begin(), c.values.end());
        EXPECT_EQ(expected, list) << c.text;
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

}  // namespace

namespace {

TEST(ProgressNotice, InterruptAbortsOnlyWhileCaught) {
    {
        kivtool::CProgressNotice notice(-1, false);
        notice.CatchInterrupt();
        EXPECT_FALSE(notice.IsAborted());
        ASSERT_EQ(0, raise(SIGINT));
        EXPECT_TRUE(notice.IsAborted());
    }
    struct sigaction current {};
    ASSERT_EQ(0, sigaction(SIGINT, nullptr, &current));
    EXPECT_EQ(SIG_DFL, current.sa_handler);
}

TEST(ProgressNotice, DisabledBarWritesNothing) {
    TempDir dir;
    const std::string path = dir.File("bar");
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    {
        kivtool::CProgressNotice off(fileno(f), false);
        off.NotifyProgress(10, 100);
        off.Finish();
        kivtool::CProgressNotice on(fileno(f), true);
        on.NotifyProgress(100, 100);
        on.Finish();
    }
    std::fclose(f);
    const std::string drawn = Slurp(path);
    EXPECT_EQ(0u, drawn.find("\r[##############################] 100%"));
    EXPECT_EQ('\n', drawn.back());
}

}  // namespace
