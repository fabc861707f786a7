// Lines and texts shared by the text reports of the audio analysers.
#pragma once

#include "foundation/CL_CString.h"

namespace ts_comp {
namespace es {

constexpr const char* kReportValueFormat = "%s : %d\r\n";
constexpr const char* kReportFlagFormat = "%s : %s\r\n";
constexpr const char* kReportExist = "EXIST";
constexpr const char* kReportNoExist = "NO EXIST";
constexpr const char* kReportSeparator = "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n";
constexpr const char* kReportChannelsInvalid = "combinations of channels is invalid.\r\n";
constexpr const char* kReportEmptyLine = "\r\n";

// Appends "label : value", with the error marker before the line end when marked.
void AppendReportValue(PRIVATE_LIBRARY::CL_CString& out, const char* label, int value, bool marked = false);
// Appends "label : EXIST" or "label : NO EXIST".
void AppendReportFlag(PRIVATE_LIBRARY::CL_CString& out, const char* label, bool exists);

}  // namespace es
}  // namespace ts_comp
