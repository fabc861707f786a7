#include "es/graphics/display_set/GraphicsOutput.h"

#include "es/EsMessages.h"
#include "kiv/KivConstants.h"

namespace ts_comp { namespace es { namespace graphics_stream {

using PRIVATE_LIBRARY::CL_CString;

void FillEndItem(kiv::CGraphicsKivPackedItem& item, int64_t endPts) {
    item.Set(kiv::kEndItemType, 0, 0, static_cast<uint64_t>(endPts), 0, 0, 0);
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
