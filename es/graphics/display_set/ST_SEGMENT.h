// Record of one segment of a display set: what every kind shares, with the computed time stamps.
#pragma once

#include <cstdint>

#include "es/graphics/segments/CGspSegment.h"

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_SEGMENT {
    virtual ~ST_SEGMENT() = default;
    // Sets every field from the parser's segment (a record may be reused); false when it is not of the
    // matching class.
    virtual bool Fill(CGspSegment* segment) {
        if (segment == nullptr) return false;
        // The descriptor accessors are the base class's own (no segment class overrides them).
        segment_type = segment->CGspSegment::GetType();
        segment_length = segment->CGspSegment::GetLength();
        pts = dts = 0;
        return true;
    }

    uint8_t segment_type = 0;
    uint16_t segment_length = 0;
    int64_t pts = 0;
    int64_t dts = 0;
};

}}}  // namespace ts_comp::es::graphics_stream
