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
void SetFields(kiv::CGraphicsKivItem& item, uint64_t type, uint64_t size, int64_t dts, int64_t pts,
               const ItemFlags& flags, ItemFlags& held) {
    item.SetCommonValues(type, size, static_cast<uint64_t>(dts), static_cast<uint64_t>(pts));
    if (flags.sub != held.sub) item.SetValue(kiv::kIdEncSubItemType, flags.sub);
    if (flags.first != held.first) item.SetValue(kiv::kIdFirstInSequenceFlag, flags.first);
    if (flags.last != held.last) item.SetValue(kiv::kIdLastInSequenceFlag, flags.last);
    held = flags;
}

}  // namespace

// A composition segment carries its composition_state; ICS and ODS records carry their sequence flags.
void FillItem(kiv::CGraphicsKivItem& item, const ST_SEGMENT& r, ItemFlags& held) {
    ItemFlags f{0, 0, 0};
    if (r.segment_type == gsp::kSegmentPCS) {
        f.sub = static_cast<const ST_PCS&>(r).composition_state;
    } else if (r.segment_type == gsp::kSegmentICS) {
        const auto& ics = static_cast<const ST_ICS&>(r);
        f = {ics.composition_state, ics.first_in_sequence_flag, ics.last_in_sequence_flag};
    } else if (r.segment_type == gsp::kSegmentODS) {
        const auto& ods = static_cast<const ST_ODS&>(r);
        f = {0, ods.first_in_sequence_flag, ods.last_in_sequence_flag};
    }
    SetFields(item, r.segment_type, uint64_t{r.segment_length} + 3, r.dts, r.pts, f, held);
}

void FillEndItem(kiv::CGraphicsKivItem& item, int64_t endPts) {
    ItemFlags unknown{UINT64_MAX, UINT64_MAX, UINT64_MAX};
    SetFields(item, kiv::kEndItemType, 0, 0, endPts, ItemFlags{0, 0, 0}, unknown);
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
