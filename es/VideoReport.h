// The banner a video analyser's report opens with when its format or aspect-ratio code is invalid, and the
// frame-rate code its XML gives.
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

// The frame_rate code of a rate in thousandths of a frame per second; 0 for a rate a disc does not carry.
inline uint32_t FrameRateCode(uint32_t milliFramesPerSecond) {
    switch (milliFramesPerSecond) {
        case 23976: return 1;
        case 24000: return 2;
        case 25000: return 3;
        case 29970: return 4;
        case 50000: return 6;
        case 59940: return 7;
        default: return 0;
    }
}

}  // namespace es
}  // namespace ts_comp
