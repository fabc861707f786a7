// Catalogue of the message texts and error codes shared by the layers.
#pragma once

namespace ts_comp {
namespace messages {

// Thrown by the analyser base constructor with the ES path (code 8, 9 or 10).
constexpr const char* kFileCanNotOpen = "File can not open.(%s)";
// Analyser constructors (code 15).
constexpr const char* kEsFileIsShort = "The es file is short.";
constexpr const char* kEsAttributeInvalid = "The es attribute is invalid.(parse error)";
constexpr const char* kEndianInverse = "An endian of es is inverse.";
constexpr const char* kDtshdContainsMetadata = "An dtshd contains metadata.";
// Stored by the KIV writer as its message: type in the file, then the writer's own type.
constexpr const char* kKivFileTypeInvalid = "The kiv_file_type is invalid. current(%d) real(%d)";
// Every analyser's CreateKiv when the host aborts (code 0).
constexpr const char* kAbortEnd = "abort end.";

// Texts of several analysers' own throws; the leading line feeds and the missing ")" belong to them.
constexpr const char* kStartPtsNotSet = "\nstart pts is not set.";               // code 6
constexpr const char* kFileOpenError = "\nfile open error.(file name = %s)";     // code 10
constexpr const char* kOpenError = "\nopen error. (file name = %s.)";           // code 10
constexpr const char* kWriteError = "\nwrite error. (file name = %s.";          // code 13

// Appended to a text-report line whose value is suspicious.
constexpr const char* kReportErrorMark = "   <--- error";
// Console line of the parsers that meet a header cut off by the end of the file.
constexpr const char* kFileReadErrorLine = "file read error %s\n";

// CL_CFile's error text for a read at the end of the file.
constexpr const char* kReadAtEndOfFile = "The function tries to read at end of file";

}  // namespace messages

namespace error_code {

constexpr int kAbort = 0;
constexpr int kUnclassifiedFileOperation = 5;
constexpr int kStreamContent = 6;
constexpr int kOpenNotFound = 8;
constexpr int kOpenExists = 9;
constexpr int kOpenOther = 10;
constexpr int kFourthKind = 11;
constexpr int kReadWrite = 12;
constexpr int kAnalyserWrite = 13;
constexpr int kDiskFull = 14;
constexpr int kUnusableEs = 15;

}  // namespace error_code
}  // namespace ts_comp
