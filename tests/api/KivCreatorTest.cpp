// The creator over a scripted analyser: dispatch, texts kept from each outcome, start values,
// temporary folder, copies; and the notice's abort flag.
#include "KivCreator.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <thread>

#include "CEsFactoryTable.h"
#include "foundation/CTsMuxException.h"
#include "support/RecordingNotice.h"
#include "support/TempDir.h"

namespace {

using kiv_comp::CKivCreator;

// What the next scripted analyser does, and what the last one saw.
struct Script {
    enum Outcome { kSucceed, kFailWithMessage, kThrowMux, kThrowOther, kThrowInConstructor };
    Outcome outcome = kSucceed;
    std::string message, kivPath, tempPath, esPath;
    int constructed = 0, destroyed = 0;
    std::vector<uint64_t> starts;
    kiv_comp::CKivNotice* notice = nullptr;
} g_script;

// An analyser whose CreateKiv outcome is scripted and whose inputs are recorded.
class CScriptedEs : public ts_comp::es::CEs {
public:
    explicit CScriptedEs(const PRIVATE_LIBRARY::CL_CString& esPath) : CEs(esPath) {
        if (g_script.outcome == Script::kThrowInConstructor) throw ts_comp::CTsMuxException(15, g_script.message.c_str(), "", 0, "", "");
        ++g_script.constructed;
        g_script.esPath = m_esFilePath.GetString();
    }
    ~CScriptedEs() override { ++g_script.destroyed; }
    bool CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) override {
        Script& s = g_script;
        s.starts = startPtsList, s.kivPath = kivPath, s.tempPath = m_tempPath.GetString(), s.notice = m_notice;
        if (s.outcome == Script::kThrowMux) throw ts_comp::CTsMuxException(6, s.message.c_str(), "", 0, "file", "detail");
        if (s.outcome == Script::kThrowOther) throw std::runtime_error(s.message);
        m_errorMessage = s.message.c_str();
        return s.outcome == Script::kSucceed;
    }
    void GetXmlText(PRIVATE_LIBRARY::CL_CString& out) override { out = "<scripted/>"; }
};

const char kUnknown[] = "unknown es type.\n";
constexpr auto kLpcm = CKivCreator::ES_TYPE_HDMV_LPCM, kPg = CKivCreator::ES_TYPE_PG, kIg = CKivCreator::ES_TYPE_IG;
constexpr ts_comp::api::EsFactoryRow kRows[] = {{kLpcm, &ts_comp::api::MakeEs<CScriptedEs>},
                                                {kPg, &ts_comp::api::MakeEs<CScriptedEs>}, {kIg, &ts_comp::api::MakeEs<CScriptedEs>}};

// LPCM, PG and IG are served by the scripted analyser while a test runs; other kinds have none.
class Creator : public ::testing::Test {
protected:
    void SetUp() override { g_script = Script(), m_previous = ts_comp::api::CEsFactoryTable::Install(&m_table); }
    void TearDown() override { ts_comp::api::CEsFactoryTable::Install(m_previous); }
    bool Run(CKivCreator& creator, int type, std::vector<uint32_t> starts = {0}, kiv_comp::CKivNotice* notice = nullptr) {
        return creator.CreateKiv(static_cast<CKivCreator::ES_TYPE>(type), m_es.c_str(), m_dir.File("out.kiv").c_str(),
                                 std::move(starts), notice);
    }
    ts_comp::api::CEsFactoryTable m_table{kRows};
    const ts_comp::api::CEsFactoryTable* m_previous = nullptr;
    kiv_test::TempDir m_dir;
    std::string m_es = m_dir.Write("in.es", std::vector<uint8_t>(64, 0x5a));
};

// Each outcome: the result, the host's text (cut to 255 characters) and whether an analyser was built
// (and destroyed). The text before the call ("unknown es type." of kind 5) stays only after a success.
TEST_F(Creator, OutcomesGiveResultTextAndCleanUp) {
    const std::string m(400, 'm');
    const struct { int type; Script::Outcome outcome; std::string message; bool result; std::string text; int constructed; } cases[] = {
        {kPg, Script::kSucceed, "old", true, kUnknown, 1},
        {kPg, Script::kFailWithMessage, "", false, "", 1},
        {kPg, Script::kFailWithMessage, m.substr(0, 256), false, m.substr(0, 255), 1},
        {kPg, Script::kThrowMux, "\nstart pts is not set.", false, "\nstart pts is not set.", 1},
        {kPg, Script::kThrowMux, m, false, m.substr(0, 255), 1},
        {kPg, Script::kThrowInConstructor, "The es file is short.", false, "The es file is short.", 0},
        {0, Script::kSucceed, "", false, kUnknown, 0}, {11, Script::kSucceed, "", false, kUnknown, 0},
        {-1, Script::kSucceed, "", false, kUnknown, 0}, {INT_MIN, Script::kSucceed, "", false, kUnknown, 0},
        {INT_MAX, Script::kSucceed, "", false, kUnknown, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        CKivCreator creator;
        EXPECT_STREQ(creator.GetLastErrorMessage(), "");
        EXPECT_FALSE(Run(creator, 5));
        g_script = Script();
        g_script.outcome = c.outcome, g_script.message = c.message;
        EXPECT_EQ(Run(creator, c.type), c.result);
        EXPECT_EQ(creator.GetLastErrorMessage(), c.text);
        EXPECT_EQ(std::make_pair(g_script.constructed, g_script.destroyed), std::make_pair(c.constructed, c.constructed));
    }
    // Other exceptions pass through, the analyser destroyed.
    g_script.outcome = Script::kThrowOther;
    CKivCreator creator;
    EXPECT_THROW(Run(creator, kPg), std::runtime_error);
    EXPECT_STREQ(creator.GetLastErrorMessage(), "");
    EXPECT_EQ(g_script.destroyed, 1);
    EXPECT_FALSE(creator.CreateKiv(kLpcm, "/nonexistent/a.pcm", "x", {0}, nullptr));
    EXPECT_STREQ(creator.GetLastErrorMessage(), "File can not open.(/nonexistent/a.pcm)");
}

TEST_F(Creator, PassesPathsZeroExtendedStartsAndNotice) {
    CKivCreator creator;
    kiv_test::RecordingNotice notice;
    ASSERT_TRUE(Run(creator, kLpcm, {4294967295u, 0u, 2147483648u}, &notice));
    EXPECT_EQ(g_script.starts, (std::vector<uint64_t>{4294967295ull, 0ull, 2147483648ull}));
    EXPECT_EQ(g_script.esPath + g_script.kivPath, m_es + m_dir.File("out.kiv"));
    EXPECT_EQ(g_script.notice, &notice);
    ASSERT_TRUE(Run(creator, kPg, {}));
    EXPECT_TRUE(g_script.starts.empty() && g_script.notice == nullptr);
    EXPECT_EQ(g_script.constructed, 2) << "a fresh analyser for each call";
}

// The folder reaches interactive graphics only, cut to 255 characters; copies carry both texts.
TEST_F(Creator, TempPathAndCopies) {
    CKivCreator creator;
    ASSERT_TRUE(Run(creator, kIg));
    EXPECT_EQ(g_script.tempPath, "./");
    for (size_t length : {256, 255, 1}) {
        creator.SetTempPath(std::string(length, 'p').c_str());
        ASSERT_TRUE(Run(creator, kIg));
        EXPECT_EQ(g_script.tempPath, std::string(std::min<size_t>(length, 255), 'p'));
    }
    creator.SetTempPath("/tmp/a/");
    ASSERT_TRUE(Run(creator, kPg));
    EXPECT_EQ(g_script.tempPath, "./");
    EXPECT_FALSE(Run(creator, 5));
    CKivCreator copy(creator), assigned;
    assigned.SetTempPath("/other/");
    assigned = creator;
    creator.SetTempPath("/changed/");
    for (CKivCreator* c : {&copy, &assigned}) {
        EXPECT_STREQ(c->GetLastErrorMessage(), kUnknown);
        ASSERT_TRUE(Run(*c, kIg));
        EXPECT_EQ(g_script.tempPath, "/tmp/a/");
    }
}

TEST(CKivNotice, AbortFlagIsCopiedAndSeenAcrossThreads) {
    kiv_test::RecordingNotice source, target;
    EXPECT_FALSE(source.IsAborted());
    std::thread([&source] { source.Abort(); }).join();
    EXPECT_TRUE(source.IsAborted());
    kiv_test::RecordingNotice copy(source);
    source = target;
    EXPECT_FALSE(source.IsAborted());
    EXPECT_TRUE(copy.IsAborted()) << "a copy is independent of its source";
}

}  // namespace
