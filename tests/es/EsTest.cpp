// The analyser base: open failures, default texts, XML file writing and the per-unit notice helper.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "es/CEs.h"
#include "foundation/CTsMuxException.h"
#include "support/RecordingNotice.h"
#include "support/TempDir.h"

namespace {

using kiv_test::TempDir;
using PRIVATE_LIBRARY::CL_CString;

// The smallest analyser: a fixed XML text, and access to the protected helper.
class ProbeEs : public ts_comp::es::CEs {
public:
    explicit ProbeEs(const std::string& path) : CEs(CL_CString(path.c_str())) {}
    void GetXmlText(CL_CString& out) override { out = "<?xml version=\"1.0\" standalone=\"yes\"?>\n<PROBE/>"; }
    void Unit(int64_t processed) { NotifyUnit(processed, "ProbeEs", 42); }
};

// Message, code, file name (up to 258 characters), detail, source and line of the exception `run` throws.
template <class Run>
std::string Thrown(Run run) {
    try {
        run();
    } catch (const ts_comp::CTsMuxException& e) {
        CL_CString message;
        e.GetErrorMessage(message);
        return std::string(message.GetString()) + "|" + std::to_string(e.GetErrorCode()) + "|" + e.GetFileName() + "|" +
               e.GetDetail() + "|" + e.GetSourceFile() + "|" + std::to_string(e.GetLine());
    }
    return "no exception";
}

TEST(EsBase, OpenFailureThrowsFileCanNotOpen) {
    TempDir dir;
    const std::pair<std::string, int> cases[] = {{dir.File("missing.ac3"), ENOENT}, {dir.File("no/such/a.m2v"), ENOENT},
        {dir.Write("plain", {1}) + "/a", ENOTDIR}, {dir.File(std::string(300, 'n')), ENAMETOOLONG}, {dir.Path(), EISDIR}};
    for (const auto& [path, error] : cases) {
        const std::string d = Thrown([&path = path] { ProbeEs es(path); });
        EXPECT_EQ(d.substr(0, d.rfind('|')), "File can not open.(" + path + ")|" + (error == ENOENT ? "8|" : "10|") +
                                                  (path.size() <= 258 ? path : "") + "|" + std::strerror(error) + "|Es");
    }
}

TEST(EsBase, DefaultsAndTheXmlFile) {
    TempDir dir;
    const std::string path = dir.Write("a.es", std::vector<uint8_t>(1234, 0x55));
    ProbeEs es(path);
    CL_CString text("previous text");
    es.GetReportText(text);
    EXPECT_STREQ(text.GetString(), "Not Define");
    EXPECT_EQ(std::string(es.GetEsFilePath(text).GetString()) + es.GetLastErrorMessage(), path);
    EXPECT_FALSE(es.CreateKiv(dir.File("a.kiv").c_str(), {0}));
    const std::string xml = dir.Write("a.xml", std::vector<uint8_t>(100, 'x'));
    ASSERT_TRUE(es.WriteXmlFile(CL_CString(xml.c_str())));
    EXPECT_EQ(TempDir::Text(xml), "<?xml version=\"1.0\" standalone=\"yes\"?>\n<PROBE/>\n") << "replaced, with one more line feed";
    EXPECT_FALSE(es.WriteXmlFile(CL_CString(dir.File("missing/a.xml").c_str())));
    EXPECT_STREQ(es.GetLastErrorMessage(), "A xml file cannot create.");
}

// Progress after each unit with the file length; an abort is seen at the next unit, before its progress.
TEST(EsBase, NoticeHelper) {
    TempDir dir;
    ProbeEs es(dir.Write("a.es", std::vector<uint8_t>(5000)));
    EXPECT_NO_THROW(es.Unit(1)) << "without a notice nothing happens";
    kiv_test::RecordingNotice notice(2);
    es.SetNotice(&notice);
    es.Unit(1000);
    es.Unit(2500);
    EXPECT_EQ(Thrown([&es] { es.Unit(5000); }), "abort end.|0|||ProbeEs|42");
    EXPECT_EQ(notice.progress, (std::vector<int64_t>{1000, 2500}));
    EXPECT_EQ(notice.totals, (std::vector<int64_t>{5000, 5000}));
    EXPECT_EQ(notice.polls, 3);
}

}  // namespace
