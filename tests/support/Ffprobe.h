// Test support: ffmpeg and ffprobe as independent cross-checks of the analysers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace kiv_test {

inline bool HaveFfmpeg() { return std::system("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null") == 0; }

// Sizes of the packets that ffprobe's demuxer `format` cuts the file into.
inline std::vector<uint64_t> ProbePacketSizes(const std::string& path, const std::string& format) {
    std::vector<uint64_t> sizes;
    FILE* pipe = popen(("ffprobe -v error -f " + format + " -show_entries packet=size -of csv=p=0 '" + path + "'").c_str(), "r");
    for (unsigned long long size = 0; pipe != nullptr && std::fscanf(pipe, "%llu", &size) == 1;) sizes.push_back(size);
    if (pipe != nullptr) pclose(pipe);
    return sizes;
}

}  // namespace kiv_test
