#include "es/graphics/display_set/ST_PDS.h"

#include "es/graphics/segments/CGspPDS.h"

namespace ts_comp { namespace es { namespace graphics_stream {

bool ST_PDS::Fill(CGspSegment* segment) {
    return SegmentAs<CGspPDS>(segment) != nullptr && ST_SEGMENT::Fill(segment);
}

}}}  // namespace ts_comp::es::graphics_stream
