#include "es/graphics/display_set/ST_WDS.h"

#include "es/graphics/segments/CGspWDS.h"

namespace ts_comp { namespace es { namespace graphics_stream {

bool ST_WDS::Fill(CGspSegment* segment) {
    auto* wds = SegmentAs<CGspWDS>(segment);
    if (wds == nullptr || !ST_SEGMENT::Fill(segment)) return false;
    number_of_windows = wds->GetNumberOfWindows();
    windows.resize(number_of_windows);  // each one filled whole below
    for (uint32_t i = 0; i < number_of_windows; ++i) {
        if (!windows[i].Fill(wds->GetWindow(i))) return false;
    }
    return true;
}

}}}  // namespace ts_comp::es::graphics_stream
