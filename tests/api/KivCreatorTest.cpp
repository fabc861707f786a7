// The creator: refusal of unknown kinds, its two texts, copies, and the driver steps around an analyser.
#include "KivCreator.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>

#include "CEsFactoryTable.h"
#include "ScriptedEs.h"
#include "support/TempDir.h"

namespace {

using kiv_comp::CKivCreator;
using kiv_test::CurrentScript;
using kiv_test::Script;
using ts_comp::api::CEsFactoryTable;
using ts_comp::api::EsFactoryRow;
using ts_comp::api::MakeEs;

const char kUnknown[] = "unknown es type.\n";

class CountingNotice : public kiv_comp::CKivNotice {
public:
    void NotifyProgress(int64_t, int64_t) override { ++calls; }
    int calls = 0;
};

// Every kind is served by the scripted analyser while a test runs.
class CreatorWithScriptedEs : public ::testing::Test {
protected:
    void SetUp() override {
        CurrentScript() = Script();
        m_previous = CEsFactoryTable::Install(&m_table);
        m_es = m_dir.Write("in.es", std::vector<uint8_t>(64, 0x5a));
        m_kiv = m_dir.File("out.kiv");
    }
    void TearDown() override { CEsFactoryTable::Install(m_previous); }

    bool Run(CKivCreator& creator, CKivCreator::ES_TYPE type, std::vector<uint32_t> starts,
             kiv_comp::CKivNotice* notice = nullptr) {
        return creator.CreateKiv(type, m_es.c_str(), m_kiv.c_str(), std::move(starts), notice);
    }

    static constexpr EsFactoryRow kRows[] = {
        {CKivCreator::ES_TYPE_MPEG2_VIDEO, &MakeEs<kiv_test::CScriptedEs>},
        {CKivCreator::ES_TYPE_HDMV_LPCM, &MakeEs<kiv_test::CScriptedEs>},
        {CKivCreator::ES_TYPE_PG, &MakeEs<kiv_test::CScriptedEs>},
        {CKivCreator::ES_TYPE_IG, &MakeEs<kiv_test::CScriptedEs>},
    };
    CEsFactoryTable m_table{kRows};
    const CEsFactoryTable* m_previous = nullptr;
    kiv_test::TempDir m_dir;
    std::string m_es;
    std::string m_kiv;
};

TEST(CKivCreator, StartsWithEmptyErrorText) {
    CKivCreator creator;
    EXPECT_STREQ("", creator.GetLastErrorMessage());
}

class UnknownType : public ::testing::TestWithParam<int> {};

TEST_P(UnknownType, IsRefusedWithoutTouchingAnyFile) {
    kiv_test::TempDir dir;
    const std::string es = dir.Write("in.es", std::vector<uint8_t>(200, 0));
    const std::string kiv = dir.File("out.kiv");
    CKivCreator creator;
    CountingNotice notice;
    EXPECT_FALSE(creator.CreateKiv(static_cast<CKivCreator::ES_TYPE>(GetParam()), es.c_str(), kiv.c_str(),
                                   {0}, &notice));
    EXPECT_STREQ(kUnknown, creator.GetLastErrorMessage());
    EXPECT_FALSE(std::filesystem::exists(kiv));
    EXPECT_EQ(0, notice.calls);
    EXPECT_FALSE(notice.IsAborted());
}

INSTANTIATE_TEST_SUITE_P(OutsideTheTable, UnknownType, ::testing::Values(0, 11, 12, -1, 255, INT_MIN, INT_MAX));

TEST(CKivCreator, KindWithoutAnalyserIsRefusedAsUnknown) {
    // An empty table stands for a build in which no analyser is present yet.
    const EsFactoryRow none[] = {{0, nullptr}};
    const CEsFactoryTable empty(none);
    const CEsFactoryTable* previous = CEsFactoryTable::Install(&empty);
    for (int type = 1; type <= 10; ++type) {
        CKivCreator creator;
        EXPECT_FALSE(creator.CreateKiv(static_cast<CKivCreator::ES_TYPE>(type), "/nonexistent/in", "/nonexistent/out",
                                       {0}, nullptr))
            << type;
        EXPECT_STREQ(kUnknown, creator.GetLastErrorMessage()) << type;
    }
    CEsFactoryTable::Install(previous);
}

TEST(CKivCreator, EnumValuesAreTheKindNumbers) {
    EXPECT_EQ(1, CKivCreator::ES_TYPE_MPEG2_VIDEO);
    EXPECT_EQ(2, CKivCreator::ES_TYPE_AVC_VIDEO);
    EXPECT_EQ(3, CKivCreator::ES_TYPE_VC1_VIDEO);
    EXPECT_EQ(4, CKivCreator::ES_TYPE_HDMV_LPCM);
    EXPECT_EQ(5, CKivCreator::ES_TYPE_AC3);
    EXPECT_EQ(6, CKivCreator::ES_TYPE_DTS);
    EXPECT_EQ(7, CKivCreator::ES_TYPE_MLP);
    EXPECT_EQ(8, CKivCreator::ES_TYPE_DRA);
    EXPECT_EQ(9, CKivCreator::ES_TYPE_PG);
    EXPECT_EQ(10, CKivCreator::ES_TYPE_IG);
}

TEST_F(CreatorWithScriptedEs, MissingEsFileReportsTheOpenFailure) {
    CKivCreator creator;
    EXPECT_FALSE(creator.CreateKiv(CKivCreator::ES_TYPE_HDMV_LPCM, "/nonexistent/a.pcm", m_kiv.c_str(), {0}, nullptr));
    EXPECT_STREQ("File can not open.(/nonexistent/a.pcm)", creator.GetLastErrorMessage());
    EXPECT_EQ(0, CurrentScript().constructed);
    EXPECT_EQ(0, CurrentScript().destroyed);
}

TEST_F(CreatorWithScriptedEs, StartValuesAreZeroExtended) {
    CKivCreator creator;
    ASSERT_TRUE(Run(creator, CKivCreator::ES_TYPE_HDMV_LPCM, {4294967295u, 0u, 2147483648u, 1000u}));
    const std::vector<uint64_t> expected = {4294967295ull, 0ull, 2147483648ull, 1000ull};
    EXPECT_EQ(expected, CurrentScript().starts);
    EXPECT_EQ(m_kiv, CurrentScript().kivPath);
    EXPECT_EQ(m_es, CurrentScript().esPath);
    EXPECT_EQ(1, CurrentScript().destroyed);
}

TEST_F(CreatorWithScriptedEs, EmptyStartListStaysEmpty) {
    CKivCreator creator;
    ASSERT_TRUE(Run(creator, CKivCreator::ES_TYPE_PG, {}));
    EXPECT_TRUE(CurrentScript().starts.empty());
}

TEST_F(CreatorWithScriptedEs, NoticeIsHandedToTheAnalyser) {
    CKivCreator creator;
    CountingNotice notice;
    ASSERT_TRUE(Run(creator, CKivCreator::ES_TYPE_PG, {0}, &notice));
    EXPECT_EQ(&notice, CurrentScript().notice);
    ASSERT_TRUE(Run(creator, CKivCreator::ES_TYPE_PG, {0}, nullptr));
    EXPECT_EQ(nullptr, CurrentScript().notice);
}

TEST_F(CreatorWithScriptedEs, TempPathReachesOnlyInteractiveGraphics) {
    CKivCreator creator;
    creator.SetTempPath("/scratch/ig/");
    ASSERT_TRUE(Run(creator, CKivCreator::ES_TYPE_IG, {0}));
    EXPECT_EQ("/scratch/ig/", CurrentScript().tempPath);
    ASSERT_TRUE(Run(creator, CKivCreator::ES_TYPE_PG, {0}));
    EXPECT_EQ("./", CurrentScript().tempPath);
}

TEST_F(CreatorWithScriptedEs, DefaultTempPathIsCurrentFolder) {
    CKivCreator creator;
    ASSERT_TRUE(Run(creator, CKivCreator::ES_TYPE_IG, {0}));
    EXPECT_EQ("./", CurrentScript().tempPath);
}

TEST_F(CreatorWithScriptedEs, SetTempPathKeepsAtMost255Characters) {
    struct Case {
        size_t length;
        size_t kept;
    };
    for (const Case c : {Case{300, 255}, Case{256, 255}, Case{255, 255}, Case{254, 254}, Case{1, 1}, Case{0, 0}}) {
        std::string path;
        for (size_t i = 0; i < c.length; ++i) path += static_cast<char>('a' + i % 26);
        CKivCreator creator;
        creator.SetTempPath(path.c_str());
        ASSERT_TRUE(Run(creator, CKivCreator::ES_TYPE_IG, {0}));
        EXPECT_EQ(path.substr(0, c.kept), CurrentScript().tempPath) << c.length;
    }
}

TEST_F(CreatorWithScriptedEs, AnalyserMessageIsCopiedAndCutTo255) {
    struct Case {
        size_t length;
        size_t kept;
    };
    for (const Case c : {Case{0, 0}, Case{17, 17}, Case{255, 255}, Case{256, 255}, Case{1000, 255}}) {
        std::string message;
        for (size_t i = 0; i < c.length; ++i) message += static_cast<char>('A' + i % 26);
        CurrentScript().outcome = Script::kFailWithMessage;
        CurrentScript().message = message;
        CKivCreator creator;
        creator.SetTempPath("x/");
        EXPECT_FALSE(Run(creator, CKivCreator::ES_TYPE_MPEG2_VIDEO, {0}));
        EXPECT_EQ(message.substr(0, c.kept), creator.GetLastErrorMessage()) << c.length;
    }
}

TEST_F(CreatorWithScriptedEs, FailureTextReplacesTheOldOne) {
    CKivCreator creator;
    EXPECT_FALSE(creator.CreateKiv(CKivCreator::ES_TYPE_AC3, m_es.c_str(), m_kiv.c_str(), {0}, nullptr));
    EXPECT_STREQ(kUnknown, creator.GetLastErrorMessage());
    CurrentScript().outcome = Script::kFailWithMessage;
    CurrentScript().message = "";
    EXPECT_FALSE(Run(creator, CKivCreator::ES_TYPE_HDMV_LPCM, {0, 1}));
    EXPECT_STREQ("", creator.GetLastErrorMessage());
}

TEST_F(CreatorWithScriptedEs, SuccessLeavesTheLastErrorAsItWas) {
    CKivCreator creator;
    CurrentScript().outcome = Script::kThrowMux;
    CurrentScript().message = "\nstart pts is not set.";
    EXPECT_FALSE(Run(creator, CKivCreator::ES_TYPE_PG, {}));
    CurrentScript().outcome = Script::kSucceed;
    EXPECT_TRUE(Run(creator, CKivCreator::ES_TYPE_PG, {0}));
    EXPECT_STREQ("\nstart pts is not set.", creator.GetLastErrorMessage());
}

TEST_F(CreatorWithScriptedEs, MuxExceptionGivesOnlyItsMessageAndDestroysTheAnalyser) {
    for (size_t length : {size_t{10}, size_t{255}, size_t{400}}) {
        CurrentScript() = Script();
        CurrentScript().outcome = Script::kThrowMux;
        CurrentScript().message = std::string(length, 'm');
        CKivCreator creator;
        EXPECT_FALSE(Run(creator, CKivCreator::ES_TYPE_PG, {0}));
        EXPECT_EQ(std::string(std::min<size_t>(length, 255), 'm'), creator.GetLastErrorMessage());
        EXPECT_EQ(1, CurrentScript().constructed);
        EXPECT_EQ(1, CurrentScript().destroyed);
    }
}

TEST_F(CreatorWithScriptedEs, ConstructorRejectionIsReported) {
    CurrentScript().outcome = Script::kThrowInConstructor;
    CurrentScript().message = "The es file is short.";
    CKivCreator creator;
    EXPECT_FALSE(Run(creator, CKivCreator::ES_TYPE_HDMV_LPCM, {0}));
    EXPECT_STREQ("The es file is short.", creator.GetLastErrorMessage());
    EXPECT_EQ(0, CurrentScript().createCalls);
    EXPECT_EQ(0, CurrentScript().destroyed);
}

TEST_F(CreatorWithScriptedEs, OtherExceptionsReachTheHost) {
    CurrentScript().outcome = Script::kThrowOther;
    CurrentScript().message = "bit buffer ran out";
    CKivCreator creator;
    creator.SetTempPath("keep/");
    EXPECT_THROW(Run(creator, CKivCreator::ES_TYPE_HDMV_LPCM, {0}), std::runtime_error);
    EXPECT_STREQ("", creator.GetLastErrorMessage());
    EXPECT_EQ(1, CurrentScript().destroyed);
}

TEST_F(CreatorWithScriptedEs, CopiesCarryBothTexts) {
    CKivCreator original;
    original.SetTempPath("/tmp/a/");
    EXPECT_FALSE(original.CreateKiv(CKivCreator::ES_TYPE_AC3, "", "", {}, nullptr));

    CKivCreator copy(original);
    EXPECT_STREQ(kUnknown, copy.GetLastErrorMessage());
    EXPECT_NE(original.GetLastErrorMessage(), copy.GetLastErrorMessage());
    ASSERT_TRUE(Run(copy, CKivCreator::ES_TYPE_IG, {0}));
    EXPECT_EQ("/tmp/a/", CurrentScript().tempPath);

    CKivCreator assigned;
    assigned.SetTempPath("/other/");
    assigned = original;
    EXPECT_STREQ(kUnknown, assigned.GetLastErrorMessage());
    ASSERT_TRUE(Run(assigned, CKivCreator::ES_TYPE_IG, {0}));
    EXPECT_EQ("/tmp/a/", CurrentScript().tempPath);

    // The copy is independent of its source afterwards.
    original.SetTempPath("/changed/");
    ASSERT_TRUE(Run(assigned, CKivCreator::ES_TYPE_IG, {0}));
    EXPECT_EQ("/tmp/a/", CurrentScript().tempPath);

    assigned = assigned;
    EXPECT_STREQ(kUnknown, assigned.GetLastErrorMessage());
}

TEST_F(CreatorWithScriptedEs, RepeatedCallsBuildAFreshAnalyserEachTime) {
    CKivCreator creator;
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Run(creator, CKivCreator::ES_TYPE_HDMV_LPCM, {0}));
    EXPECT_EQ(3, CurrentScript().constructed);
    EXPECT_EQ(3, CurrentScript().destroyed);
}

}  // namespace
