// Makes the writer and the item class that belong to a kiv_file_type.
#pragma once

#include <cstdint>
#include <memory>

#include "kiv/CKiv.h"
#include "kiv/CKivItem.h"

namespace ts_comp {
namespace kiv {

// Lets a reader handle any KIV file generically, knowing only the 4 bytes at its start.
class CKivFactory {
public:
    // Null for a value that names no file type.
    static std::unique_ptr<CKiv> MakeKiv(uint32_t kivFileType);
    static std::unique_ptr<CKivItem> MakeItem(uint32_t kivFileType);
    // A short name of the stream family ("video", "audio", "graphics", "mvc_dependent_view"), or null.
    static const char* GetTypeName(uint32_t kivFileType);
};

}  // namespace kiv
}  // namespace ts_comp
