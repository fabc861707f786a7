// Test support: runs a graphics analyser's CreateKiv in a scratch folder; checks its report and XML texts.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "es/CEs.h"
#include "foundation/CTsMuxException.h"
#include "support/KivReader.h"
#include "support/TempDir.h"

namespace kiv_test {

// The result, the analyser's text or the thrown one (code 6 expected), and the items written.
struct GraphicsRun {
    bool ok = false, threw = false;
    std::string message;
    std::vector<KivItem> items;
};

// es is an analyser of a stream in dir; its temp path becomes dir, its KIV file dir/out.kiv.
inline GraphicsRun RunCreateKiv(ts_comp::es::CEs& es, const TempDir& dir, std::vector<uint64_t> starts) {
    GraphicsRun run;
    es.SetTempPath(PRIVATE_LIBRARY::CL_CString((dir.Path() + "/").c_str()));
    try {
        run.ok = es.CreateKiv(dir.File("out.kiv").c_str(), std::move(starts));
        run.message = es.GetLastErrorMessage();
    } catch (const ts_comp::CTsMuxException& e) {
        PRIVATE_LIBRARY::CL_CString m;
        e.GetErrorMessage(m);
        run = {false, true, m.GetString(), {}};
        EXPECT_EQ(e.GetErrorCode(), 6);
    }
    run.items = ReadKiv(dir.File("out.kiv")).items;
    return run;
}

// The report is appended to "x", the XML document replaces "old": root PG or IG, report values {display
// sets, width, height, frame rate}, XML values {width, height, frame rate}.
template <class Es>
void ExpectTexts(Es&& es, const char* root, std::vector<int> r, std::vector<int> x) {
    char report[160], xml[400];
    std::snprintf(report, sizeof report, "x[number of displayset] : %d\r\n[video width] : %d\r\n[video height] : %d"
                  "\r\n[frame rate] : %d\r\n", r[0], r[1], r[2], r[3]);
    std::snprintf(xml, sizeof xml, "<?xml version=\"1.0\" standalone=\"yes\"?>\n<%s xmlns=\"%s\">\n  <parameter>\n"
                  "    <video_width>%d</video_width>\n    <video_height>%d</video_height>\n    <frame_rate>%d"
                  "</frame_rate>\n  </parameter>\n</%s>\n", root, ts_comp::es::kXmlNamespace, x[0], x[1], x[2], root);
    PRIVATE_LIBRARY::CL_CString reportText("x"), xmlText("old");
    es.GetReportText(reportText);
    es.GetXmlText(xmlText);
    EXPECT_EQ(std::string(reportText.GetString()) + xmlText.GetString(), std::string(report) + xml);
}

}  // namespace kiv_test
