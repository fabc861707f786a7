#include "KindProbe.h"

#include "ArgumentParser.h"
#include "CStreamHead.h"
#include "EsTypeArgument.h"
#include "KindProbers.h"
#include "ToolText.h"

namespace kivtool {

namespace {

// "lpcm or pg" for the kinds of the matches.
std::string KindList(const std::vector<KindMatch>& matches) {
    std::string list;
    for (std::size_t i = 0; i < matches.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == matches.size() ? " or " : ", ") + std::string(EsTypeName(matches[i].type));
    }
    return list;
}

}  // namespace

ProbeOutcome ProbeStream(const std::string& path) {
    ProbeOutcome outcome;
    CStreamHead stream;
    outcome.opened = stream.Open(path, outcome.error);
    if (outcome.opened) outcome.matches = RunProbers(stream);
    return outcome;
}

std::string ProbeLine(const std::string& path, const ProbeOutcome& outcome) {
    if (!outcome.opened) return path + ": " + FormatText(text::kProbeCannotOpen, outcome.error);
    if (outcome.matches.empty()) return path + ": " + text::kProbeUnknown;
    if (outcome.matches.size() == 1) {
        return path + ": " + EsTypeName(outcome.matches[0].type) + " (" + outcome.matches[0].why + ")";
    }
    std::string whys;
    for (const KindMatch& m : outcome.matches) {
        whys += (whys.empty() ? "" : "; ") + std::string(EsTypeName(m.type)) + ": " + m.why;
    }
    return path + ": " + KindList(outcome.matches) + "? (" + whys + ")";
}

bool ResolveKind(int given, const std::string& path, int& type, std::string& reason) {
    if (given != 0) {
        type = given;
        return true;
    }
    const ProbeOutcome outcome = ProbeStream(path);
    if (outcome.matches.size() == 1) {
        type = outcome.matches[0].type;
        return true;
    }
    if (!outcome.opened) {
        reason = FormatText(text::kCannotOpen, path) + outcome.error;
    } else if (outcome.matches.empty()) {
        reason = FormatText(text::kKindUnknown, path);
    } else {
        reason = FormatText(text::kKindUnsure, path) + KindList(outcome.matches) + text::kGiveType;
    }
    return false;
}

}  // namespace kivtool
