#include "es/graphics/display_set/ST_PCS.h"

#include "es/graphics/segments/CGspPCS.h"

namespace ts_comp { namespace es { namespace graphics_stream {

bool ST_PCS::Fill(CGspSegment* segment) {
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

}}}  // namespace ts_comp::es::graphics_stream
