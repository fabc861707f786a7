#include "es/graphics/ig/CInteractiveGraphicsEs.h"

#include <algorithm>

#include "es/graphics/display_set/GraphicsMessages.h"
#include "es/graphics/display_set/GraphicsOutput.h"
#include "es/graphics/ig/CCompositionFile.h"
#include "es/graphics/ig/CDisplaySetForInteractive.h"
#include "es/graphics/segments/CGspGsParser.h"
#include "es/graphics/segments/CGspICS.h"
#include "es/graphics/segments/GspConstants.h"

namespace ts_comp { namespace es {

using PRIVATE_LIBRARY::CL_CString;
using graphics_stream::CDisplaySetForInteractive;

namespace {

// Report: the count of ICS first fragments, with the attributes of the first of them.
// XML (firstOnly): the attributes of the first ICS of any fragment position.
bool ReadAttributes(const CL_CString& path, bool firstOnly, graphics_stream::GraphicsAttributes& out) {
    return graphics_stream::ForEachSegment(path, gsp::kSegmentICS, [&](CGspGsParser& parser, uint32_t i) {
        const auto* ics = SegmentAs<CGspICS>(parser.GetSegmentAt(i));
        if (ics == nullptr || (!firstOnly && ics->GetFirstInSequenceFlag() != 1)) return true;
        if (out.displaySets++ == 0) out.Take(ics);
        return !firstOnly;
    });
}

}  // namespace

CInteractiveGraphicsEs::CInteractiveGraphicsEs(const CL_CString& esPath) : CEs(esPath) {}

CInteractiveGraphicsEs::~CInteractiveGraphicsEs() = default;

bool CInteractiveGraphicsEs::CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) {
    if (kivPath == nullptr || startPtsList.empty()) return false;
    kiv::CGraphicsKiv kiv;
    if (!kiv.Create(kivPath)) return false;
    CL_CString esName;
    m_reader.GetFileName(esName);
    CGspGsParser parser;
    if (!parser.Open(esName.GetString())) return false;

    // The folder text is followed directly by the file name: no separator is inserted.
    CL_CString compositionPath(m_tempPath);
    compositionPath.Append(graphics_stream::kCompositionFileName);
    graphics_stream::CCompositionFile composition(compositionPath);
    CDisplaySetForInteractive displaySet;
    displaySet.SetIntermediateFolder(m_tempPath);
    kiv::CGraphicsKivPackedItem item;
    int64_t processed = 0;
    size_t k = 0;
    int64_t endPts = 0;
    for (uint32_t i = 0;; ++i) {
        CGspSegment* segment = parser.GetSegmentAt(i);
        if (segment == nullptr) break;
        if (segment->GetType() == gsp::kSegmentICS && static_cast<CGspICS*>(segment)->GetFirstInSequenceFlag() == 1) {
            composition.Build(parser, i);
            displaySet.SetIntermediateContents(composition.GetContents());
            segment = parser.GetSegmentAt(i);  // joining moved the parser over the following fragments
        }
        if (!displaySet.AddSegment(segment)) return false;
        if (segment->GetType() != gsp::kSegmentEND) continue;
        if (k == startPtsList.size()) {
            m_errorMessage = graphics_stream::kMsgStartPtsCount;
            return false;
        }
        if (!displaySet.ComputeTimeStamps(static_cast<int64_t>(startPtsList[k]))) return false;
        const auto notify = [this](int64_t bytes) { NotifyUnit(bytes, graphics_stream::kSourceInteractiveGraphicsEs, __LINE__); };
        if (!graphics_stream::WriteItems(kiv, item, displaySet, processed, notify)) return false;
        // Stream model 1 (multiplexed) lasts at least until its END; model 0 until its time-out, if any.
        const auto& ics = static_cast<const graphics_stream::ST_ICS&>(*displaySet.GetSegment(0));
        const int64_t shown = ics.pts + CDisplaySetForInteractive::FrameDuration(ics.frame_rate);
        if (ics.stream_model == 1) {
            endPts = std::max(shown, displaySet.GetSegment(displaySet.GetSegmentCount() - 1)->pts);
        } else {
            endPts = ics.composition_time_out_pts != 0 ? static_cast<int64_t>(ics.composition_time_out_pts) : shown;
        }
        displaySet.Clear();
        parser.ForgetIndexBefore(i + 1);
        ++k;
        composition.EndDisplaySet();
        displaySet.SetIntermediateContents(composition.GetContents());
    }
    // A descriptor that could not be read ends the index: the file cannot be indexed.
    if (parser.IndexFailed()) return false;
    graphics_stream::FillEndItem(item, endPts);
    return kiv.WriteItem(item);
}

void CInteractiveGraphicsEs::GetReportText(CL_CString& out) {
    CL_CString esName;
    m_reader.GetFileName(esName);
    graphics_stream::GraphicsAttributes a;
    if (ReadAttributes(esName, false, a)) a.AppendReport(out);
}

// A stream without ICS gives 0 for all three values, as the report does.
void CInteractiveGraphicsEs::GetXmlText(CL_CString& out) {
    CL_CString esName;
    m_reader.GetFileName(esName);
    graphics_stream::GraphicsAttributes a;
    if (ReadAttributes(esName, true, a)) a.MakeXml("IG", out);
}

}}  // namespace ts_comp::es
