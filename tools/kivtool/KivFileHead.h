// What kivtool reads of a KIV file without its items: the kiv_file_type, the length, the unit count.
#pragma once

#include <cstdint>
#include <string>

namespace kivtool {

// Reads the kiv_file_type and the length with a handle of its own; false with a reason on failure.
bool ReadKivHead(const std::string& path, uint32_t& type, int64_t& length, std::string& reason);

// Items of a finished KIV file other than its terminating item; -1 when the file cannot be read as one.
int64_t CountKivUnits(const std::string& path);

}  // namespace kivtool
