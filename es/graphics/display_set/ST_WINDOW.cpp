#include "es/graphics/display_set/ST_WINDOW.h"

#include "es/graphics/segments/CGspWindow.h"

namespace ts_comp { namespace es { namespace graphics_stream {

bool ST_WINDOW::Fill(const CGspWindow* window) {
    if (window == nullptr) return false;
    window_id = window->GetWindowId();
    window_width = window->GetWindowWidth();
    window_height = window->GetWindowHeight();
    return true;
}

}}}  // namespace ts_comp::es::graphics_stream
