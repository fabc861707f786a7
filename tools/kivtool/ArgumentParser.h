// Walks a command's arguments: options with values ("--name value" or "--name=value"), flags and operands.
#pragma once

#include <string>
#include <vector>

namespace kivtool {

// Hands out one argument at a time; an unknown option or a missing value is recorded as the error.
class ArgumentParser {
public:
    explicit ArgumentParser(const std::vector<std::string>& args) : m_args(args) {}

    bool AtEnd() const { return m_next >= m_args.size(); }
    // The next argument's option name ("--type" of "--type=ac3"), or "" for an operand.
    std::string PeekOption() const;
    // Consumes an option that takes a value; false (with the error set) when the value is missing.
    bool TakeValue(std::string& value);
    // Consumes a flag; false (with the error set) when it was written with "=value".
    bool TakeFlag();
    // Consumes an operand.
    std::string TakeOperand();
    // Records an unknown option for the next argument.
    void RejectOption();

    const std::string& Error() const { return m_error; }

private:
    const std::vector<std::string>& m_args;
    std::size_t m_next = 0;
    std::string m_error;
};

// Prints "kivtool: reason" and the usage to stderr; returns the usage exit status.
int UsageError(const std::string& reason);

// printf-style formatting into a std::string, for the tool's messages.
std::string FormatText(const char* format, const std::string& argument);

}  // namespace kivtool
