#include "es/graphics/display_set/ST_ODS.h"

#include "es/graphics/segments/CGspODS.h"

namespace ts_comp { namespace es { namespace graphics_stream {

bool ST_ODS::Fill(CGspSegment* segment) {
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

}}}  // namespace ts_comp::es::graphics_stream
