// Record of a palette definition segment: the common fields only.
#pragma once

#include "es/graphics/display_set/ST_SEGMENT.h"

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_PDS : ST_SEGMENT {
    bool Fill(CGspSegment* segment) override;
};

}}}  // namespace ts_comp::es::graphics_stream
