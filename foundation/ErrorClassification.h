// Error code of a failed file operation.
#pragma once

namespace ts_comp {

// Operation kinds for ClassifyFileError.
constexpr int kFileOperationOpen = 1;
constexpr int kFileOperationRead = 2;
constexpr int kFileOperationWrite = 3;
constexpr int kFileOperationFourth = 4;

// Maps errno and the operation kind to the code a CTsMuxException carries.
int ClassifyFileError(int errorNumber, int kind);

}  // namespace ts_comp
