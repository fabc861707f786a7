// The analyser base: open failures, default texts, XML file writing and the per-unit notice helper.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "KivNotice.h"
#include "es/CEs.h"
#include "foundation/CTsMuxException.h"
#include "support/TempDir.h"

namespace {

using kiv_test::TempDir;
using PRIVATE_LIBRARY::CL_CString;
using ts_comp::CTsMuxException;
using ts_comp::es::CEs;

// The smallest analyser: a fixed XML text, and access to the protected helper and members.
class ProbeEs : public CEs {
public:
    explicit ProbeEs(const CL_CString& path) : CEs(path) {}
    void GetXmlText(CL_CString& out) override { out = m_xml.c_str(); }
    void Unit(int64_t processed) { NotifyUnit(processed, "ProbeEs", 42); }
    int64_t FileSize() const { return m_esFileSize; }
    const char* TempPath() const { return m_tempPath.GetString(); }
    std::string m_xml = "<?xml version=\"1.0\" standalone=\"yes\"?>\n<PROBE/>";
};

// Records every progress call; aborts itself after `abortAfter` calls when that is not negative.
class RecordingNotice : public kiv_comp::CKivNotice {
public:
    explicit RecordingNotice(int abortAfter = -1) : m_abortAfter(abortAfter) {}
    void NotifyProgress(int64_t processed, int64_t total) override {
        m_calls.emplace_back(processed, total);
        if (m_abortAfter >= 0 && static_cast<int>(m_calls.size()) >= m_abortAfter) Abort();
    }
    std::vector<std::pair<int64_t, int64_t>> m_calls;

private:
    int m_abortAfter;
};

std::string ReadText(const std::string& path) {
    const std::vector<uint8_t> bytes = TempDir::Read(path);
    return std::string(bytes.begin(), bytes.end());
}

// ---- open failures ------------------------------------------------------------------------------

struct OpenFailureCase {
    const char* name;
    std::string (*makePath)(const TempDir& dir);
    int code;
    int expectedErrno;  // 0: any system text
};

class EsOpenFailure : public ::testing::TestWithParam<OpenFailureCase> {};

TEST_P(EsOpenFailure, ThrowsFileCanNotOpenWithClassifiedCode) {
    TempDir dir;
    const std::string path = GetParam().makePath(dir);
    try {
        ProbeEs es{CL_CString(path.c_str())};
        FAIL() << "opened " << path;
    } catch (const CTsMuxException& e) {
        CL_CString message;
        e.GetErrorMessage(message);
        EXPECT_EQ(std::string(message.GetString()), "File can not open.(" + path + ")");
        EXPECT_EQ(e.GetErrorCode(), GetParam().code);
        // The exception keeps file names of at most 258 characters.
        EXPECT_STREQ(e.GetFileName(), path.size() <= 258 ? path.c_str() : "");
        if (GetParam().expectedErrno != 0) {
            EXPECT_STREQ(e.GetDetail(), std::strerror(GetParam().expectedErrno));
        } else {
            EXPECT_STRNE(e.GetDetail(), "");
        }
        EXPECT_STREQ(e.GetSourceFile(), "Es");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, EsOpenFailure,
    ::testing::Values(
        OpenFailureCase{"MissingFile", [](const TempDir& d) { return d.File("missing.ac3"); }, 8, ENOENT},
        OpenFailureCase{"MissingFolder", [](const TempDir& d) { return d.File("no/such/a.m2v"); }, 8, ENOENT},
        // Root may read every file, so unreadable ones are made from paths the system refuses.
        OpenFailureCase{"FileUsedAsFolder",
                        [](const TempDir& d) { return d.Write("plain", {1, 2, 3}) + "/a.ac3"; }, 10, ENOTDIR},
        OpenFailureCase{"NameTooLong",
                        [](const TempDir& d) { return d.File(std::string(300, 'n')); }, 10, ENAMETOOLONG},
        OpenFailureCase{"DirectoryInPlaceOfFile", [](const TempDir& d) { return d.Path(); }, 10, EISDIR}),
    [](const ::testing::TestParamInfo<OpenFailureCase>& info) { return std::string(info.param.name); });

// ---- defaults ---------------------------------------------------------------------------------

TEST(EsBase, FreshAnalyserTexts) {
    TempDir dir;
    const std::string path = dir.Write("a.es", std::vector<uint8_t>(1234, 0x55));
    ProbeEs es{CL_CString(path.c_str())};
    EXPECT_STREQ(es.GetLastErrorMessage(), "");
    CL_CString report("previous text");
    es.GetReportText(report);
    EXPECT_STREQ(report.GetString(), "Not Define");
    CL_CString esPath;
    EXPECT_EQ(&es.GetEsFilePath(esPath), &esPath);
    EXPECT_EQ(std::string(esPath.GetString()), path);
    EXPECT_EQ(es.FileSize(), 1234);
    EXPECT_STREQ(es.TempPath(), "./");
    es.SetTempPath(CL_CString("/var/tmp/"));
    EXPECT_STREQ(es.TempPath(), "/var/tmp/");
    EXPECT_FALSE(es.CreateKiv(dir.File("a.kiv").c_str(), {0}));
    EXPECT_STREQ(es.GetLastErrorMessage(), "");
}

// ---- XML file ---------------------------------------------------------------------------------

TEST(EsBase, XmlFileHoldsTheTextAndOneMoreLineFeed) {
    TempDir dir;
    ProbeEs es{CL_CString(dir.Write("a.es", {1}).c_str())};
    const std::string xmlPath = dir.File("a.xml");
    ASSERT_TRUE(es.WriteXmlFile(CL_CString(xmlPath.c_str())));
    EXPECT_EQ(ReadText(xmlPath), es.m_xml + "\n");
    // An existing file is replaced, not appended to.
    es.m_xml = "<X/>\n";
    ASSERT_TRUE(es.WriteXmlFile(CL_CString(xmlPath.c_str())));
    EXPECT_EQ(ReadText(xmlPath), "<X/>\n\n");
    es.m_xml = "";
    ASSERT_TRUE(es.WriteXmlFile(CL_CString(xmlPath.c_str())));
    EXPECT_EQ(ReadText(xmlPath), "\n");
    EXPECT_STREQ(es.GetLastErrorMessage(), "");
}

TEST(EsBase, XmlFileInAMissingFolderFails) {
    TempDir dir;
    ProbeEs es{CL_CString(dir.Write("a.es", {1}).c_str())};
    EXPECT_FALSE(es.WriteXmlFile(CL_CString(dir.File("missing/a.xml").c_str())));
    EXPECT_STREQ(es.GetLastErrorMessage(), "A xml file cannot create.");
    EXPECT_FALSE(es.WriteXmlFile(CL_CString(dir.Path().c_str())));  // a folder is no file either
    EXPECT_STREQ(es.GetLastErrorMessage(), "A xml file cannot create.");
}

// ---- notice helper ----------------------------------------------------------------------------

TEST(EsNotice, WithoutNoticeNothingHappens) {
    TempDir dir;
    ProbeEs es{CL_CString(dir.Write("a.es", {1, 2}).c_str())};
    EXPECT_NO_THROW(es.Unit(1));
    es.SetNotice(nullptr);
    EXPECT_NO_THROW(es.Unit(2));
}

TEST(EsNotice, ReportsBytesConsumedAndFileLength) {
    TempDir dir;
    ProbeEs es{CL_CString(dir.Write("a.es", std::vector<uint8_t>(5000)).c_str())};
    RecordingNotice notice;
    es.SetNotice(&notice);
    for (int64_t processed : {1000, 2500, 5000}) es.Unit(processed);
    EXPECT_EQ(notice.m_calls,
              (std::vector<std::pair<int64_t, int64_t>>{{1000, 5000}, {2500, 5000}, {5000, 5000}}));
}

void ExpectAbortEnd(ProbeEs& es, int64_t processed) {
    try {
        es.Unit(processed);
        FAIL() << "no abort";
    } catch (const CTsMuxException& e) {
        CL_CString message;
        e.GetErrorMessage(message);
        EXPECT_STREQ(message.GetString(), "abort end.");
        EXPECT_EQ(e.GetErrorCode(), 0);
        EXPECT_STREQ(e.GetFileName(), "");
        EXPECT_STREQ(e.GetDetail(), "");
        EXPECT_STREQ(e.GetSourceFile(), "ProbeEs");
        EXPECT_EQ(e.GetLine(), 42);
    }
}

TEST(EsNotice, AbortedNoticeThrowsAbortEndWithoutProgress) {
    TempDir dir;
    ProbeEs es{CL_CString(dir.Write("a.es", {1}).c_str())};
    RecordingNotice notice;
    notice.Abort();
    es.SetNotice(&notice);
    ExpectAbortEnd(es, 1);
    EXPECT_TRUE(notice.m_calls.empty());
}

TEST(EsNotice, AbortDuringTheRunStopsAtTheNextUnit) {
    TempDir dir;
    ProbeEs es{CL_CString(dir.Write("a.es", std::vector<uint8_t>(10)).c_str())};
    RecordingNotice notice(3);
    es.SetNotice(&notice);
    for (int64_t processed = 1; processed <= 3; ++processed) es.Unit(processed);
    ExpectAbortEnd(es, 4);
    EXPECT_EQ(notice.m_calls.size(), 3u);
}

}  // namespace
