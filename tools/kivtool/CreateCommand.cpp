// kivtool create: indexes one ES file, then writes the attribute texts of the analyser that indexed it.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "AnalyserTexts.h"
#include "ApiMessages.h"
#include "ArgumentParser.h"
#include "CAnalysisRun.h"
#include "CProgressNotice.h"
#include "Commands.h"
#include "EsTypeArgument.h"
#include "KindProbe.h"
#include "KivFileHead.h"
#include "PreChecks.h"
#include "ToolText.h"

namespace kivtool {

namespace {

struct CreateOptions {
    int type = 0;
    std::vector<uint32_t> startPts;
    std::string tempPrefix = kiv_comp::messages::kDefaultTempPath;
    std::string xmlPath;
    std::string reportPath;
    bool quiet = false;
    std::string esPath;
    std::string kivPath;
};

// The library uses the folder as a plain prefix of its file names.
std::string AsFolderPrefix(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

// Returns an empty text when the arguments are fine, else the reason.
std::string ParseCreate(const std::vector<std::string>& args, CreateOptions& o) {
    ArgumentParser p(args);
    std::vector<std::string> operands;
    while (!p.AtEnd()) {
        const std::string name = p.PeekOption();
        std::string value;
        if (name.empty()) {
            operands.push_back(p.TakeOperand());
        } else if (TakeKindOption(p, name, o.type, o.startPts, value)) {
            if (!value.empty()) return value;
        } else if (name == "--temp-dir") {
            if (!p.TakeValue(value)) return p.Error();
            o.tempPrefix = AsFolderPrefix(value);
        } else if (name == "--xml") {
            if (!p.TakeValue(o.xmlPath)) return p.Error();
        } else if (name == "--report") {
            if (!p.TakeValue(o.reportPath)) return p.Error();
        } else if (name == "--quiet") {
            if (!p.TakeFlag()) return p.Error();
            o.quiet = true;
        } else {
            p.RejectOption();
            return p.Error();
        }
    }
    if (operands.size() != 2) return FormatText(text::kWrongOperands, "ES_FILE KIV_FILE");
    if (o.startPts.empty()) o.startPts.push_back(0);
    o.esPath = operands[0];
    o.kivPath = operands[1];
    std::string reason;
    if (!ResolveKind(o.type, o.esPath, o.type, reason)) return reason;
    for (const std::string& out : {o.kivPath, o.xmlPath, o.reportPath}) {
        if (!out.empty() && out != "-" && !(reason = CheckOutputFolder(out)).empty()) return reason;
    }
    return CheckStartValues(o.type, o.startPts.size());
}

int WriteAttributeTexts(ts_comp::es::CEs& analyser, const CreateOptions& o) {
    if (!o.xmlPath.empty() && !analyser.WriteXmlFile(PRIVATE_LIBRARY::CL_CString(o.xmlPath.c_str()))) {
        PrintMessage(analyser.GetLastErrorMessage());
        return kExitFailure;
    }
    if (!o.reportPath.empty() && !WriteTextTo(o.reportPath, ReportText(analyser))) {
        PrintMessage(FormatText(text::kCannotWrite, o.reportPath));
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

int RunCreate(const std::vector<std::string>& args) {
    CreateOptions o;
    const std::string reason = ParseCreate(args, o);
    if (!reason.empty()) return UsageError(reason);

    CProgressNotice notice(STDERR_FILENO, !o.quiet && isatty(STDERR_FILENO) == 1);
    notice.CatchInterrupt();
    CAnalysisRun run;
    const bool ok = run.Run(o.type, o.esPath, o.kivPath, o.startPts, &notice, o.tempPrefix);
    notice.Finish();
    if (!ok) {
        PrintMessage(LibraryFailureText(run.Error(), o.type, o.esPath));
        return kExitFailure;
    }
    const int status = WriteAttributeTexts(*run.Analyser(), o);
    run.Close();
    if (status == kExitOk && !o.quiet) {
        PrintMessage(SummaryText(o.type, CountKivUnits(o.kivPath), notice.ProcessedBytes(), notice.Seconds()) +
                     FormatText(text::kSummaryKiv, o.kivPath));
    }
    return status;
}

}  // namespace kivtool
