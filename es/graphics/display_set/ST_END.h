// Record of an end of display set segment: the common fields only.
#pragma once

#include "es/graphics/display_set/ST_SEGMENT.h"
#include "es/graphics/segments/CGspEND.h"

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_END : ST_SEGMENT {
    bool Fill(CGspSegment* segment) override {
        return SegmentAs<CGspEND>(segment) != nullptr && ST_SEGMENT::Fill(segment);
    }
};

}}}  // namespace ts_comp::es::graphics_stream
