// The creator over a scripted analyser: dispatch, texts kept from each outcome, start values,
// temporary folder, copies; and the notice's abort flag.
#include "KivCreator.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <thread>

#include "CEsFactoryTable.h"
#include "ScriptedEs.h"
#include "support/RecordingNotice.h"
#include "support/TempDir.h"

namespace {

using kiv_comp::CKivCreator;
using kiv_test::CurrentScript;
using kiv_test::Script;
using ts_comp::api::CEsFactoryTable;
using ts_comp::api::EsFactoryRow;
using ts_comp::api::MakeEs;

const char kUnknown[] = "unknown es type.\n";

// Every kind in the table is served by the scripted analyser while a test runs.
class Creator : public ::testing::Test {
protected:
    void SetUp() override {
        CurrentScript() = Script();
        m_previous = CEsFactoryTable::Install(&m_table);
        m_es = m_dir.Write("in.es", std::vector<uint8_t>(64, 0x5a));
    }
    void TearDown() override { CEsFactoryTable::Install(m_previous); }
    bool Run(CKivCreator& creator, CKivCreator::ES_TYPE type, std::vector<uint32_t> starts = {0},
             kiv_comp::CKivNotice* notice = nullptr) {
        return creator.CreateKiv(type, m_es.c_str(), m_dir.File("out.kiv").c_str(), std::move(starts), notice);
    }
    static constexpr EsFactoryRow kRows[] = {{CKivCreator::ES_TYPE_HDMV_LPCM, &MakeEs<kiv_test::CScriptedEs>},
                                             {CKivCreator::ES_TYPE_PG, &MakeEs<kiv_test::CScriptedEs>},
                                             {CKivCreator::ES_TYPE_IG, &MakeEs<kiv_test::CScriptedEs>}};
    CEsFactoryTable m_table{kRows};
    const CEsFactoryTable* m_previous = nullptr;
    kiv_test::TempDir m_dir;
    std::string m_es;
};

// Each outcome of the analyser: the result, the host's text (cut to 255 characters), and whether an
// analyser was built and destroyed. The text of an earlier failure ("old") stays only after success.
TEST_F(Creator, OutcomesGiveResultTextAndCleanUp) {
    const std::string longText(400, 'm');
    const struct {
        Script::Outcome outcome;
        std::string message;
        bool result;
        std::string text;
        int constructed;
    } cases[] = {
        {Script::kSucceed, "", true, "old", 1},
        {Script::kFailWithMessage, "", false, "", 1},
        {Script::kFailWithMessage, longText.substr(0, 256), false, longText.substr(0, 255), 1},
        {Script::kThrowMux, "\nstart pts is not set.", false, "\nstart pts is not set.", 1},
        {Script::kThrowMux, longText, false, longText.substr(0, 255), 1},
        {Script::kThrowInConstructor, "The es file is short.", false, "The es file is short.", 0},
    };
    for (const auto& c : cases) {
        CKivCreator creator;
        EXPECT_STREQ(creator.GetLastErrorMessage(), "");
        EXPECT_FALSE(creator.CreateKiv(static_cast<CKivCreator::ES_TYPE>(5), "", "", {}, nullptr));
        EXPECT_STREQ(creator.GetLastErrorMessage(), kUnknown) << "a kind without analyser";
        CurrentScript() = Script();
        CurrentScript().outcome = c.outcome;
        CurrentScript().message = c.message;
        if (c.result) CurrentScript().message = "old";
        EXPECT_EQ(Run(creator, CKivCreator::ES_TYPE_PG), c.result);
        EXPECT_EQ(creator.GetLastErrorMessage(), c.result ? kUnknown : c.text) << c.message;
        EXPECT_EQ(CurrentScript().constructed, c.constructed);
        EXPECT_EQ(CurrentScript().destroyed, c.constructed);
    }
    CurrentScript().outcome = Script::kThrowOther;
    CKivCreator creator;
    EXPECT_THROW(Run(creator, CKivCreator::ES_TYPE_PG), std::runtime_error);
    EXPECT_STREQ(creator.GetLastErrorMessage(), "");
    EXPECT_EQ(CurrentScript().destroyed, 1) << "other exceptions pass through, the analyser destroyed";
}

TEST_F(Creator, UnknownKindsAndMissingFilesTouchNothing) {
    for (int type : {0, 11, -1, INT_MIN, INT_MAX}) {
        CKivCreator creator;
        kiv_test::RecordingNotice notice;
        EXPECT_FALSE(creator.CreateKiv(static_cast<CKivCreator::ES_TYPE>(type), m_es.c_str(),
                                       m_dir.File("out.kiv").c_str(), {0}, &notice));
        EXPECT_STREQ(creator.GetLastErrorMessage(), kUnknown) << type;
        EXPECT_EQ(notice.polls, 0);
    }
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("out.kiv")));
    CKivCreator creator;
    EXPECT_FALSE(creator.CreateKiv(CKivCreator::ES_TYPE_HDMV_LPCM, "/nonexistent/a.pcm", "x", {0}, nullptr));
    EXPECT_STREQ(creator.GetLastErrorMessage(), "File can not open.(/nonexistent/a.pcm)");
    EXPECT_EQ(CurrentScript().constructed, 0);
}

TEST_F(Creator, PassesPathsZeroExtendedStartsAndNotice) {
    CKivCreator creator;
    kiv_test::RecordingNotice notice;
    ASSERT_TRUE(Run(creator, CKivCreator::ES_TYPE_HDMV_LPCM, {4294967295u, 0u, 2147483648u}, &notice));
    EXPECT_EQ(CurrentScript().starts, (std::vector<uint64_t>{4294967295ull, 0ull, 2147483648ull}));
    EXPECT_EQ(CurrentScript().esPath, m_es);
    EXPECT_EQ(CurrentScript().kivPath, m_dir.File("out.kiv"));
    EXPECT_EQ(CurrentScript().notice, &notice);
    ASSERT_TRUE(Run(creator, CKivCreator::ES_TYPE_PG, {}));
    EXPECT_TRUE(CurrentScript().starts.empty());
    EXPECT_EQ(CurrentScript().notice, nullptr);
    EXPECT_EQ(CurrentScript().constructed, 2) << "a fresh analyser for each call";
}

// The folder reaches interactive graphics only, cut to 255 characters; copies carry both texts.
TEST_F(Creator, TempPathAndCopies) {
    CKivCreator creator;
    ASSERT_TRUE(Run(creator, CKivCreator::ES_TYPE_IG));
    EXPECT_EQ(CurrentScript().tempPath, "./");
    for (size_t length : {size_t{256}, size_t{255}, size_t{1}}) {
        const std::string path(length, 'p');
        creator.SetTempPath(path.c_str());
        ASSERT_TRUE(Run(creator, CKivCreator::ES_TYPE_IG));
        EXPECT_EQ(CurrentScript().tempPath, path.substr(0, 255));
    }
    creator.SetTempPath("/tmp/a/");
    ASSERT_TRUE(Run(creator, CKivCreator::ES_TYPE_PG));
    EXPECT_EQ(CurrentScript().tempPath, "./");
    EXPECT_FALSE(creator.CreateKiv(static_cast<CKivCreator::ES_TYPE>(5), "", "", {}, nullptr));
    CKivCreator copy(creator), assigned;
    assigned.SetTempPath("/other/");
    assigned = creator;
    creator.SetTempPath("/changed/");
    for (CKivCreator* c : {&copy, &assigned}) {
        EXPECT_STREQ(c->GetLastErrorMessage(), kUnknown);
        ASSERT_TRUE(Run(*c, CKivCreator::ES_TYPE_IG));
        EXPECT_EQ(CurrentScript().tempPath, "/tmp/a/");
    }
}

TEST(CKivNotice, AbortFlagIsCopiedAndSeenAcrossThreads) {
    kiv_test::RecordingNotice source, target;
    EXPECT_FALSE(source.IsAborted());
    std::thread([&source] { source.Abort(); }).join();
    EXPECT_TRUE(source.IsAborted());
    kiv_test::RecordingNotice copy(source);
    EXPECT_TRUE(copy.IsAborted());
    source = target;
    EXPECT_FALSE(source.IsAborted());
    EXPECT_TRUE(copy.IsAborted()) << "a copy is independent of its source";
}

}  // namespace
