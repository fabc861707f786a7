#include "es/graphics/display_set/ST_END.h"

#include "es/graphics/segments/CGspEND.h"

namespace ts_comp { namespace es { namespace graphics_stream {

bool ST_END::Fill(CGspSegment* segment) {
    return SegmentAs<CGspEND>(segment) != nullptr && ST_SEGMENT::Fill(segment);
}

}}}  // namespace ts_comp::es::graphics_stream
