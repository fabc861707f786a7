// Texts of the library boundary.
#pragma once

namespace kiv_comp {
namespace messages {

constexpr const char kUnknownEsType[] = "unknown es type.\n";
constexpr const char kDefaultTempPath[] = "./";

}  // namespace messages
}  // namespace kiv_comp
