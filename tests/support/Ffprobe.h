// Test support: the packet sizes ffprobe finds, as an independent cross-check of the analysers.
#pragma once

#include <cstdint>

#include "support/Ffmpeg.h"

namespace kiv_test {

// Sizes of the packets that ffprobe's demuxer `format` cuts the file into.
inline std::vector<uint64_t> ProbePacketSizes(const std::string& path, const std::string& format) {
    std::vector<uint64_t> sizes;
    for (const std::string& line : Probe(path, "packet=size", format)) sizes.push_back(std::strtoull(line.c_str(), nullptr, 10));
    return sizes;
}

}  // namespace kiv_test
