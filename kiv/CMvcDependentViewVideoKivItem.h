// Item of an MVC dependent view: the video fields, then offset_metadata_pos and offset_metadata_size.
#pragma once

#include "kiv/CVideoKivItem.h"

namespace ts_comp {
namespace kiv {

class CMvcDependentViewVideoKivItem : public CVideoKivItem {
public:
    CMvcDependentViewVideoKivItem();
};

}  // namespace kiv
}  // namespace ts_comp
