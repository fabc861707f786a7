// Record of a presentation composition segment.
#pragma once

#include <vector>

#include "es/graphics/display_set/ST_COMPOSITION_OBJECT.h"
#include "es/graphics/display_set/ST_SEGMENT.h"

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_PCS : ST_SEGMENT {
    // Copies the first number_of_composition_objects objects; fails when the segment holds fewer.
    bool Fill(CGspSegment* segment) override;

    uint16_t composition_number = 0;
    uint8_t composition_state = 0;
    uint8_t palette_update_flag = 0;
    uint16_t video_width = 0;
    uint16_t video_height = 0;
    uint8_t frame_rate = 0;
    uint8_t number_of_composition_objects = 0;
    std::vector<ST_COMPOSITION_OBJECT> composition_objects;
};

}}}  // namespace ts_comp::es::graphics_stream
