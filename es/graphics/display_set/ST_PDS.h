// Record of a palette definition segment: the common fields only.
#pragma once

#include "es/graphics/display_set/ST_SEGMENT.h"
#include "es/graphics/segments/CGspPDS.h"

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_PDS : ST_SEGMENT {
    bool Fill(CGspSegment* segment) override {
        return SegmentAs<CGspPDS>(segment) != nullptr && ST_SEGMENT::Fill(segment);
    }
};

}}}  // namespace ts_comp::es::graphics_stream
