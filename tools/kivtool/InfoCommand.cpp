// kivtool info: builds the analyser of an ES file and prints its XML attributes or its text report.
#include <cstdio>
#include <string>
#include <vector>

#include "AnalyserTexts.h"
#include "ArgumentParser.h"
#include "Commands.h"
#include "EsTypeArgument.h"
#include "ToolText.h"

namespace kivtool {

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
    if (type == 0) return UsageError(text::kMissingType);
    if (xml && report) return UsageError(text::kBothXmlAndReport);
    if (operands.size() != 1) return UsageError(FormatText(text::kWrongOperands, "ES_FILE"));

    std::string error;
    std::unique_ptr<ts_comp::es::CEs> analyser = OpenAnalyser(type, operands[0], error);
    if (analyser == nullptr) {
        PrintFailure(error);
        return kExitFailure;
    }
    const std::string out = xml ? XmlText(*analyser) : ReportText(*analyser);
    if (!WriteTextTo("-", out)) {
        PrintFailure(FormatText(text::kCannotWrite, "standard output"));
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace kivtool
