// Replays every fuzz seed and every reproducer of a past finding through the creator, so the
// sanitizer build of the ordinary suite checks them without clang's fuzzer.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "FuzzStarts.h"
#include "KivCreator.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using kiv_comp::CKivCreator;

std::vector<std::string> TargetFolders() {
    std::vector<std::string> folders;
    for (const char* group : {"corpus", "regressions"}) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(fs::path(KIV_FUZZ_DIR) / group, ec)) {
            if (entry.is_directory()) folders.push_back(std::string(group) + "/" + entry.path().filename().string());
        }
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

class CorpusReplay : public ::testing::TestWithParam<std::string> {};

// A target folder is named <kind>_<what>; the graphics parser's inputs are fed as both graphics kinds.
TEST_P(CorpusReplay, EveryInputEndsWithAResultAndNoException) {
    static const std::map<std::string, std::vector<int>> kKinds = {{"mpeg2", {1}}, {"avc", {2}}, {"vc1", {3}}, {"lpcm", {4}},
        {"ac3", {5}}, {"dts", {6}}, {"mlp", {7}}, {"dra", {8}}, {"pg", {9}}, {"ig", {10}}, {"graphics", {9, 10}}};
    const std::string target = fs::path(GetParam()).filename().string();
    const auto kinds = kKinds.find(target.substr(0, target.find('_')));
    ASSERT_NE(kinds, kKinds.end()) << "no stream kind for fuzz target folder " << GetParam();
    kiv_test::TempDir temp;
    for (const auto& entry : fs::directory_iterator(fs::path(KIV_FUZZ_DIR) / GetParam())) {
        for (const int kind : kinds->second) {
            SCOPED_TRACE(entry.path().string() + " as kind " + std::to_string(kind));
            CKivCreator creator;
            creator.SetTempPath((temp.Path() + "/").c_str());
            EXPECT_NO_THROW(creator.CreateKiv(static_cast<CKivCreator::ES_TYPE>(kind), entry.path().c_str(),
                                              temp.File("out.kiv").c_str(), kiv_fuzz::StartValues(kind), nullptr));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fuzz, CorpusReplay, ::testing::ValuesIn(TargetFolders()), [](const auto& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
});

}  // namespace
