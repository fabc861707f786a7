// Record of one composition object of a composition segment: the object and window it refers to.
#pragma once

#include <cstdint>

class CGspObject;

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_COMPOSITION_OBJECT final {
    virtual bool Fill(const CGspObject* object);

    uint16_t object_id_ref = 0;
    uint8_t window_id_ref = 0;
};

}}}  // namespace ts_comp::es::graphics_stream
