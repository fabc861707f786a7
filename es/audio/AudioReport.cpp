#include "es/audio/AudioReport.h"

#include "foundation/Messages.h"

namespace ts_comp {
namespace es {

using PRIVATE_LIBRARY::CL_CString;

void AppendReportValue(CL_CString& out, const char* label, int value, bool marked) {
    CL_CString line;
    line.Format(kReportValueFormat, label, value);
    if (marked) {
        // The marker goes between the value and the "\r\n" of the line.
        line = line.Left(line.GetLength() - 2);
        line.Append(messages::kReportErrorMark);
        line.Append(kReportEmptyLine);
    }
    out.Append(line);
}

void AppendReportFlag(CL_CString& out, const char* label, bool exists) {
    CL_CString line;
    line.Format(kReportFlagFormat, label, exists ? kReportExist : kReportNoExist);
    out.Append(line);
}

}  // namespace es
}  // namespace ts_comp
