#include "foundation/ErrorClassification.h"

#include <cerrno>

#include "foundation/Messages.h"

namespace ts_comp {

int ClassifyFileError(int errorNumber, int kind) {
    switch (kind) {
        case kFileOperationOpen:
            if (errorNumber == ENOENT) return error_code::kOpenNotFound;
            if (errorNumber == EEXIST) return error_code::kOpenExists;
            return error_code::kOpenOther;
        case kFileOperationRead:
            return error_code::kReadWrite;
        case kFileOperationWrite:
            return errorNumber == ENOSPC ? error_code::kDiskFull : error_code::kReadWrite;
        case kFileOperationFourth:
            return error_code::kFourthKind;
        default:
            return error_code::kUnclassifiedFileOperation;
    }
}

}  // namespace ts_comp
