// Record of one composition object of a composition segment: the object and window it refers to.
#pragma once

#include <cstdint>

#include "es/graphics/segments/CGspObject.h"

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_COMPOSITION_OBJECT final {
    virtual bool Fill(const CGspObject* object) {
        if (object == nullptr) return false;
        object_id_ref = object->GetObjectIdRef();
        window_id_ref = object->GetWindowIdRef();
        return true;
    }

    uint16_t object_id_ref = 0;
    uint8_t window_id_ref = 0;
};

}}}  // namespace ts_comp::es::graphics_stream
