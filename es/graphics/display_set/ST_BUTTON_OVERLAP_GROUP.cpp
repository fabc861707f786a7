#include "es/graphics/display_set/ST_BUTTON_OVERLAP_GROUP.h"

#include "es/graphics/segments/CGspBOG.h"

namespace ts_comp { namespace es { namespace graphics_stream {

bool ST_BUTTON_OVERLAP_GROUP::Fill(const CGspBOG* group) {
    if (group == nullptr) return false;
    default_valid_button_id_ref = group->GetDefaultValidButtonIdRef();
    buttons.assign(group->GetButtonCount(), ST_BUTTON());
    for (uint32_t i = 0; i < buttons.size(); ++i) {
        if (!buttons[i].Fill(group->GetButton(i))) return false;
    }
    return true;
}

}}}  // namespace ts_comp::es::graphics_stream
