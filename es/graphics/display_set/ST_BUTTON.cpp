#include "es/graphics/display_set/ST_BUTTON.h"

#include "es/graphics/segments/CGspButton.h"

namespace ts_comp { namespace es { namespace graphics_stream {

bool ST_BUTTON::Fill(const CGspButton* button) {
    if (button == nullptr) return false;
    button_id = button->GetButtonId();
    normal_start_object_id_ref = button->GetNormalStartObjectIdRef();
    normal_end_object_id_ref = button->GetNormalEndObjectIdRef();
    selected_start_object_id_ref = button->GetSelectedStartObjectIdRef();
    selected_end_object_id_ref = button->GetSelectedEndObjectIdRef();
    activated_start_object_id_ref = button->GetActivatedStartObjectIdRef();
    activated_end_object_id_ref = button->GetActivatedEndObjectIdRef();
    return true;
}

}}}  // namespace ts_comp::es::graphics_stream
