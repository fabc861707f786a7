// Record of a window definition segment.
#pragma once

#include <vector>

#include "es/graphics/display_set/ST_SEGMENT.h"
#include "es/graphics/display_set/ST_WINDOW.h"

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_WDS : ST_SEGMENT {
    // Copies the first number_of_windows windows; fails when the segment holds fewer.
    bool Fill(CGspSegment* segment) override;

    uint8_t number_of_windows = 0;
    std::vector<ST_WINDOW> windows;
};

}}}  // namespace ts_comp::es::graphics_stream
