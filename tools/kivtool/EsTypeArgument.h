// The stream-kind and start-PTS arguments of kivtool.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kivtool {

// Reads a stream kind given by name (mpeg2 ... ig) or by its number 1 to 10; false for anything else.
bool ParseEsType(const std::string& text, int& type);

// The kind's name for a number 1 to 10, or "" for other values.
const char* EsTypeName(int type);

// Appends the comma-separated 32-bit decimal values of text; false (list untouched) on any bad element.
bool ParseStartPtsList(const std::string& text, std::vector<uint32_t>& list);

}  // namespace kivtool
