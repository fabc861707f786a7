// Internal to the library: the body of CKivCreator::CreateKiv over any analyser table.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "CEsFactoryTable.h"
#include "KivNotice.h"

namespace ts_comp {
namespace api {

// Runs one analysis with the analyser `table` gives for `type`. On failure the reason is copied
// (at most 255 characters) into lastError, which must hold 256 bytes; a success leaves it alone. A host
// that wants the analyser's texts afterwards passes `ran`: it receives the analyser once CreateKiv returned.
bool DriveCreateKiv(const CEsFactoryTable& table, int type, const char* esPath, const char* kivPath,
                    const std::vector<uint32_t>& startPtsList, kiv_comp::CKivNotice* notice,
                    const char* tempPath, char* lastError, std::unique_ptr<es::CEs>* ran = nullptr);

// Copies at most 255 characters of text into a 256-byte array and terminates it.
void CopyBoundedText(char* target, const char* text);

}  // namespace api
}  // namespace ts_comp
