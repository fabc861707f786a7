// kivtool dump run as a program on files written by the writers: the three formats and the failures.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "kiv/CAudioKiv.h"
#include "kiv/CAudioKivItem.h"
#include "kiv/CGraphicsKiv.h"
#include "kiv/CGraphicsKivItem.h"
#include "kiv/CMvcDependentViewVideoKiv.h"
#include "kiv/CMvcDependentViewVideoKivItem.h"
#include "kiv/CVideoKiv.h"
#include "kiv/CVideoKivItem.h"
#include "support/ProcessRunner.h"
#include "support/TempDir.h"

namespace {

using kiv_test::Kivtool;
using kiv_test::TempDir;
using Fields = std::vector<std::pair<uint64_t, uint64_t>>;

int g_files = 0;

template <class Kiv, class Item>
std::string WriteItems(const TempDir& dir, const std::vector<Fields>& items) {
    Kiv kiv;
    Item item;
    const std::string path = dir.File(std::to_string(++g_files) + ".kiv");
    EXPECT_TRUE(kiv.Create(path.c_str()));
    for (const Fields& fields : items) {
        for (const auto& f : fields) item.SetValue(f.first, f.second);
        EXPECT_TRUE(kiv.WriteItem(item));
    }
    kiv.Close();
    return path;
}

const std::vector<Fields> kAudioPair = {{{0, 0}, {1, 964}, {2, 90000}, {3, 90000}},
                                        {{0, 255}, {1, 0}, {2, 0}, {3, 90450}}};

TEST(KivtoolDump, TextListsEveryFieldOfEveryItem) {
    TempDir dir;
    const std::string path = WriteItems<ts_comp::kiv::CAudioKiv, ts_comp::kiv::CAudioKivItem>(dir, kAudioPair);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"dump", path}, {"dump", "--format=text", path}}) {
        const kiv_test::ProcessRun run = Kivtool(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out,
                  "kiv_file_type : 2 (audio)\nitem_size : 14\nitem_count : 2\n"
                  "item 0 : enc_item_type=0 enc_item_size=964 dts=90000 pts=90000 reserved1=0\n"
                  "item 1 : enc_item_type=255 enc_item_size=0 dts=0 pts=90450 reserved1=0\n");
    }
}

TEST(KivtoolDump, CsvHasOneColumnPerField) {
    TempDir dir;
    const std::string path = WriteItems<ts_comp::kiv::CVideoKiv, ts_comp::kiv::CVideoKivItem>(
        dir, {{{0, 1}, {1, 1000}, {2, 3003}, {3, 6006}, {6, 1}, {7, 3}},
              {{0, 3}, {1, 20}, {2, 6006}, {3, (uint64_t{1} << 33) - 1}, {6, 0}, {7, 1}, {5, 1}}});
    const kiv_test::ProcessRun run = Kivtool({"dump", "--format", "csv", path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "kiv_file_type,index,enc_item_type,enc_item_size,dts,pts,reserved1,sequence_end_code,closed_gop,"
              "picture_structure,reserved2\n1,0,1,1000,3003,6006,0,0,1,3,0\n1,1,3,20,6006,8589934591,0,1,0,1,0\n");
}

// The document is checked by python's own JSON parser, then one query over it.
TEST(KivtoolDump, JsonParsesWithTheWrittenValues) {
    if (std::system("python3 -c pass >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is not installed";
    TempDir dir;
    const struct {
        std::string path;
        const char* query;
        const char* expected;
    } cases[] = {
        {WriteItems<ts_comp::kiv::CGraphicsKiv, ts_comp::kiv::CGraphicsKivItem>(
             dir, {{{0, 0x16}, {1, 30}, {2, 100}, {3, 200}, {5, 2}}, {{0, 0x15}, {1, 4000}, {6, 1}, {7, 1}},
                   {{0, 255}, {1, 0}, {2, 0}, {3, 9000}, {5, 0}, {6, 0}, {7, 0}}}),
         "d['kiv_file_type'], d['item_count'], [(i['index'], i['enc_item_type'], i['enc_sub_item_type'], "
         "i['first_in_sequence_flag'], i['last_in_sequence_flag'], i['pts']) for i in d['items']]",
         "3 3 [(0, 22, 2, 0, 0, 200), (1, 21, 2, 1, 1, 200), (2, 255, 0, 0, 0, 9000)]\n"},
        {WriteItems<ts_comp::kiv::CMvcDependentViewVideoKiv, ts_comp::kiv::CMvcDependentViewVideoKivItem>(
             dir, {{{0, 2}, {1, 777}, {9, 0x12345678}, {10, 0xFFFFFFFF}}}),
         "d['type_name'], d['item_size'], sorted(d['items'][0].items())",
         "mvc_dependent_view 23 [('closed_gop', 0), ('dts', 0), ('enc_item_size', 777), ('enc_item_type', 2), "
         "('index', 0), ('offset_metadata_pos', 305419896), ('offset_metadata_size', 4294967295), "
         "('picture_structure', 0), ('pts', 0), ('reserved1', 0), ('reserved2', 0), ('sequence_end_code', 0)]\n"},
        {WriteItems<ts_comp::kiv::CGraphicsKiv, ts_comp::kiv::CGraphicsKivItem>(dir, {}), "d['item_count'], d['items']",
         "0 []\n"},
    };
    for (const auto& c : cases) {
        const kiv_test::ProcessRun run = Kivtool({"dump", "--format", "json", c.path});
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string json = dir.Write("out.json", std::vector<uint8_t>(run.out.begin(), run.out.end()));
        const kiv_test::ProcessRun py = kiv_test::RunProcess(
            "/usr/bin/env", {"python3", "-c", std::string("import json,sys\nd=json.load(open(sys.argv[1]))\nprint(") +
                                                  c.query + ")", json});
        EXPECT_EQ(py.out, c.expected) << py.err << run.out;
    }
}

struct FailureCase {
    const char* name;
    std::vector<uint8_t> content;  // written to the file unless the name says it is missing or a folder
    const char* err;               // after "kivtool: PATH: "
};

class KivtoolDumpFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(KivtoolDumpFailure, ExitsWithOneAndAClearMessage) {
    TempDir dir;
    const FailureCase& c = GetParam();
    const std::string name = c.name;
    const std::string path = name == "Missing" ? dir.File("missing.kiv") : name == "Folder" ? dir.Path()
                                                                                           : dir.Write("bad.kiv", c.content);
    const kiv_test::ProcessRun run = Kivtool({"dump", "--format", "json", path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "kivtool: " + path + ": " + c.err + "\n");
}

std::vector<uint8_t> AudioHeaderAnd(size_t payload) {
    std::vector<uint8_t> bytes{0, 0, 0, 2};
    bytes.resize(4 + payload, 0xAB);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, KivtoolDumpFailure,
    ::testing::Values(
        FailureCase{"Missing", {}, "cannot open: No such file or directory"},
        FailureCase{"Folder", {}, "cannot open: Is a directory"},
        FailureCase{"Empty", {}, "not a KIV file: 0 bytes, shorter than the 4-byte kiv_file_type"},
        FailureCase{"ShortHeader", {0, 0, 0}, "not a KIV file: 3 bytes, shorter than the 4-byte kiv_file_type"},
        FailureCase{"UnusedType4", {0, 0, 0, 4, 1, 2},
                    "unknown kiv_file_type 4 (known: 1 video, 2 audio, 3 graphics, 5 MVC dependent view)"},
        FailureCase{"TextFile", {'<', '?', 'x', 'm', 'l'},
                    "unknown kiv_file_type 1010792557 (known: 1 video, 2 audio, 3 graphics, 5 MVC dependent view)"},
        FailureCase{"TruncatedLastItem", AudioHeaderAnd(14 * 3 + 5),
                    "truncated last item: 5 bytes after 3 whole items of 14 bytes"},
        FailureCase{"OnlyAPartialItem", AudioHeaderAnd(13), "truncated last item: 13 bytes after 0 whole items of 14 bytes"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(KivtoolDump, GarbageAfterAValidTypeIsShownAsIs) {
    TempDir dir;
    std::vector<uint8_t> bytes = AudioHeaderAnd(14);
    for (size_t i = 4; i < bytes.size(); ++i) bytes[i] = 0xFF;
    const kiv_test::ProcessRun run = Kivtool({"dump", "--format", "csv", dir.Write("ff.kiv", bytes)});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "kiv_file_type,index,enc_item_type,enc_item_size,dts,pts,reserved1\n"
                       "2,0,255,4294967295,8589934591,8589934591,63\n");
}

}  // namespace
