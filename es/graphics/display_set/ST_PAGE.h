// Record of one page of an interactive composition: what the decoder model needs to show it.
#pragma once

#include <cstdint>
#include <vector>

#include "es/graphics/display_set/ST_BUTTON_OVERLAP_GROUP.h"
#include "es/graphics/display_set/ST_EFFECT_SEQUENCE.h"

class CGspPage;

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_PAGE {
    virtual bool Fill(const CGspPage* page);

    uint8_t page_id = 0;
    ST_EFFECT_SEQUENCE in_effects;
    uint16_t default_selected_button_id_ref = 0xFFFF;
    std::vector<ST_BUTTON_OVERLAP_GROUP> groups;
};

}}}  // namespace ts_comp::es::graphics_stream
