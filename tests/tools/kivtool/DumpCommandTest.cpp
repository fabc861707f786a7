// kivtool dump run as a program on files written by the writers and on broken files.
#include <gtest/gtest.h>

#include "kiv/CKiv.h"
#include "kiv/CKivFactory.h"
#include "kiv/CKivItem.h"
#include "support/ProcessRunner.h"

namespace {

using kiv_test::TempDir;
using Fields = std::vector<std::pair<uint64_t, uint64_t>>;  // member id, value

// The bytes the writer of kiv_file_type `type` writes for the items.
std::vector<uint8_t> Written(uint32_t type, const std::vector<Fields>& items) {
    TempDir dir;
    const auto kiv = ts_comp::kiv::CKivFactory::MakeKiv(type);
    const auto item = ts_comp::kiv::CKivFactory::MakeItem(type);
    EXPECT_TRUE(kiv->Create(dir.File("w.kiv").c_str()));
    for (const Fields& fields : items) {
        for (const auto& [id, value] : fields) item->SetValue(id, value);
        EXPECT_TRUE(kiv->WriteItem(*item));
    }
    kiv->Close();
    return TempDir::Read(dir.File("w.kiv"));
}

std::vector<uint8_t> AudioHeaderAnd(size_t payload, uint8_t fill) {
    std::vector<uint8_t> bytes{0, 0, 0, 2};
    bytes.resize(4 + payload, fill);
    return bytes;
}

// format "" gives no --format; err follows "kivtool: PATH: ". "Missing" and "Folder" name no file.
struct DumpCase {
    const char* name;
    std::vector<uint8_t> file;
    std::string format, out, err = {};
};

class KivtoolDump : public ::testing::TestWithParam<DumpCase> {};

TEST_P(KivtoolDump, PrintsItemsOrFails) {
    TempDir dir;
    const DumpCase& c = GetParam();
    const std::string name = c.name;
    const std::string path = name == "Missing" ? dir.File("none") : name == "Folder" ? dir.Path() : dir.Write("a.kiv", c.file);
    std::vector<std::string> args{"dump", path};
    if (!c.format.empty()) args.insert(args.begin() + 1, "--format=" + c.format);
    const kiv_test::ProcessRun run = kiv_test::Kivtool(args);
    EXPECT_EQ(run.status, c.err.empty() ? 0 : 1);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err.empty() ? "" : "kivtool: " + path + ": " + c.err + "\n");
}

const std::vector<Fields> kAudioPair = {{{0, 0}, {1, 964}, {2, 90000}, {3, 90000}}, {{0, 255}, {1, 0}, {2, 0}, {3, 90450}}};
const char kAudioText[] = "kiv_file_type : 2 (audio)\nitem_size : 14\nitem_count : 2\n"
    "item 0 : enc_item_type=0 enc_item_size=964 dts=90000 pts=90000 reserved1=0\n"
    "item 1 : enc_item_type=255 enc_item_size=0 dts=0 pts=90450 reserved1=0\n";
std::string UnknownType(uint32_t type) {
    return "unknown kiv_file_type " + std::to_string(type) + " (known: 1 video, 2 audio, 3 graphics, 5 MVC dependent view)";
}

INSTANTIATE_TEST_SUITE_P(Files, KivtoolDump, ::testing::Values(
    DumpCase{"Text", Written(2, kAudioPair), "", kAudioText},
    DumpCase{"TextByName", Written(2, kAudioPair), "text", kAudioText},
    DumpCase{"VideoCsv", Written(1, {{{0, 1}, {1, 1000}, {2, 3003}, {3, 6006}, {6, 1}, {7, 3}},
                                     {{0, 3}, {1, 20}, {2, 6006}, {3, (uint64_t{1} << 33) - 1}, {6, 0}, {7, 1}, {5, 1}}}), "csv",
             "kiv_file_type,index,enc_item_type,enc_item_size,dts,pts,reserved1,sequence_end_code,closed_gop,picture_structure,"
             "reserved2\n1,0,1,1000,3003,6006,0,0,1,3,0\n1,1,3,20,6006,8589934591,0,1,0,1,0\n"},
    DumpCase{"MvcCsv", Written(5, {{{0, 2}, {1, 777}, {9, 0x12345678}, {10, 0xFFFFFFFF}}}), "csv",
             "kiv_file_type,index,enc_item_type,enc_item_size,dts,pts,reserved1,sequence_end_code,closed_gop,picture_structure,"
             "reserved2,offset_metadata_pos,offset_metadata_size\n5,0,2,777,0,0,0,0,0,0,0,305419896,4294967295\n"},
    DumpCase{"GraphicsJson", Written(3, {{{0, 0x16}, {1, 30}, {2, 100}, {3, 200}, {5, 2}}, {{0, 255}, {1, 0}, {2, 0}, {3, 9000},
                                         {5, 0}, {6, 1}, {7, 1}}}), "json",
             "{\n  \"kiv_file_type\": 3,\n  \"type_name\": \"graphics\",\n  \"item_size\": 15,\n  \"item_count\": 2,\n  \"items\": [\n"
             "    {\"index\": 0, \"enc_item_type\": 22, \"enc_item_size\": 30, \"dts\": 100, \"pts\": 200, \"reserved1\": 0, "
             "\"enc_sub_item_type\": 2, \"first_in_sequence_flag\": 0, \"last_in_sequence_flag\": 0, \"reserved2\": 0},\n"
             "    {\"index\": 1, \"enc_item_type\": 255, \"enc_item_size\": 0, \"dts\": 0, \"pts\": 9000, \"reserved1\": 0, "
             "\"enc_sub_item_type\": 0, \"first_in_sequence_flag\": 1, \"last_in_sequence_flag\": 1, \"reserved2\": 0}\n  ]\n}\n"},
    DumpCase{"EmptyJson", Written(3, {}), "json",
             "{\n  \"kiv_file_type\": 3,\n  \"type_name\": \"graphics\",\n  \"item_size\": 15,\n  \"item_count\": 0,\n  \"items\": []\n}\n"},
    DumpCase{"GarbageShownAsIs", AudioHeaderAnd(14, 0xFF), "csv",
             "kiv_file_type,index,enc_item_type,enc_item_size,dts,pts,reserved1\n2,0,255,4294967295,8589934591,8589934591,63\n"},
    DumpCase{"Missing", {}, "json", "", "cannot open: No such file or directory"},
    DumpCase{"Folder", {}, "json", "", "cannot open: Is a directory"},
    DumpCase{"Empty", {}, "json", "", "not a KIV file: 0 bytes, shorter than the 4-byte kiv_file_type"},
    DumpCase{"ShortHeader", {0, 0, 0}, "", "", "not a KIV file: 3 bytes, shorter than the 4-byte kiv_file_type"},
    DumpCase{"UnusedType4", {0, 0, 0, 4, 1, 2}, "json", "", UnknownType(4)},
    DumpCase{"TextFile", {'<', '?', 'x', 'm', 'l'}, "json", "", UnknownType(0x3C3F786D)},
    DumpCase{"TruncatedLastItem", AudioHeaderAnd(14 * 3 + 5, 0xAB), "json", "", "truncated last item: 5 bytes after 3 whole items of 14 bytes"},
    DumpCase{"OnlyAPartialItem", AudioHeaderAnd(13, 0xAB), "csv", "", "truncated last item: 13 bytes after 0 whole items of 14 bytes"}),
    [](const ::testing::TestParamInfo<DumpCase>& info) { return std::string(info.param.name); });

}  // namespace
