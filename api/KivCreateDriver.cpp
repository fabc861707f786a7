#include "KivCreateDriver.h"

#include <cstring>

#include "ApiMessages.h"
#include "KivCreator.h"
#include "foundation/CTsMuxException.h"

namespace ts_comp {
namespace api {

namespace {

constexpr std::size_t kMaxTextLength = 255;

}  // namespace

void CopyBoundedText(char* target, const char* text) {
    std::size_t length = text == nullptr ? 0 : std::strlen(text);
    if (length > kMaxTextLength) length = kMaxTextLength;
    if (length > 0) std::memcpy(target, text, length);
    target[length] = '\0';
}

bool DriveCreateKiv(const CEsFactoryTable& table, int type, const char* esPath, const char* kivPath,
                    const std::vector<uint32_t>& startPtsList, kiv_comp::CKivNotice* notice,
                    const char* tempPath, char* lastError, std::unique_ptr<es::CEs>* ran) {
    const EsMaker make = table.Find(type);
    if (make == nullptr) {
        CopyBoundedText(lastError, kiv_comp::messages::kUnknownEsType);
        return false;
    }
    try {
        std::unique_ptr<es::CEs> analyser = make(PRIVATE_LIBRARY::CL_CString(esPath));
        if (type == kiv_comp::CKivCreator::ES_TYPE_IG) analyser->SetTempPath(PRIVATE_LIBRARY::CL_CString(tempPath));
        analyser->SetNotice(notice);
        // The host's 32-bit values are unsigned: widened by zero extension.
        std::vector<uint64_t> starts(startPtsList.begin(), startPtsList.end());
        const bool ok = analyser->CreateKiv(kivPath, std::move(starts));
        if (!ok) CopyBoundedText(lastError, analyser->GetLastErrorMessage());
        if (ran != nullptr) *ran = std::move(analyser);
        return ok;
    } catch (const CTsMuxException& e) {
        PRIVATE_LIBRARY::CL_CString message;
        e.GetErrorMessage(message);
        CopyBoundedText(lastError, message.GetString());
        return false;
    }
}

}  // namespace api
}  // namespace ts_comp
