// The stream-kind and start-PTS arguments of kivtool.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kivtool {

class ArgumentParser;

// Reads a stream kind given by name (mpeg2 ... ig) or by its number 1 to 10; false for anything else.
bool ParseEsType(const std::string& text, int& type);

// The kind's name for a number 1 to 10, or "" for other values.
const char* EsTypeName(int type);

// Reads plain decimal digits of a value of at most maxValue; false for anything else.
bool ParseDecimal(const std::string& text, uint64_t maxValue, uint64_t& value);

// Appends the comma-separated 32-bit decimal values of text; false (list untouched) on any bad element.
bool ParseStartPtsList(const std::string& text, std::vector<uint32_t>& list);

// Takes the option `name` off p when it is --type or --start-pts, into type or startPts; false when it is
// neither. `error` is set to the reason when the value is bad.
bool TakeKindOption(ArgumentParser& p, const std::string& name, int& type, std::vector<uint32_t>& startPts,
                    std::string& error);

}  // namespace kivtool
