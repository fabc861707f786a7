#include "es/graphics/display_set/ST_SEGMENT.h"

#include "es/graphics/segments/CGspSegment.h"

namespace ts_comp { namespace es { namespace graphics_stream {

bool ST_SEGMENT::Fill(CGspSegment* segment) {
    if (segment == nullptr) return false;
    // The descriptor accessors are the base class's own (no segment class overrides them).
    segment_type = segment->CGspSegment::GetType();
    segment_length = segment->CGspSegment::GetLength();
    pts = dts = 0;
    return true;
}

}}}  // namespace ts_comp::es::graphics_stream
