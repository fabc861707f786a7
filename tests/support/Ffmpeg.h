// Test support: encoding clips with ffmpeg and reading ffprobe's packet list, for conformance tests.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace kiv_test {

inline bool HaveFfmpeg() {
    return std::system("command -v ffmpeg >/dev/null 2>&1 && command -v ffprobe >/dev/null 2>&1") == 0;
}

// Runs ffmpeg with the given arguments (input and output options) writing `out`; true when it succeeded.
inline bool Encode(const std::string& arguments, const std::string& out) {
    const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y " + arguments + " '" + out + "'";
    return std::system(command.c_str()) == 0;
}

// ffprobe's answer for `entries` (for example "packet=size" or "stream=sample_rate"), one value per line.
inline std::vector<std::string> Probe(const std::string& path, const std::string& entries) {
    const std::string command = "ffprobe -v error -show_entries " + entries + " -of default=nw=1:nk=1 '" + path + "'";
    std::vector<std::string> lines;
    FILE* p = popen(command.c_str(), "r");
    if (p == nullptr) return lines;
    std::string text;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) text.append(buf, n);
    pclose(p);
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace kiv_test
