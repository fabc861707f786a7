// Item of a video stream: the common fields, then sequence_end_code, closed_gop, picture_structure, reserved2.
#pragma once

#include "kiv/CKivItem.h"

namespace ts_comp {
namespace kiv {

class CVideoKivItem : public CKivItem {
public:
    CVideoKivItem();

protected:
    // For items that extend the video fields (the MVC dependent view).
    CVideoKivItem(uint32_t itemType, uint32_t itemSize);
};

}  // namespace kiv
}  // namespace ts_comp
