#include "es/graphics/display_set/ST_SEGMENT.h"

#include "es/graphics/segments/CGspSegment.h"

namespace ts_comp { namespace es { namespace graphics_stream {

bool ST_SEGMENT::Fill(CGspSegment* segment) {
    if (segment == nullptr) return false;
    segment_type = segment->GetType();
    segment_length = segment->GetLength();
    pts = dts = 0;
    return true;
}

}}}  // namespace ts_comp::es::graphics_stream
