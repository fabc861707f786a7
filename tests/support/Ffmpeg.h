// Test support: encoding clips with ffmpeg and reading ffprobe's answers, for conformance tests.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace kiv_test {

inline bool HaveFfmpeg() { return std::system("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null") == 0; }

// Runs ffmpeg with the given arguments (input and output options) writing `out`; true when it succeeded.
inline bool Encode(const std::string& arguments, const std::string& out) {
    return std::system(("ffmpeg -nostdin -hide_banner -loglevel error -y " + arguments + " '" + out + "'").c_str()) == 0;
}

// ffprobe's answer for `entries` (for example "packet=size" or "stream=sample_rate"), one value per line,
// from the demuxer `format` when one is given.
inline std::vector<std::string> Probe(const std::string& path, const std::string& entries, const std::string& format = "") {
    const std::string demuxer = format.empty() ? "" : " -f " + format;
    FILE* pipe = popen(("ffprobe -v error" + demuxer + " -show_entries " + entries + " -of default=nw=1:nk=1 '" + path + "'").c_str(), "r");
    std::vector<std::string> lines;
    char line[4096];
    while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr) lines.emplace_back(line, std::strcspn(line, "\n"));
    if (pipe != nullptr) pclose(pipe);
    return lines;
}

}  // namespace kiv_test
