// kivtool info: runs the whole analysis of an ES file into a KIV file it removes, then prints the
// analyser's XML attributes or its text report.
#include <cstdio>
#include <string>
#include <vector>

#include "AnalyserTexts.h"
#include "ArgumentParser.h"
#include "CAnalysisRun.h"
#include "CScratchFolder.h"
#include "Commands.h"
#include "EsTypeArgument.h"
#include "KindProbe.h"
#include "PreChecks.h"
#include "ToolText.h"

namespace kivtool {

namespace {

// Start values for a run whose time stamps nobody reads: one for the kinds that take exactly one, else
// enough that no display set or sequence runs short (surplus values are not used).
constexpr uint32_t kInfoStartPts = 900000;
constexpr std::size_t kInfoStartValues = 65536;

}  // namespace

int RunInfo(const std::vector<std::string>& args) {
    ArgumentParser p(args);
    std::vector<std::string> operands;
    int type = 0;
    bool xml = false;
    bool report = false;
    while (!p.AtEnd()) {
        const std::string name = p.PeekOption();
        if (name.empty()) {
            operands.push_back(p.TakeOperand());
        } else if (name == "--type") {
            std::string value;
            if (!p.TakeValue(value)) return UsageError(p.Error());
            if (!ParseEsType(value, type)) return UsageError(FormatText(text::kBadType, value));
        } else if (name == "--xml" || name == "--report") {
            if (!p.TakeFlag()) return UsageError(p.Error());
            (name == "--xml" ? xml : report) = true;
        } else {
            p.RejectOption();
            return UsageError(p.Error());
        }
    }
    if (xml && report) return UsageError(text::kBothXmlAndReport);
    if (operands.size() != 1) return UsageError(FormatText(text::kWrongOperands, "ES_FILE"));
    std::string reason;
    if (!ResolveKind(type, operands[0], type, reason)) return UsageError(reason);

    CScratchFolder scratch;
    if (!scratch.Create(reason)) {
        PrintMessage(FormatText(text::kCannotWrite, reason));
        return kExitFailure;
    }
    const std::vector<uint32_t> starts(TakesOneStartValue(type) ? 1 : kInfoStartValues, kInfoStartPts);
    CAnalysisRun run;
    if (!run.Run(type, operands[0], scratch.Prefix() + "info.kiv", starts, nullptr, scratch.Prefix())) {
        PrintMessage(LibraryFailureText(run.Error(), type, operands[0]));
        return kExitFailure;
    }
    const std::string out = xml ? XmlText(*run.Analyser()) : ReportText(*run.Analyser());
    if (!WriteTextTo("-", out)) {
        PrintMessage(FormatText(text::kCannotWrite, "standard output"));
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace kivtool
