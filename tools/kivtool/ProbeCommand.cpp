// kivtool probe: the stream kind of each file and what in its first bytes says so.
#include <cstdio>
#include <string>
#include <vector>

#include "ArgumentParser.h"
#include "Commands.h"
#include "KindProbe.h"
#include "ToolText.h"

namespace kivtool {

// Exit status 1 when the kind of some file could not be told.
int RunProbe(const std::vector<std::string>& args) {
    ArgumentParser p(args);
    std::vector<std::string> files;
    while (!p.AtEnd()) {
        if (!p.PeekOption().empty()) {
            p.RejectOption();
            return UsageError(p.Error());
        }
        files.push_back(p.TakeOperand());
    }
    if (files.empty()) return UsageError(FormatText(text::kWrongOperands, "ES_FILE..."));
    int status = kExitOk;
    for (const std::string& file : files) {
        const ProbeOutcome outcome = ProbeStream(file);
        if (outcome.matches.size() != 1) status = kExitFailure;
        std::printf("%s\n", ProbeLine(file, outcome).c_str());
    }
    return status;
}

}  // namespace kivtool
