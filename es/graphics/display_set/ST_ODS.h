// Record of an object definition segment (one fragment of an object).
#pragma once

#include "es/graphics/display_set/ST_SEGMENT.h"

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_ODS : ST_SEGMENT {
    bool Fill(CGspSegment* segment) override;

    uint16_t object_id = 0;
    uint8_t object_version_number = 0;
    uint8_t first_in_sequence_flag = 0;
    uint8_t last_in_sequence_flag = 0;
    uint16_t object_width = 0;
    uint16_t object_height = 0;
};

}}}  // namespace ts_comp::es::graphics_stream
