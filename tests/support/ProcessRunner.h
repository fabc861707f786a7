// Test support: runs a program (kivtool) with arguments and collects its exit status and output.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/TempDir.h"

namespace kiv_test {

// status: the exit code, or 128 + the signal that ended the program, -1 when it could not start.
struct ProcessRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs `program` with `args` (no shell), stdin from `stdinPath`; stdout and stderr go to scratch files.
inline ProcessRun RunProcess(const std::string& program, const std::vector<std::string>& args,
                             const std::string& stdinPath = "/dev/null") {
    TempDir dir;
    const std::string outPath = dir.File("stdout"), errPath = dir.File("stderr");
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ProcessRun run;
    const pid_t pid = fork();
    if (pid == 0) {
        const int in = open(stdinPath.c_str(), O_RDONLY);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(127);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int raw = 0;
    if (pid < 0 || waitpid(pid, &raw, 0) != pid) return run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    const std::vector<uint8_t> out = TempDir::Read(outPath), err = TempDir::Read(errPath);
    run.out.assign(out.begin(), out.end());
    run.err.assign(err.begin(), err.end());
    return run;
}

#ifdef KIVTOOL_PATH
// kivtool of this build (the test target defines KIVTOOL_PATH).
inline ProcessRun Kivtool(const std::vector<std::string>& args, const std::string& stdinPath = "/dev/null") {
    return RunProcess(KIVTOOL_PATH, args, stdinPath);
}
#endif

}  // namespace kiv_test
