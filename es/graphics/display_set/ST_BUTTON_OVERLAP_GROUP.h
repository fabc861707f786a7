// Record of one button overlap group: its default valid button and its buttons.
#pragma once

#include <cstdint>
#include <vector>

#include "es/graphics/display_set/ST_BUTTON.h"

class CGspBOG;

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_BUTTON_OVERLAP_GROUP {
    virtual bool Fill(const CGspBOG* group);

    uint16_t default_valid_button_id_ref = 0;
    std::vector<ST_BUTTON> buttons;
};

}}}  // namespace ts_comp::es::graphics_stream
