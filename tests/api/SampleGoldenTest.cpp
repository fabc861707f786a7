// Every bundled sample samples/NAME.EXT that has NAME.txt and NAME.xml beside it: the analyser's
// report and the XML file it writes match them byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "CEsFactoryTable.h"
#include "KivCreator.h"
#include "support/TempDir.h"

namespace kiv_test {
namespace {

namespace fs = std::filesystem;
using kiv_comp::CKivCreator;

// Stream kind by file extension; a new kind's sample only needs one of these names.
const std::map<std::string, CKivCreator::ES_TYPE> kKindByExtension = {
    {".m2v", CKivCreator::ES_TYPE_MPEG2_VIDEO}, {".264", CKivCreator::ES_TYPE_AVC_VIDEO}, {".h264", CKivCreator::ES_TYPE_AVC_VIDEO},
    {".mvc", CKivCreator::ES_TYPE_AVC_VIDEO}, {".vc1", CKivCreator::ES_TYPE_VC1_VIDEO}, {".lpcm", CKivCreator::ES_TYPE_HDMV_LPCM},
    {".ac3", CKivCreator::ES_TYPE_AC3}, {".eac3", CKivCreator::ES_TYPE_AC3}, {".dts", CKivCreator::ES_TYPE_DTS},
    {".dtshd", CKivCreator::ES_TYPE_DTS}, {".mlp", CKivCreator::ES_TYPE_MLP}, {".dra", CKivCreator::ES_TYPE_DRA},
    {".pgs", CKivCreator::ES_TYPE_PG}, {".igs", CKivCreator::ES_TYPE_IG}};

// Fixed at build time: the samples are listed when the tests are, outside ctest's environment.
std::vector<std::string> Samples() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(KIV_SAMPLES_DIR, ec)) {
        const fs::path p = entry.path();
        if (kKindByExtension.count(p.extension().string()) == 1 && fs::exists(fs::path(p).replace_extension(".txt")) &&
            fs::exists(fs::path(p).replace_extension(".xml"))) {
            names.push_back(p.filename().string());
        }
    }
    return names;
}

class SampleGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(SampleGolden, ReportAndXmlMatchTheFilesBeside) {
    const fs::path es = fs::path(KIV_SAMPLES_DIR) / GetParam();
    const CKivCreator::ES_TYPE kind = kKindByExtension.at(es.extension().string());
    const auto analyser = ts_comp::api::CEsFactoryTable::BuiltIn().Find(kind)(PRIVATE_LIBRARY::CL_CString(es.c_str()));
    // The texts after a whole pass, as kivtool gives them: some values (fields of a GOP, still pictures)
    // are known only then. One start value where the kind takes only one, else one per sequence or set.
    const bool one = kind == CKivCreator::ES_TYPE_HDMV_LPCM || kind == CKivCreator::ES_TYPE_MLP || kind == CKivCreator::ES_TYPE_DRA;
    TempDir dir;
    ASSERT_TRUE(analyser->CreateKiv(dir.File("a.kiv").c_str(), std::vector<uint64_t>(one ? 1 : 64, 900000)));
    PRIVATE_LIBRARY::CL_CString report;
    analyser->GetReportText(report);
    EXPECT_EQ(report.GetString(), TempDir::Text(fs::path(es).replace_extension(".txt")));
    ASSERT_TRUE(analyser->WriteXmlFile(dir.File("a.xml").c_str()));
    EXPECT_EQ(TempDir::Text(dir.File("a.xml")), TempDir::Text(fs::path(es).replace_extension(".xml")));
}

INSTANTIATE_TEST_SUITE_P(Bundled, SampleGolden, ::testing::ValuesIn(Samples()), [](const auto& info) {
    std::string name = info.param;
    for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});

}  // namespace
}  // namespace kiv_test
