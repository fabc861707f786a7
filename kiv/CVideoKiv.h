// KIV file of video streams (MPEG-2, AVC, VC-1).
#pragma once

#include "kiv/CKiv.h"

namespace ts_comp {
namespace kiv {

class CVideoKiv : public CKiv {
public:
    CVideoKiv();

protected:
    // For files that extend the video items (the MVC dependent view).
    CVideoKiv(uint32_t kivFileType, uint64_t itemSize);
};

}  // namespace kiv
}  // namespace ts_comp
