// kivtool create: runs CKivCreator::CreateKiv on one ES file, then writes the attribute texts asked for.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "AnalyserTexts.h"
#include "ArgumentParser.h"
#include "CProgressNotice.h"
#include "Commands.h"
#include "EsTypeArgument.h"
#include "KivCreator.h"
#include "ToolText.h"

namespace kivtool {

namespace {

struct CreateOptions {
    int type = 0;
    std::vector<uint32_t> startPts;
    std::string tempDir;
    bool haveTempDir = false;
    std::string xmlPath;
    std::string reportPath;
    bool quiet = false;
    std::string esPath;
    std::string kivPath;
};

// Returns an empty text when the arguments are fine, else the reason.
std::string ParseCreate(const std::vector<std::string>& args, CreateOptions& o) {
    ArgumentParser p(args);
    std::vector<std::string> operands;
    std::string typeText;
    while (!p.AtEnd()) {
        const std::string name = p.PeekOption();
        std::string value;
        if (name.empty()) {
            operands.push_back(p.TakeOperand());
        } else if (name == "--type") {
            if (!p.TakeValue(typeText)) return p.Error();
            if (!ParseEsType(typeText, o.type)) return FormatText(text::kBadType, typeText);
        } else if (name == "--start-pts") {
            if (!p.TakeValue(value)) return p.Error();
            if (!ParseStartPtsList(value, o.startPts)) return FormatText(text::kBadStartPts, value);
        } else if (name == "--temp-dir") {
            if (!p.TakeValue(o.tempDir)) return p.Error();
            o.haveTempDir = true;
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
    if (o.type == 0) return text::kMissingType;
    if (operands.size() != 2) return FormatText(text::kWrongOperands, "ES_FILE KIV_FILE");
    if (o.startPts.empty()) o.startPts.push_back(0);
    o.esPath = operands[0];
    o.kivPath = operands[1];
    return "";
}

// The library uses the folder as a plain prefix of its file names.
std::string AsFolderPrefix(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

int WriteAttributeTexts(const CreateOptions& o) {
    std::string error;
    std::unique_ptr<ts_comp::es::CEs> analyser = OpenAnalyser(o.type, o.esPath, error);
    if (analyser == nullptr) {
        PrintFailure(error);
        return kExitFailure;
    }
    if (!o.xmlPath.empty() && !analyser->WriteXmlFile(PRIVATE_LIBRARY::CL_CString(o.xmlPath.c_str()))) {
        PrintFailure(analyser->GetLastErrorMessage());
        return kExitFailure;
    }
    if (!o.reportPath.empty() && !WriteTextTo(o.reportPath, ReportText(*analyser))) {
        PrintFailure(FormatText(text::kCannotWrite, o.reportPath));
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

int RunCreate(const std::vector<std::string>& args) {
    CreateOptions o;
    const std::string reason = ParseCreate(args, o);
    if (!reason.empty()) return UsageError(reason);

    kiv_comp::CKivCreator creator;
    if (o.haveTempDir) creator.SetTempPath(AsFolderPrefix(o.tempDir).c_str());

    CProgressNotice notice(STDERR_FILENO, !o.quiet && isatty(STDERR_FILENO) == 1);
    notice.CatchInterrupt();
    const bool ok = creator.CreateKiv(static_cast<kiv_comp::CKivCreator::ES_TYPE>(o.type), o.esPath.c_str(),
                                      o.kivPath.c_str(), o.startPts, &notice);
    notice.Finish();
    if (!ok) {
        PrintFailure(creator.GetLastErrorMessage());
        return kExitFailure;
    }
    if (o.xmlPath.empty() && o.reportPath.empty()) return kExitOk;
    return WriteAttributeTexts(o);
}

}  // namespace kivtool
