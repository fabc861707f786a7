// The banner a video analyser's report opens with when its format or aspect-ratio code is invalid.
#pragma once

#include <cstdint>

#include "foundation/CL_CString.h"

namespace ts_comp {
namespace es {

// Nothing when both codes are valid (non-zero); else the invalid ones between two separator lines.
inline void AppendInvalidCombinationBanner(PRIVATE_LIBRARY::CL_CString& out, uint32_t videoFormat,
                                           uint32_t aspectRatio) {
    constexpr const char* separator = "-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*-*\r\n";
    if (videoFormat != 0 && aspectRatio != 0) return;
    out.Append(separator);
    if (videoFormat == 0) out.Append("combinations of parameters for video_format is invalid.\r\n");
    if (aspectRatio == 0) out.Append("combinations of parameters for aspect_ratio is invalid.\r\n");
    out.Append(separator);
}

}  // namespace es
}  // namespace ts_comp
