// Record of one effect of an effect sequence: its composition objects.
#pragma once

#include <vector>

#include "es/graphics/display_set/ST_COMPOSITION_OBJECT.h"

class CGspEffect;

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_EFFECT {
    virtual bool Fill(const CGspEffect* effect);

    std::vector<ST_COMPOSITION_OBJECT> composition_objects;
};

}}}  // namespace ts_comp::es::graphics_stream
