#include "KivFileHead.h"

#include <memory>

#include "foundation/CL_CFile.h"
#include "kiv/CKivFactory.h"
#include "kiv/KivConstants.h"

namespace kivtool {

namespace {

constexpr const char kCannotOpen[] = "cannot open: ";
constexpr const char kCannotRead[] = "cannot read: ";
constexpr const char kTooShort[] = " bytes, shorter than the 4-byte kiv_file_type";
constexpr const char kNotKiv[] = "not a KIV file: ";

}  // namespace

bool ReadKivHead(const std::string& path, uint32_t& type, int64_t& length, std::string& reason) {
    PRIVATE_LIBRARY::CL_CFile file(ts_comp::kiv::kKivFileBufferSize);
    if (file.Open(path.c_str(), "rb") != 1) {
        reason = std::string(kCannotOpen) + file.GetLastErrorText();
        return false;
    }
    uint8_t header[ts_comp::kiv::kKivHeaderSize] = {};
    const uint32_t got = file.Read(header, sizeof header, sizeof header);
    length = file.GetLength();
    const int error = file.GetLastErrorNumber();
    const std::string errorText = file.GetLastErrorText();
    file.Close();
    if (got != sizeof header) {
        reason = error != 0 ? kCannotRead + errorText : kNotKiv + std::to_string(got) + kTooShort;
        return false;
    }
    type = (uint32_t{header[0]} << 24) | (uint32_t{header[1]} << 16) | (uint32_t{header[2]} << 8) | header[3];
    return true;
}

int64_t CountKivUnits(const std::string& path) {
    uint32_t type = 0;
    int64_t length = 0;
    std::string reason;
    if (!ReadKivHead(path, type, length, reason)) return -1;
    const std::unique_ptr<ts_comp::kiv::CKiv> kiv = ts_comp::kiv::CKivFactory::MakeKiv(type);
    if (kiv == nullptr || kiv->GetItemSize() == 0) return -1;
    const int64_t items = (length - static_cast<int64_t>(ts_comp::kiv::kKivHeaderSize)) /
                          static_cast<int64_t>(kiv->GetItemSize());
    return items > 0 ? items - 1 : 0;
}

}  // namespace kivtool
