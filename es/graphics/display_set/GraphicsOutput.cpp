#include "es/graphics/display_set/GraphicsOutput.h"

#include "es/EsMessages.h"
#include "es/graphics/display_set/ST_ICS.h"
#include "es/graphics/display_set/ST_ODS.h"
#include "es/graphics/display_set/ST_PCS.h"
#include "es/graphics/segments/GspConstants.h"
#include "kiv/KivConstants.h"

namespace ts_comp { namespace es { namespace graphics_stream {

using PRIVATE_LIBRARY::CL_CString;

namespace {

// reserved1 and reserved2 stay 0 from the item's construction: no item sets them.
void SetFields(kiv::CGraphicsKivItem& item, uint64_t type, uint64_t size, int64_t dts, int64_t pts, uint64_t sub,
               uint64_t first, uint64_t last) {
    item.SetCommonValues(type, size, static_cast<uint64_t>(dts), static_cast<uint64_t>(pts));
    item.SetValue(kiv::kIdEncSubItemType, sub);
    item.SetValue(kiv::kIdFirstInSequenceFlag, first);
    item.SetValue(kiv::kIdLastInSequenceFlag, last);
}

}  // namespace

// A composition segment carries its composition_state; ICS and ODS records carry their sequence flags.
void FillItem(kiv::CGraphicsKivItem& item, const ST_SEGMENT& r) {
    uint64_t sub = 0, first = 0, last = 0;
    if (r.segment_type == gsp::kSegmentPCS) {
        sub = static_cast<const ST_PCS&>(r).composition_state;
    } else if (r.segment_type == gsp::kSegmentICS) {
        const auto& ics = static_cast<const ST_ICS&>(r);
        sub = ics.composition_state;
        first = ics.first_in_sequence_flag;
        last = ics.last_in_sequence_flag;
    } else if (r.segment_type == gsp::kSegmentODS) {
        const auto& ods = static_cast<const ST_ODS&>(r);
        first = ods.first_in_sequence_flag;
        last = ods.last_in_sequence_flag;
    }
    SetFields(item, r.segment_type, uint64_t{r.segment_length} + 3, r.dts, r.pts, sub, first, last);
}

void FillEndItem(kiv::CGraphicsKivItem& item, int64_t endPts) {
    SetFields(item, kiv::kEndItemType, 0, 0, endPts, 0, 0, 0);
}

void GraphicsAttributes::AppendReport(CL_CString& out) const {
    const struct {
        const char* name;
        int value;
    } lines[] = {{"[number of displayset]", static_cast<int>(displaySets)},
                 {"[video width]", width},
                 {"[video height]", height},
                 {"[frame rate]", frameRate}};
    for (const auto& l : lines) {
        CL_CString line;
        line.Format("%s : %d\r\n", l.name, l.value);
        out.Append(line);
    }
}

void GraphicsAttributes::MakeXml(const char* root, CL_CString& out) const {
    CL_CString line;
    out = kXmlDeclaration;
    out.Append("\n");
    line.Format("<%s xmlns=\"%s\">\n", root, kXmlNamespace);
    out.Append(line);
    out.Append("  <parameter>\n");
    line.Format("    <video_width>%d</video_width>\n", width);
    out.Append(line);
    line.Format("    <video_height>%d</video_height>\n", height);
    out.Append(line);
    line.Format("    <frame_rate>%d</frame_rate>\n", frameRate);
    out.Append(line);
    out.Append("  </parameter>\n");
    line.Format("</%s>\n", root);
    out.Append(line);
}

}}}  // namespace ts_comp::es::graphics_stream
