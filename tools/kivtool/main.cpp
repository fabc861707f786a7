// kivtool: command-line host of the kiv library.
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "ArgumentParser.h"
#include "Commands.h"
#include "ToolText.h"

#ifndef KIV_VERSION
#define KIV_VERSION "unknown"
#endif

namespace {

using namespace kivtool;

// Exceptions the library lets through (end of stream in a bit reader, no memory) end the run on one line.
int OtherFailure(std::string reason) {
    for (char& c : reason) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    std::fprintf(stderr, "%s%s\n", text::kProgramPrefix, reason.c_str());
    return kExitOther;
}

int Dispatch(const std::vector<std::string>& args) {
    if (args.empty()) return UsageError(text::kMissingCommand);
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(text::kUsage, stdout);
        std::fputs(text::kHelpDetails, stdout);
        return kExitOk;
    }
    if (command == "--version") {
        std::printf(text::kVersionFormat, KIV_VERSION);
        return kExitOk;
    }
    if (command == "create") return RunCreate(rest);
    if (command == "info") return RunInfo(rest);
    if (command == "dump") return RunDump(rest);
    if (command == "probe") return RunProbe(rest);
    if (command == "batch") return RunBatch(rest);
    return UsageError(FormatText(text::kUnknownCommand, command));
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Dispatch(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::bad_alloc&) {
        return OtherFailure("out of memory");
    } catch (const std::exception& e) {
        return OtherFailure(e.what());
    } catch (...) {
        return OtherFailure("unexpected exception");
    }
}
