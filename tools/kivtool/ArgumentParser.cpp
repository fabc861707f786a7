#include "ArgumentParser.h"

#include <cstdio>

#include "Commands.h"
#include "ToolText.h"

namespace kivtool {

// "-" alone is an operand (standard output where it is allowed).
std::string ArgumentParser::PeekOption() const {
    if (AtEnd()) return "";
    const std::string& a = m_args[m_next];
    if (a.size() < 2 || a[0] != '-') return "";
    const std::size_t eq = a.find('=');
    return eq == std::string::npos ? a : a.substr(0, eq);
}

bool ArgumentParser::TakeValue(std::string& value) {
    const std::string& a = m_args[m_next++];
    const std::size_t eq = a.find('=');
    if (eq != std::string::npos) {
        value = a.substr(eq + 1);
        return true;
    }
    if (AtEnd()) {
        m_error = FormatText(text::kMissingValue, a);
        return false;
    }
    value = m_args[m_next++];
    return true;
}

bool ArgumentParser::TakeFlag() {
    const std::string& a = m_args[m_next++];
    if (a.find('=') != std::string::npos) {
        m_error = FormatText(text::kUnknownOption, a);
        return false;
    }
    return true;
}

std::string ArgumentParser::TakeOperand() {
    return m_args[m_next++];
}

void ArgumentParser::RejectOption() {
    m_error = FormatText(text::kUnknownOption, m_args[m_next]);
}

int UsageError(const std::string& reason) {
    std::fprintf(stderr, "%s%s\n%s", text::kProgramPrefix, reason.c_str(), text::kUsage);
    return kExitUsage;
}

std::string FormatText(const char* format, const std::string& argument) {
    const int length = std::snprintf(nullptr, 0, format, argument.c_str());
    std::string out(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    std::snprintf(out.data(), out.size() + 1, format, argument.c_str());
    return out;
}

}  // namespace kivtool
