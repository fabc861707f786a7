// Record of one window: its id and size.
#pragma once

#include <cstdint>

class CGspWindow;

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_WINDOW final {
    virtual bool Fill(const CGspWindow* window);

    uint8_t window_id = 0;
    uint16_t window_width = 0;
    uint16_t window_height = 0;
};

}}}  // namespace ts_comp::es::graphics_stream
