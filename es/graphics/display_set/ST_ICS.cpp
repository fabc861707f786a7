#include "es/graphics/display_set/ST_ICS.h"

#include "es/graphics/display_set/GraphicsMessages.h"
#include "es/graphics/segments/CGspIC.h"
#include "es/graphics/segments/CGspICS.h"
#include "es/graphics/segments/GspConstants.h"

namespace ts_comp { namespace es { namespace graphics_stream {

bool ST_ICS::Fill(CGspSegment* segment) {
    auto* ics = SegmentAs<CGspICS>(segment);
    if (ics == nullptr || !ST_SEGMENT::Fill(segment)) return false;
    composition_number = ics->GetCompositionNumber();
    composition_state = ics->GetCompositionState();
    video_width = ics->GetVideoWidth();
    video_height = ics->GetVideoHeight();
    frame_rate = ics->GetFrameRate();
    first_in_sequence_flag = ics->GetFirstInSequenceFlag();
    last_in_sequence_flag = ics->GetLastInSequenceFlag();
    CGspIC composition;
    if (contents != nullptr) {
        if (!composition.Parse(contents->data(), contents->size())) return false;
    } else {
        // The folder text is followed directly by the file name: no separator is inserted.
        PRIVATE_LIBRARY::CL_CString path(folder);
        path.Append(kCompositionFileName);
        if (!m_compositionFile) m_compositionFile = std::make_unique<PRIVATE_LIBRARY::CL_CFile>(gsp::kFileBufferSize);
        if (!composition.Parse(path.GetString(), *m_compositionFile)) return false;
    }
    stream_model = composition.GetStreamModel();
    composition_time_out_pts = stream_model == 1 ? 0 : composition.GetCompositionTimeOutPts();
    pages.assign(composition.GetPageCount(), ST_PAGE());
    for (uint32_t i = 0; i < pages.size(); ++i) {
        if (!pages[i].Fill(composition.GetPage(i))) return false;
    }
    return true;
}

}}}  // namespace ts_comp::es::graphics_stream
