// What kivtool checks before it calls the library, so that a plain mistake is told as a usage error.
#pragma once

#include <cstddef>
#include <string>

namespace kivtool {

// "" when the folder of `path` exists and can be written, else the reason.
std::string CheckOutputFolder(const std::string& path);

// True for the kinds that take exactly one start value (LPCM, MLP, DRA).
bool TakesOneStartValue(int type);

// "" when `type` accepts `count` start values, else the reason (some kinds take exactly one).
std::string CheckStartValues(int type, std::size_t count);

}  // namespace kivtool
