#include "AnalyserTexts.h"

#include <cstdio>

#include "ApiMessages.h"
#include "CEsFactoryTable.h"
#include "ToolText.h"
#include "foundation/CTsMuxException.h"

namespace kivtool {

std::unique_ptr<ts_comp::es::CEs> OpenAnalyser(int type, const std::string& esPath, std::string& error) {
    const ts_comp::api::EsMaker make = ts_comp::api::CEsFactoryTable::Active().Find(type);
    if (make == nullptr) {
        error = kiv_comp::messages::kUnknownEsType;
        return nullptr;
    }
    try {
        return make(PRIVATE_LIBRARY::CL_CString(esPath.c_str()));
    } catch (const ts_comp::CTsMuxException& e) {
        PRIVATE_LIBRARY::CL_CString message;
        e.GetErrorMessage(message);
        error = message.GetString();
        return nullptr;
    }
}

std::string XmlText(ts_comp::es::CEs& analyser) {
    PRIVATE_LIBRARY::CL_CString xml;
    analyser.GetXmlText(xml);
    return std::string(xml.GetString()) + "\n";
}

std::string ReportText(ts_comp::es::CEs& analyser) {
    PRIVATE_LIBRARY::CL_CString report;
    analyser.GetReportText(report);
    return report.GetString();
}

bool WriteTextTo(const std::string& path, const std::string& text) {
    if (path == "-") {
        return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && written;
}

// Library texts are shown as they are, line feeds and other control characters included.
void PrintFailure(const std::string& message) {
    std::string line = text::kProgramPrefix + message;
    if (line.back() != '\n') line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace kivtool
