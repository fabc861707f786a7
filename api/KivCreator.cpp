#include "KivCreator.h"

#include <cstring>

#include "ApiMessages.h"
#include "CEsFactoryTable.h"
#include "KivCreateDriver.h"

namespace kiv_comp {

CKivCreator::CKivCreator() {
    std::memset(lastError, 0, sizeof lastError);
    std::memset(tempPath, 0, sizeof tempPath);
    ts_comp::api::CopyBoundedText(tempPath, messages::kDefaultTempPath);
}

// Both arrays are copied whole, bytes after the terminator included.
CKivCreator::CKivCreator(const CKivCreator& other) {
    std::memcpy(lastError, other.lastError, sizeof lastError);
    std::memcpy(tempPath, other.tempPath, sizeof tempPath);
}

CKivCreator& CKivCreator::operator=(const CKivCreator& other) {
    if (this != &other) {
        std::memcpy(lastError, other.lastError, sizeof lastError);
        std::memcpy(tempPath, other.tempPath, sizeof tempPath);
    }
    return *this;
}

CKivCreator::~CKivCreator() = default;

bool CKivCreator::CreateKiv(ES_TYPE type, const char* esPath, const char* kivPath,
                            std::vector<uint32_t> startPtsList, CKivNotice* notice) {
    return ts_comp::api::DriveCreateKiv(ts_comp::api::CEsFactoryTable::Active(), type, esPath, kivPath,
                                        startPtsList, notice, tempPath, lastError);
}

const char* CKivCreator::GetLastErrorMessage() const {
    return lastError;
}

// The path is a plain prefix: the caller supplies the trailing separator.
void CKivCreator::SetTempPath(const char* path) {
    ts_comp::api::CopyBoundedText(tempPath, path);
}

}  // namespace kiv_comp
