// kivtool dump run as a program on files written by the writers: the three formats and the failures.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "kiv/CAudioKiv.h"
#include "kiv/CAudioKivItem.h"
#include "kiv/CGraphicsKiv.h"
#include "kiv/CGraphicsKivItem.h"
#include "kiv/CKiv.h"
#include "kiv/CKivItem.h"
#include "kiv/CMvcDependentViewVideoKiv.h"
#include "kiv/CMvcDependentViewVideoKivItem.h"
#include "kiv/CVideoKiv.h"
#include "kiv/CVideoKivItem.h"
#include "support/TempDir.h"

#ifndef KIVTOOL_PATH
#error "KIVTOOL_PATH must name the kivtool program"
#endif

namespace {

using kiv_test::TempDir;
using ts_comp::kiv::CKiv;
using ts_comp::kiv::CKivItem;

using Fields = std::vector<std::pair<uint64_t, uint64_t>>;

void WriteItems(CKiv& kiv, CKivItem& item, const std::string& path, const std::vector<Fields>& items) {
    ASSERT_TRUE(kiv.Create(path.c_str()));
    for (const Fields& fields : items) {
        for (const auto& f : fields) item.SetValue(f.first, f.second);
        ASSERT_TRUE(kiv.WriteItem(item));
    }
    kiv.Close();
}

struct DumpRun {
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
    const std::vector<uint8_t> bytes = TempDir::Read(path);
    return std::string(bytes.begin(), bytes.end());
}

DumpRun Dump(const TempDir& dir, const std::vector<std::string>& args) {
    std::string command = Quote(KIVTOOL_PATH) + " dump";
    for (const std::string& a : args) command += " " + Quote(a);
    command += " >" + Quote(dir.File("stdout")) + " 2>" + Quote(dir.File("stderr"));
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(dir.File("stdout")), Slurp(dir.File("stderr"))};
}

// Runs a python snippet on a file; returns its stdout, or "exit N" when it fails.
std::string Python(const TempDir& dir, const std::string& snippet, const std::string& file) {
    const std::string command = "python3 -c " + Quote(snippet) + " " + Quote(file) + " >" +
                                Quote(dir.File("py")) + " 2>&1";
    const int raw = std::system(command.c_str());
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return status == 0 ? Slurp(dir.File("py")) : "exit " + std::to_string(status) + ": " + Slurp(dir.File("py"));
}

bool HavePython() { return std::system("python3 -c pass >/dev/null 2>&1") == 0; }

std::string WriteAudioPair(const TempDir& dir) {
    ts_comp::kiv::CAudioKiv kiv;
    ts_comp::kiv::CAudioKivItem item;
    const std::string path = dir.File("a.kiv");
    WriteItems(kiv, item, path, {{{0, 0}, {1, 964}, {2, 90000}, {3, 90000}}, {{0, 255}, {1, 0}, {2, 0}, {3, 90450}}});
    return path;
}

TEST(KivtoolDump, TextListsEveryFieldOfEveryItem) {
    TempDir dir;
    const std::string path = WriteAudioPair(dir);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{path}, {"--format", "text", path}, {"--format=text", path}}) {
        const DumpRun run = Dump(dir, args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out,
                  "kiv_file_type : 2 (audio)\n"
                  "item_size : 14\n"
                  "item_count : 2\n"
                  "item 0 : enc_item_type=0 enc_item_size=964 dts=90000 pts=90000 reserved1=0\n"
                  "item 1 : enc_item_type=255 enc_item_size=0 dts=0 pts=90450 reserved1=0\n");
    }
}

TEST(KivtoolDump, CsvHasOneColumnPerField) {
    TempDir dir;
    ts_comp::kiv::CVideoKiv kiv;
    ts_comp::kiv::CVideoKivItem item;
    const std::string path = dir.File("v.kiv");
    WriteItems(kiv, item, path,
               {{{0, 1}, {1, 1000}, {2, 3003}, {3, 6006}, {6, 1}, {7, 3}},
                {{0, 3}, {1, 20}, {2, 6006}, {3, (uint64_t{1} << 33) - 1}, {6, 0}, {7, 1}, {5, 1}}});
    const DumpRun run = Dump(dir, {"--format", "csv", path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "kiv_file_type,index,enc_item_type,enc_item_size,dts,pts,reserved1,sequence_end_code,closed_gop,"
              "picture_structure,reserved2\n"
              "1,0,1,1000,3003,6006,0,0,1,3,0\n"
              "1,1,3,20,6006,8589934591,0,1,0,1,0\n");
}

struct JsonCase {
    const char* name;
    uint32_t type;
    std::vector<Fields> items;
    const char* query;     // python expression over the parsed document d
    const char* expected;  // its printed value
};

class KivtoolDumpJson : public ::testing::TestWithParam<JsonCase> {};

TEST_P(KivtoolDumpJson, ParsesAsJsonWithTheWrittenValues) {
    if (!HavePython()) GTEST_SKIP() << "python3 is not installed";
    TempDir dir;
    const JsonCase& c = GetParam();
    const std::string path = dir.File("x.kiv");
    if (c.type == 3) {
        ts_comp::kiv::CGraphicsKiv kiv;
        ts_comp::kiv::CGraphicsKivItem item;
        WriteItems(kiv, item, path, c.items);
    } else {
        ts_comp::kiv::CMvcDependentViewVideoKiv kiv;
        ts_comp::kiv::CMvcDependentViewVideoKivItem item;
        WriteItems(kiv, item, path, c.items);
    }
    const DumpRun run = Dump(dir, {"--format", "json", path});
    ASSERT_EQ(run.status, 0) << run.err;
    dir.Write("out.json", std::vector<uint8_t>(run.out.begin(), run.out.end()));
    // The standard library's own validator must accept the document as it stands.
    const int valid = std::system(("python3 -m json.tool " + Quote(dir.File("out.json")) + " >/dev/null").c_str());
    EXPECT_EQ(valid, 0) << run.out;
    EXPECT_EQ(Python(dir, std::string("import json,sys\nd=json.load(open(sys.argv[1]))\nprint(") + c.query + ")",
                     dir.File("out.json")),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, KivtoolDumpJson,
    ::testing::Values(
        JsonCase{"Graphics",
                 3,
                 {{{0, 0x16}, {1, 30}, {2, 100}, {3, 200}, {5, 2}},
                  {{0, 0x15}, {1, 4000}, {6, 1}, {7, 1}},
                  {{0, 255}, {1, 0}, {2, 0}, {3, 9000}, {5, 0}, {6, 0}, {7, 0}}},
                 "d['kiv_file_type'], d['item_count'], [(i['index'], i['enc_item_type'], i['enc_sub_item_type'], "
                 "i['first_in_sequence_flag'], i['last_in_sequence_flag'], i['pts']) for i in d['items']]",
                 "3 3 [(0, 22, 2, 0, 0, 200), (1, 21, 2, 1, 1, 200), (2, 255, 0, 0, 0, 9000)]\n"},
        JsonCase{"MvcOffsets",
                 5,
                 {{{0, 2}, {1, 777}, {9, 0x12345678}, {10, 0xFFFFFFFF}}},
                 "d['type_name'], d['item_size'], sorted(d['items'][0].items())",
                 "mvc_dependent_view 23 [('closed_gop', 0), ('dts', 0), ('enc_item_size', 777), ('enc_item_type', 2), "
                 "('index', 0), ('offset_metadata_pos', 305419896), ('offset_metadata_size', 4294967295), "
                 "('picture_structure', 0), ('pts', 0), ('reserved1', 0), ('reserved2', 0), ('sequence_end_code', 0)]\n"},
        JsonCase{"NoItems", 3, {}, "d['item_count'], d['items']", "0 []\n"}),
    [](const ::testing::TestParamInfo<JsonCase>& info) { return std::string(info.param.name); });

struct FailureCase {
    const char* name;
    std::vector<uint8_t> content;  // empty name below means: no file at all
    bool create;
    const char* stderrText;  // after "kivtool: PATH: "
};

class KivtoolDumpFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(KivtoolDumpFailure, ExitsWithOneAndAClearMessage) {
    TempDir dir;
    const FailureCase& c = GetParam();
    const std::string path = c.create ? dir.Write("bad.kiv", c.content) : dir.File("missing.kiv");
    const DumpRun run = Dump(dir, {"--format", "json", path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "kivtool: " + path + ": " + c.stderrText + "\n");
}

std::vector<uint8_t> AudioHeaderAnd(size_t payload) {
    std::vector<uint8_t> bytes{0, 0, 0, 2};
    bytes.resize(4 + payload, 0xAB);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, KivtoolDumpFailure,
    ::testing::Values(
        FailureCase{"Missing", {}, false, "cannot open: No such file or directory"},
        FailureCase{"Empty", {}, true, "not a KIV file: 0 bytes, shorter than the 4-byte kiv_file_type"},
        FailureCase{"ShortHeader", {0, 0, 0}, true, "not a KIV file: 3 bytes, shorter than the 4-byte kiv_file_type"},
        FailureCase{"UnusedType4", {0, 0, 0, 4, 1, 2}, true,
                    "unknown kiv_file_type 4 (known: 1 video, 2 audio, 3 graphics, 5 MVC dependent view)"},
        FailureCase{"TextFile", {'<', '?', 'x', 'm', 'l'}, true,
                    "unknown kiv_file_type 1010792557 (known: 1 video, 2 audio, 3 graphics, 5 MVC dependent view)"},
        FailureCase{"TruncatedLastItem", AudioHeaderAnd(14 * 3 + 5), true,
                    "truncated last item: 5 bytes after 3 whole items of 14 bytes"},
        FailureCase{"OnlyAPartialItem", AudioHeaderAnd(13), true,
                    "truncated last item: 13 bytes after 0 whole items of 14 bytes"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(KivtoolDump, GarbageAfterAValidTypeIsShownAsIs) {
    TempDir dir;
    std::vector<uint8_t> bytes = AudioHeaderAnd(14);
    for (size_t i = 4; i < bytes.size(); ++i) bytes[i] = 0xFF;
    const DumpRun run = Dump(dir, {"--format", "csv", dir.Write("ff.kiv", bytes)});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "kiv_file_type,index,enc_item_type,enc_item_size,dts,pts,reserved1\n"
                       "2,0,255,4294967295,8589934591,8589934591,63\n");
}

TEST(KivtoolDump, DirectoryInPlaceOfTheFile) {
    TempDir dir;
    const DumpRun run = Dump(dir, {dir.Path()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "kivtool: " + dir.Path() + ": cannot open: Is a directory\n");
}

TEST(KivtoolDump, UsageErrorsExitWithTwo) {
    TempDir dir;
    const std::string path = WriteAudioPair(dir);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "expected KIV_FILE"},
        {{"--format"}, "option '--format' needs a value"},
        {{"--format", "xml", path}, "unknown format 'xml' (text, csv or json)"},
        {{"--format=", path}, "unknown format '' (text, csv or json)"},
        {{"--colour", path}, "unknown option '--colour'"},
        {{path, path}, "expected KIV_FILE"},
    };
    const std::string usageStart = "usage: kivtool ";
    for (const auto& c : cases) {
        const DumpRun run = Dump(dir, c.first);
        EXPECT_EQ(run.status, 2) << c.second;
        EXPECT_EQ(run.out, "");
        const std::string head = "kivtool: " + c.second + "\n";
        EXPECT_EQ(run.err.substr(0, head.size() + usageStart.size()), head + usageStart);
        EXPECT_NE(run.err.find("kivtool dump   [--format text|csv|json] KIV_FILE\n"), std::string::npos) << run.err;
    }
    const DumpRun help = Dump(dir, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.substr(0, usageStart.size()), usageStart);
    EXPECT_EQ(help.err, "");
}

}  // namespace
