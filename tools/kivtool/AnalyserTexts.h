// The stream attributes of an ES file as the analyser of its kind gives them, without writing a KIV file.
#pragma once

#include <memory>
#include <string>

#include "es/CEs.h"

namespace kivtool {

// Builds the analyser for `type` on esPath; null with the library's text in `error` when that fails.
std::unique_ptr<ts_comp::es::CEs> OpenAnalyser(int type, const std::string& esPath, std::string& error);

// The analyser's XML attribute document followed by one line feed, as its XML file holds it.
std::string XmlText(ts_comp::es::CEs& analyser);

// The analyser's text report.
std::string ReportText(ts_comp::es::CEs& analyser);

// Writes text to path, or to standard output for "-"; false when the file cannot be written.
bool WriteTextTo(const std::string& path, const std::string& text);

// Prints "kivtool: " and the text to stderr, ending the line unless the text already does.
void PrintFailure(const std::string& message);

}  // namespace kivtool
