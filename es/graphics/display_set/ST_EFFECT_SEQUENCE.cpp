#include "es/graphics/display_set/ST_EFFECT_SEQUENCE.h"

#include "es/graphics/segments/CGspEffectSequence.h"

namespace ts_comp { namespace es { namespace graphics_stream {

bool ST_EFFECT_SEQUENCE::Fill(const CGspEffectSequence* sequence) {
    if (sequence == nullptr) return false;
    windows.assign(sequence->GetWindowCount(), ST_WINDOW());
    for (uint32_t i = 0; i < windows.size(); ++i) {
        if (!windows[i].Fill(sequence->GetWindow(i))) return false;
    }
    number_of_effects = sequence->GetNumberOfEffects();
    effects.assign(sequence->GetEffectCount(), ST_EFFECT());
    for (uint32_t i = 0; i < effects.size(); ++i) {
        if (!effects[i].Fill(sequence->GetEffect(i))) return false;
    }
    return true;
}

}}}  // namespace ts_comp::es::graphics_stream
