// Record of an end of display set segment: the common fields only.
#pragma once

#include "es/graphics/display_set/ST_SEGMENT.h"

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_END : ST_SEGMENT {
    bool Fill(CGspSegment* segment) override;
};

}}}  // namespace ts_comp::es::graphics_stream
