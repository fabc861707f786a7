// Replays every fuzz seed and every reproducer of a past finding through the creator, so the
// sanitizer build of the ordinary suite checks them without clang's fuzzer.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "KivCreator.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using kiv_comp::CKivCreator;

namespace {

// A target folder is named <kind>_<what>; the graphics parser's inputs are fed as both graphics kinds.
std::vector<CKivCreator::ES_TYPE> KindsOf(const std::string& target) {
    static const std::map<std::string, std::vector<CKivCreator::ES_TYPE>> kinds = {
        {"mpeg2", {CKivCreator::ES_TYPE_MPEG2_VIDEO}}, {"avc", {CKivCreator::ES_TYPE_AVC_VIDEO}},
        {"vc1", {CKivCreator::ES_TYPE_VC1_VIDEO}},     {"lpcm", {CKivCreator::ES_TYPE_HDMV_LPCM}},
        {"ac3", {CKivCreator::ES_TYPE_AC3}},           {"dts", {CKivCreator::ES_TYPE_DTS}},
        {"mlp", {CKivCreator::ES_TYPE_MLP}},           {"dra", {CKivCreator::ES_TYPE_DRA}},
        {"pg", {CKivCreator::ES_TYPE_PG}},             {"ig", {CKivCreator::ES_TYPE_IG}},
        {"graphics", {CKivCreator::ES_TYPE_PG, CKivCreator::ES_TYPE_IG}}};
    const auto it = kinds.find(target.substr(0, target.find('_')));
    return it == kinds.end() ? std::vector<CKivCreator::ES_TYPE>{} : it->second;
}

std::vector<std::string> TargetFolders() {
    std::vector<std::string> folders;
    for (const char* group : {"corpus", "regressions"}) {
        const fs::path dir = fs::path(KIV_FUZZ_DIR) / group;
        if (!fs::is_directory(dir)) continue;
        for (const auto& entry : fs::directory_iterator(dir)) {
            if (entry.is_directory()) folders.push_back(std::string(group) + "/" + entry.path().filename().string());
        }
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

class CorpusReplay : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusReplay, EveryInputEndsWithAResultAndNoException) {
    const std::string target = fs::path(GetParam()).filename().string();
    const auto kinds = KindsOf(target);
    ASSERT_FALSE(kinds.empty()) << "no stream kind for fuzz target folder " << GetParam();
    std::vector<uint32_t> starts;
    for (uint32_t i = 0; i < 64; ++i) starts.push_back(90000 + i * 90000);
    kiv_test::TempDir temp;
    for (const auto& entry : fs::directory_iterator(fs::path(KIV_FUZZ_DIR) / GetParam())) {
        for (const auto kind : kinds) {
            SCOPED_TRACE(entry.path().string() + " as kind " + std::to_string(kind));
            CKivCreator creator;
            creator.SetTempPath((temp.Path() + "/").c_str());
            EXPECT_NO_THROW(creator.CreateKiv(kind, entry.path().c_str(), temp.File("out.kiv").c_str(), starts, nullptr));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fuzz, CorpusReplay, ::testing::ValuesIn(TargetFolders()),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '/', '_');
                             return name;
                         });

}  // namespace
