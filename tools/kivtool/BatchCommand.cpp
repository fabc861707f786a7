// kivtool batch: indexes many ES files, several at a time, into DIR/NAME.kiv, NAME.xml and NAME.txt.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "AnalyserTexts.h"
#include "ApiMessages.h"
#include "ArgumentParser.h"
#include "CAnalysisRun.h"
#include "CProgressNotice.h"
#include "CScratchFolder.h"
#include "Commands.h"
#include "EsTypeArgument.h"
#include "KindProbe.h"
#include "KivCreator.h"
#include "KivFileHead.h"
#include "PreChecks.h"
#include "ToolText.h"

namespace kivtool {

namespace {

constexpr uint64_t kMaxJobs = 256;

struct BatchOptions {
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    std::string outDir = ".";
    int type = 0;
    std::vector<uint32_t> startPts;
    std::vector<std::string> files;
    std::vector<std::string> outBases;  // DIR/NAME of each file
};

// The file name without its folder and its last extension.
std::string StemOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

// Returns an empty text when the arguments are fine, else the reason.
std::string ParseBatch(const std::vector<std::string>& args, BatchOptions& o) {
    ArgumentParser p(args);
    while (!p.AtEnd()) {
        const std::string name = p.PeekOption();
        std::string value;
        if (name.empty()) {
            o.files.push_back(p.TakeOperand());
        } else if (name == "--jobs") {
            uint64_t jobs = 0;
            if (!p.TakeValue(value)) return p.Error();
            if (!ParseDecimal(value, kMaxJobs, jobs) || jobs == 0) return FormatText(text::kBadJobs, value);
            o.jobs = static_cast<unsigned>(jobs);
        } else if (name == "--out-dir") {
            if (!p.TakeValue(o.outDir)) return p.Error();
        } else if (TakeKindOption(p, name, o.type, o.startPts, value)) {
            if (!value.empty()) return value;
        } else {
            p.RejectOption();
            return p.Error();
        }
    }
    if (o.files.empty()) return FormatText(text::kWrongOperands, "ES_FILE...");
    if (o.startPts.empty()) o.startPts.push_back(0);
    while (o.outDir.size() > 1 && o.outDir.back() == '/') o.outDir.pop_back();
    std::set<std::string> seen;
    for (const std::string& file : o.files) {
        o.outBases.push_back(o.outDir + "/" + StemOf(file));
        if (!seen.insert(o.outBases.back()).second) return FormatText(text::kSameOutput, o.outBases.back() + ".kiv");
    }
    return CheckOutputFolder(o.outBases.front());
}

// What one file came to.
struct Outcome {
    bool ok = false;
    std::string line;
    int64_t bytes = 0;
};

// Control characters of a library text become blanks, so that every file keeps to one line.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// The KIV file is written under a temporary name and takes its own name only after a whole run.
Outcome IndexOne(const BatchOptions& o, std::size_t i) {
    const std::string& es = o.files[i];
    const std::string& base = o.outBases[i];
    const std::string partial = base + text::kPartialSuffix;
    int type = 0;
    std::string reason;
    if (CInterruptScope::Interrupted()) return {false, text::kNotStarted};
    if (!ResolveKind(o.type, es, type, reason)) return {false, reason};
    // One list serves a whole title: the kinds that take exactly one value take its first.
    const std::vector<uint32_t> starts(o.startPts.begin(), TakesOneStartValue(type) ? o.startPts.begin() + 1
                                                                                    : o.startPts.end());

    CScratchFolder scratch;
    const bool interactive = type == kiv_comp::CKivCreator::ES_TYPE_IG;
    if (interactive && !scratch.Create(reason)) return {false, FormatText(text::kCannotWrite, reason)};
    CProgressNotice notice(-1, false);
    notice.FollowInterrupts();
    CAnalysisRun run;
    bool ok = false;
    try {
        const std::string temp = interactive ? scratch.Prefix() : kiv_comp::messages::kDefaultTempPath;
        ok = run.Run(type, es, partial, starts, &notice, temp);
        reason = ok ? "" : LibraryFailureText(run.Error(), type, es);
    } catch (const std::exception& e) {
        reason = e.what();
    }
    if (!ok) {
        run.Close();
        std::remove(partial.c_str());
        return {false, reason, notice.ProcessedBytes()};
    }
    if (std::rename(partial.c_str(), (base + ".kiv").c_str()) != 0) {
        std::remove(partial.c_str());
        return {false, FormatText(text::kCannotWrite, base + ".kiv")};
    }
    if (!run.Analyser()->WriteXmlFile(PRIVATE_LIBRARY::CL_CString((base + ".xml").c_str()))) {
        return {false, run.Analyser()->GetLastErrorMessage()};
    }
    if (!WriteTextTo(base + ".txt", ReportText(*run.Analyser()))) {
        return {false, FormatText(text::kCannotWrite, base + ".txt")};
    }
    run.Close();
    return {true, SummaryText(type, CountKivUnits(base + ".kiv"), notice.ProcessedBytes(), notice.Seconds()),
            notice.ProcessedBytes()};
}

}  // namespace

int RunBatch(const std::vector<std::string>& args) {
    BatchOptions o;
    const std::string reason = ParseBatch(args, o);
    if (!reason.empty()) return UsageError(reason);

    const auto start = std::chrono::steady_clock::now();
    CInterruptScope interrupts;
    std::atomic<std::size_t> next{0};
    std::mutex printing;
    std::size_t failed = 0;
    int64_t bytes = 0;
    auto work = [&]() {
        for (std::size_t i = next++; i < o.files.size(); i = next++) {
            const Outcome outcome = IndexOne(o, i);
            const std::lock_guard<std::mutex> lock(printing);
            std::printf(outcome.ok ? "%s: %s\n" : "%s: FAILED: %s\n", o.files[i].c_str(),
                        OneLine(outcome.line).c_str());
            std::fflush(stdout);
            failed += outcome.ok ? 0 : 1;
            bytes += outcome.bytes;
        }
    };
    std::vector<std::thread> workers;
    for (unsigned j = 1; j < std::min<std::size_t>(o.jobs, o.files.size()); ++j) workers.emplace_back(work);
    work();
    for (std::thread& w : workers) w.join();

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(text::kBatchSummary, o.files.size() - failed, failed, static_cast<long long>(bytes), seconds,
                seconds > 0 ? static_cast<double>(bytes) / seconds / 1e6 : 0.0);
    return failed == 0 ? kExitOk : kExitFailure;
}

}  // namespace kivtool
