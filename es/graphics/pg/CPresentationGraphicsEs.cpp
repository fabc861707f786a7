#include "es/graphics/pg/CPresentationGraphicsEs.h"

#include "es/graphics/pg/CDisplaySetForPresentation.h"
#include "es/graphics/segments/CGspGsParser.h"
#include "es/graphics/segments/CGspPCS.h"
#include "es/graphics/display_set/GraphicsMessages.h"
#include "es/graphics/segments/GspConstants.h"
#include "kiv/CGraphicsKiv.h"
#include "kiv/CGraphicsKivItem.h"
#include "kiv/KivConstants.h"

namespace ts_comp { namespace es {

using PRIVATE_LIBRARY::CL_CString;
using graphics_stream::CDisplaySetForPresentation;

namespace {

// Attributes taken from the first PCS of the stream (all 0 without one), with the PCS count.
struct PgAttributes {
    uint32_t pcsCount = 0;
    int width = 0, height = 0, frameRate = 0;
};

bool ReadAttributes(const CL_CString& path, bool countAll, PgAttributes& out) {
    CGspGsParser parser;
    if (!parser.Open(path.GetString())) return false;
    for (uint32_t i = 0; i < parser.GetSegmentCount(); ++i) {
        if (parser.GetIndexEntry(i).segment_type != gsp::kSegmentPCS) continue;
        if (out.pcsCount++ == 0) {
            const auto* pcs = dynamic_cast<const CGspPCS*>(parser.GetSegmentAt(i));
            if (pcs != nullptr) {
                out.width = pcs->GetVideoWidth();
                out.height = pcs->GetVideoHeight();
                out.frameRate = pcs->GetFrameRate();
            }
        }
        if (!countAll) break;
    }
    return true;
}

}  // namespace

CPresentationGraphicsEs::CPresentationGraphicsEs(const CL_CString& esPath) : CEs(esPath) {}

CPresentationGraphicsEs::~CPresentationGraphicsEs() = default;

int64_t CPresentationGraphicsEs::FrameDuration(uint8_t frameRateCode) {
    // Codes 1 and 7 give 3753 and 1501 ticks, as the decoder model has always used.
    static const int64_t kTicks[16] = {0, 3753, 3750, 3600, 3003, 0, 1800, 1501, 0, 0, 0, 0, 0, 0, 0, 0};
    return kTicks[frameRateCode & 0x0F];
}

bool CPresentationGraphicsEs::CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) {
    if (kivPath == nullptr || startPtsList.empty()) return false;
    kiv::CGraphicsKiv kiv;
    if (!kiv.Create(kivPath)) return false;
    CL_CString esName;
    m_reader.GetFileName(esName);
    CGspGsParser parser;
    if (!parser.Open(esName.GetString())) return false;

    CDisplaySetForPresentation displaySet;
    kiv::CGraphicsKivItem item;
    int64_t processed = 0;
    size_t k = 0;
    int64_t endPts = 0;
    for (uint32_t i = 0;; ++i) {
        CGspSegment* segment = parser.GetSegmentAt(i);
        if (segment == nullptr) break;
        if (!displaySet.AddSegment(segment)) return false;
        if (segment->GetType() != gsp::kSegmentEND) continue;
        if (k == startPtsList.size()) {
            m_errorMessage = graphics_stream::kMsgStartPtsCount;
            return false;
        }
        if (!displaySet.ComputeTimeStamps(static_cast<int64_t>(startPtsList[k]))) return false;
        for (uint32_t r = 0; r < displaySet.GetSegmentCount(); ++r) {
            const graphics_stream::ST_SEGMENT& rec = *displaySet.GetSegment(r);
            uint64_t subType = 0, first = 0, last = 0;
            if (rec.segment_type == gsp::kSegmentPCS) {
                subType = static_cast<const graphics_stream::ST_PCS&>(rec).composition_state;
            } else if (rec.segment_type == gsp::kSegmentODS) {
                const auto& ods = static_cast<const graphics_stream::ST_ODS&>(rec);
                first = ods.first_in_sequence_flag;
                last = ods.last_in_sequence_flag;
            }
            item.SetValue(kiv::kIdEncItemType, rec.segment_type);
            item.SetValue(kiv::kIdEncItemSize, uint64_t{rec.segment_length} + 3);
            item.SetValue(kiv::kIdDts, static_cast<uint64_t>(rec.dts));
            item.SetValue(kiv::kIdPts, static_cast<uint64_t>(rec.pts));
            item.SetValue(kiv::kIdReserved1, 0);
            item.SetValue(kiv::kIdEncSubItemType, subType);
            item.SetValue(kiv::kIdFirstInSequenceFlag, first);
            item.SetValue(kiv::kIdLastInSequenceFlag, last);
            item.SetValue(kiv::kIdReserved2, 0);
            if (!kiv.WriteItem(item)) return false;
            processed += int64_t{rec.segment_length} + 3;
            NotifyUnit(processed, graphics_stream::kSourcePresentationGraphicsEs, __LINE__);
        }
        const auto& pcs = static_cast<const graphics_stream::ST_PCS&>(*displaySet.GetSegment(0));
        endPts = pcs.pts + FrameDuration(pcs.frame_rate);
        displaySet.Clear();
        ++k;
    }
    item.SetValue(kiv::kIdEncItemType, kiv::kEndItemType);
    item.SetValue(kiv::kIdEncItemSize, 0);
    item.SetValue(kiv::kIdDts, 0);
    item.SetValue(kiv::kIdPts, static_cast<uint64_t>(endPts));
    item.SetValue(kiv::kIdReserved1, 0);
    item.SetValue(kiv::kIdEncSubItemType, 0);
    return kiv.WriteItem(item);
}

void CPresentationGraphicsEs::GetReportText(CL_CString& out) {
    CL_CString esName;
    m_reader.GetFileName(esName);
    PgAttributes a;
    if (!ReadAttributes(esName, true, a)) return;
    const struct {
        const char* name;
        int value;
    } lines[] = {{"[number of displayset]", static_cast<int>(a.pcsCount)},
                 {"[video width]", a.width},
                 {"[video height]", a.height},
                 {"[frame rate]", a.frameRate}};
    for (const auto& l : lines) {
        CL_CString line;
        line.Format("%s : %d\r\n", l.name, l.value);
        out.Append(line);
    }
}

// A stream without PCS gives 0 for all three values, as the report does.
void CPresentationGraphicsEs::GetXmlText(CL_CString& out) {
    CL_CString esName;
    m_reader.GetFileName(esName);
    PgAttributes a;
    if (!ReadAttributes(esName, false, a)) return;
    CL_CString line;
    out = kXmlDeclaration;
    out.Append("\n");
    line.Format("<PG xmlns=\"%s\">\n", kXmlNamespace);
    out.Append(line);
    out.Append("  <parameter>\n");
    line.Format("    <video_width>%d</video_width>\n", a.width);
    out.Append(line);
    line.Format("    <video_height>%d</video_height>\n", a.height);
    out.Append(line);
    line.Format("    <frame_rate>%d</frame_rate>\n", a.frameRate);
    out.Append(line);
    out.Append("  </parameter>\n");
    out.Append("</PG>\n");
}

}}  // namespace ts_comp::es
