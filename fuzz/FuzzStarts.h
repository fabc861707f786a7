// The start values a fuzz input is analysed with, shared by the fuzz targets and the replay test.
#pragma once

#include <cstdint>
#include <vector>

#include "KivCreator.h"

namespace kiv_fuzz {

// Enough values to reach the second sequence or display set of any kind; the kinds that take exactly one
// value get one, else they would refuse every input before reading it.
inline std::vector<uint32_t> StartValues(int esType) {
    using kiv_comp::CKivCreator;
    const bool one = esType == CKivCreator::ES_TYPE_HDMV_LPCM || esType == CKivCreator::ES_TYPE_MLP ||
                     esType == CKivCreator::ES_TYPE_DRA;
    std::vector<uint32_t> starts;
    for (uint32_t i = 1; i <= (one ? 1u : 64u); ++i) starts.push_back(i * 90000);
    return starts;
}

}  // namespace kiv_fuzz
