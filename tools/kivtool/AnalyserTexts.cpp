#include "AnalyserTexts.h"

#include <cstdio>

#include "ArgumentParser.h"
#include "EsTypeArgument.h"
#include "ToolText.h"

namespace kivtool {

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
void PrintMessage(const std::string& message) {
    std::string line = text::kProgramPrefix + message;
    if (line.back() != '\n') line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

std::string LibraryFailureText(const std::string& error, int type, const std::string& esPath) {
    if (!error.empty()) return error;
    return FormatText(text::kNoReason, EsTypeName(type)) + FormatText(text::kNoReasonFile, esPath);
}

std::string SummaryText(int type, int64_t units, int64_t bytes, double seconds) {
    const double rate = seconds > 0 ? static_cast<double>(bytes) / seconds / 1e6 : 0.0;
    char line[160];
    std::snprintf(line, sizeof line, text::kSummary, EsTypeName(type), static_cast<long long>(units),
                  static_cast<long long>(bytes), seconds, rate);
    return line;
}

}  // namespace kivtool
