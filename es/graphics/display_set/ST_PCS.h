// Record of a presentation composition segment.
#pragma once

#include <vector>

#include "es/graphics/display_set/ST_COMPOSITION_OBJECT.h"
#include "es/graphics/display_set/ST_SEGMENT.h"
#include "es/graphics/segments/CGspPCS.h"

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_PCS : ST_SEGMENT {
    // Copies the first number_of_composition_objects objects; fails when the segment holds fewer.
    bool Fill(CGspSegment* segment) override {
        auto* pcs = SegmentAs<CGspPCS>(segment);
        if (pcs == nullptr || !ST_SEGMENT::Fill(segment)) return false;
        composition_number = pcs->GetCompositionNumber();
        composition_state = pcs->GetCompositionState();
        palette_update_flag = pcs->GetPaletteUpdateFlag();
        video_width = pcs->GetVideoWidth();
        video_height = pcs->GetVideoHeight();
        frame_rate = pcs->GetFrameRate();
        number_of_composition_objects = pcs->GetNumberOfCompositionObjects();
        composition_objects.resize(number_of_composition_objects);  // each one filled whole below
        for (uint32_t i = 0; i < number_of_composition_objects; ++i) {
            if (!composition_objects[i].Fill(pcs->GetCompositionObject(i))) return false;
        }
        return true;
    }

    uint16_t composition_number = 0;
    uint8_t composition_state = 0;
    uint8_t palette_update_flag = 0;
    uint16_t video_width = 0;
    uint16_t video_height = 0;
    uint8_t frame_rate = 0;
    uint8_t number_of_composition_objects = 0;
    std::vector<ST_COMPOSITION_OBJECT> composition_objects;
};

}}}  // namespace ts_comp::es::graphics_stream
