#include "es/graphics/display_set/ST_COMPOSITION_OBJECT.h"

#include "es/graphics/segments/CGspObject.h"

namespace ts_comp { namespace es { namespace graphics_stream {

bool ST_COMPOSITION_OBJECT::Fill(const CGspObject* object) {
    if (object == nullptr) return false;
    object_id_ref = object->GetObjectIdRef();
    window_id_ref = object->GetWindowIdRef();
    return true;
}

}}}  // namespace ts_comp::es::graphics_stream
