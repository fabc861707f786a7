#include "es/graphics/display_set/ST_EFFECT.h"

#include "es/graphics/segments/CGspEffect.h"

namespace ts_comp { namespace es { namespace graphics_stream {

bool ST_EFFECT::Fill(const CGspEffect* effect) {
    if (effect == nullptr) return false;
    composition_objects.assign(effect->GetCompositionObjectCount(), ST_COMPOSITION_OBJECT());
    for (uint32_t i = 0; i < composition_objects.size(); ++i) {
        if (!composition_objects[i].Fill(effect->GetCompositionObject(i))) return false;
    }
    return true;
}

}}}  // namespace ts_comp::es::graphics_stream
