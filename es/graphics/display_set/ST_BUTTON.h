// Record of one button: its id and the objects that start and end each of its states.
#pragma once

#include <cstdint>

class CGspButton;

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_BUTTON {
    virtual bool Fill(const CGspButton* button);

    uint16_t button_id = 0;
    uint16_t normal_start_object_id_ref = 0;
    uint16_t normal_end_object_id_ref = 0;
    uint16_t selected_start_object_id_ref = 0;
    uint16_t selected_end_object_id_ref = 0;
    uint16_t activated_start_object_id_ref = 0;
    uint16_t activated_end_object_id_ref = 0;
};

}}}  // namespace ts_comp::es::graphics_stream
