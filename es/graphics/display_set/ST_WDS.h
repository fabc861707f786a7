// Record of a window definition segment.
#pragma once

#include <vector>

#include "es/graphics/display_set/ST_SEGMENT.h"
#include "es/graphics/display_set/ST_WINDOW.h"
#include "es/graphics/segments/CGspWDS.h"

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_WDS : ST_SEGMENT {
    // Copies the first number_of_windows windows; fails when the segment holds fewer.
    bool Fill(CGspSegment* segment) override {
        auto* wds = SegmentAs<CGspWDS>(segment);
        if (wds == nullptr || !ST_SEGMENT::Fill(segment)) return false;
        number_of_windows = wds->GetNumberOfWindows();
        windows.resize(number_of_windows);  // each one filled whole below
        for (uint32_t i = 0; i < number_of_windows; ++i) {
            if (!windows[i].Fill(wds->GetWindow(i))) return false;
        }
        return true;
    }

    uint8_t number_of_windows = 0;
    std::vector<ST_WINDOW> windows;
};

}}}  // namespace ts_comp::es::graphics_stream
