// Record of one window: its id and size.
#pragma once

#include <cstdint>

#include "es/graphics/segments/CGspWindow.h"

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_WINDOW final {
    virtual bool Fill(const CGspWindow* window) {
        if (window == nullptr) return false;
        window_id = window->GetWindowId();
        window_width = window->GetWindowWidth();
        window_height = window->GetWindowHeight();
        return true;
    }

    uint8_t window_id = 0;
    uint16_t window_width = 0;
    uint16_t window_height = 0;
};

}}}  // namespace ts_comp::es::graphics_stream
