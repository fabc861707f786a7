// Test support: runs a program (kivtool) with arguments and collects its exit status and output.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TempDir.h"

namespace kiv_test {

// status: the exit code, or 128 + the signal that ended the program, -1 when it could not start.
struct ProcessRun { int status = -1; std::string out, err; };

// Runs `program` with `args` (no shell), stdin from /dev/null; stdout and stderr go to scratch files.
inline ProcessRun RunProcess(const std::string& program, const std::vector<std::string>& args) {
    TempDir dir;
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int fds[] = {open("/dev/null", O_RDONLY), open(dir.File("1").c_str(), O_WRONLY | O_CREAT, 0600),
                           open(dir.File("2").c_str(), O_WRONLY | O_CREAT, 0600)};
        for (int fd = 0; fd < 3; ++fd) {
            if (fds[fd] < 0 || dup2(fds[fd], fd) < 0) _exit(127);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    ProcessRun run;
    int raw = 0;
    if (pid < 0 || waitpid(pid, &raw, 0) != pid) return run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    run.out = TempDir::Text(dir.File("1")), run.err = TempDir::Text(dir.File("2"));
    return run;
}

}  // namespace kiv_test
