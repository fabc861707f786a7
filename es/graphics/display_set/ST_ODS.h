// Record of an object definition segment (one fragment of an object).
#pragma once

#include "es/graphics/display_set/ST_SEGMENT.h"
#include "es/graphics/segments/CGspODS.h"

namespace ts_comp { namespace es { namespace graphics_stream {

struct ST_ODS : ST_SEGMENT {
    bool Fill(CGspSegment* segment) override {
        auto* ods = SegmentAs<CGspODS>(segment);
        if (ods == nullptr || !ST_SEGMENT::Fill(segment)) return false;
        object_id = ods->GetObjectId();
        object_version_number = ods->GetObjectVersionNumber();
        first_in_sequence_flag = ods->GetFirstInSequenceFlag();
        last_in_sequence_flag = ods->GetLastInSequenceFlag();
        object_width = ods->GetObjectWidth();
        object_height = ods->GetObjectHeight();
        return true;
    }

    uint16_t object_id = 0;
    uint8_t object_version_number = 0;
    uint8_t first_in_sequence_flag = 0;
    uint8_t last_in_sequence_flag = 0;
    uint16_t object_width = 0;
    uint16_t object_height = 0;
};

}}}  // namespace ts_comp::es::graphics_stream
