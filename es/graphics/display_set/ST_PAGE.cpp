#include "es/graphics/display_set/ST_PAGE.h"

#include "es/graphics/segments/CGspPage.h"

namespace ts_comp { namespace es { namespace graphics_stream {

bool ST_PAGE::Fill(const CGspPage* page) {
    if (page == nullptr) return false;
    page_id = page->GetPageId();
    if (!in_effects.Fill(page->GetInEffects())) return false;
    default_selected_button_id_ref = page->GetDefaultSelectedButtonIdRef();
    groups.assign(page->GetBOGCount(), ST_BUTTON_OVERLAP_GROUP());
    for (uint32_t i = 0; i < groups.size(); ++i) {
        if (!groups[i].Fill(page->GetBOG(i))) return false;
    }
    return true;
}

}}}  // namespace ts_comp::es::graphics_stream
