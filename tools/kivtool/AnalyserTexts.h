// The texts kivtool shows of an analysis: the analyser's attribute texts, failures and the summary line.
#pragma once

#include <cstdint>
#include <string>

#include "es/CEs.h"

namespace kivtool {

// The analyser's XML attribute document followed by one line feed, as its XML file holds it.
std::string XmlText(ts_comp::es::CEs& analyser);

// The analyser's text report.
std::string ReportText(ts_comp::es::CEs& analyser);

// Writes text to path, or to standard output for "-"; false when the file cannot be written.
bool WriteTextTo(const std::string& path, const std::string& text);

// Prints "kivtool: " and the text to stderr, ending the line unless the text already does.
void PrintMessage(const std::string& message);

// The library's failure text, or for an empty one the tool's own sentence naming the kind and the file.
std::string LibraryFailureText(const std::string& error, int type, const std::string& esPath);

// "ac3: 32 units, 24576 bytes in 0.004 s (6.1 MB/s)".
std::string SummaryText(int type, int64_t units, int64_t bytes, double seconds);

}  // namespace kivtool
