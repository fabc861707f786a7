// Record of an effect sequence of a page: its windows and its effects.
#pragma once

#include <cstdint>
#include <vector>

#include "es/graphics/display_set/ST_EFFECT.h"
#include "es/graphics/display_set/ST_WINDOW.h"

class CGspEffectSequence;

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_EFFECT_SEQUENCE {
    virtual bool Fill(const CGspEffectSequence* sequence);

    std::vector<ST_WINDOW> windows;
    uint8_t number_of_effects = 0;
    std::vector<ST_EFFECT> effects;
};

}}}  // namespace ts_comp::es::graphics_stream
