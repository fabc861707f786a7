// The kivtool commands: each takes the arguments after its name and returns the exit status.
#pragma once

#include <string>
#include <vector>

namespace kivtool {

// Exit statuses of every command.
enum ExitStatus { kExitOk = 0, kExitFailure = 1, kExitUsage = 2, kExitOther = 3 };

int RunCreate(const std::vector<std::string>& args);
int RunInfo(const std::vector<std::string>& args);
int RunDump(const std::vector<std::string>& args);
int RunProbe(const std::vector<std::string>& args);
int RunBatch(const std::vector<std::string>& args);

}  // namespace kivtool
