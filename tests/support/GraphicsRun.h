// Test support: runs a graphics analyser's CreateKiv over a stream in a scratch folder.
#pragma once

#include <cstdint>
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
        run.threw = true;
        EXPECT_EQ(e.GetErrorCode(), 6);
        PRIVATE_LIBRARY::CL_CString m;
        e.GetErrorMessage(m);
        run.message = m.GetString();
    }
    run.items = ReadKiv(dir.File("out.kiv")).items;
    return run;
}

}  // namespace kiv_test

namespace kiv_test {

// The report lines and the XML document a graphics analyser gives for these attributes (root PG or IG).
inline std::pair<std::string, std::string> AttributeTexts(const char* root, int sets, int width, int height,
                                                          int rate) {
    const auto n = [](int v) { return std::to_string(v); };
    return {"[number of displayset] : " + n(sets) + "\r\n[video width] : " + n(width) + "\r\n[video height] : " +
                n(height) + "\r\n[frame rate] : " + n(rate) + "\r\n",
            std::string("<?xml version=\"1.0\" standalone=\"yes\"?>\n<") + root + " xmlns=\"" +
                ts_comp::es::kXmlNamespace + "\">\n  <parameter>\n    <video_width>" + n(width) +
                "</video_width>\n    <video_height>" + n(height) + "</video_height>\n    <frame_rate>" + n(rate) +
                "</frame_rate>\n  </parameter>\n</" + root + ">\n"};
}

}  // namespace kiv_test
