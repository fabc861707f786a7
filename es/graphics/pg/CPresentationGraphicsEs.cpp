#include "es/graphics/pg/CPresentationGraphicsEs.h"

#include "es/graphics/display_set/GraphicsMessages.h"
#include "es/graphics/display_set/GraphicsOutput.h"
#include "es/graphics/pg/CDisplaySetForPresentation.h"
#include "es/graphics/segments/CGspGsParser.h"
#include "es/graphics/segments/CGspPCS.h"
#include "es/graphics/segments/GspConstants.h"

namespace ts_comp { namespace es {

using PRIVATE_LIBRARY::CL_CString;
using graphics_stream::CDisplaySetForPresentation;

namespace {

// The PCS count of the stream, with the attributes of its first PCS; only the first PCS when !countAll.
bool ReadAttributes(const CL_CString& path, bool countAll, graphics_stream::GraphicsAttributes& out) {
    return graphics_stream::ForEachSegment(path, gsp::kSegmentPCS, [&](CGspGsParser& parser, uint32_t i) {
        if (out.displaySets++ == 0) out.Take(SegmentAs<CGspPCS>(parser.GetSegmentAt(i)));
        return countAll;
    });
}

}  // namespace

CPresentationGraphicsEs::CPresentationGraphicsEs(const CL_CString& esPath) : CEs(esPath) {}

CPresentationGraphicsEs::~CPresentationGraphicsEs() = default;

bool CPresentationGraphicsEs::CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) {
    if (kivPath == nullptr || startPtsList.empty()) return false;
    kiv::CGraphicsKiv kiv;
    if (!kiv.Create(kivPath)) return false;
    CL_CString esName;
    m_reader.GetFileName(esName);
    CGspGsParser parser;
    if (!parser.Open(esName.GetString())) return false;

    CDisplaySetForPresentation displaySet;
    kiv::CGraphicsKivPackedItem item;
    int64_t processed = 0;
    size_t k = 0;
    int64_t endPts = 0;
    while (true) {
        CGspSegment* segment = parser.TakeNextSegment();
        if (segment == nullptr) break;
        if (!displaySet.AddSegment(segment)) return false;
        if (segment->CGspSegment::GetType() != gsp::kSegmentEND) continue;  // no segment class overrides it
        if (k == startPtsList.size()) {
            m_errorMessage = graphics_stream::kMsgStartPtsCount;
            return false;
        }
        if (!displaySet.ComputeTimeStamps(static_cast<int64_t>(startPtsList[k]))) return false;
        const auto notify = [this](int64_t bytes) { NotifyUnit(bytes, graphics_stream::kSourcePresentationGraphicsEs, __LINE__); };
        if (!graphics_stream::WriteItems(kiv, item, displaySet, processed, notify)) return false;
        const auto& pcs = static_cast<const graphics_stream::ST_PCS&>(*displaySet.GetSegment(0));
        endPts = pcs.pts + displaySet.GetShift() + CDisplaySetForPresentation::FrameDuration(pcs.frame_rate);
        displaySet.Clear();
        ++k;
    }
    // A descriptor that could not be read ends the index: the file cannot be indexed.
    if (parser.IndexFailed()) return false;
    graphics_stream::FillEndItem(item, endPts);
    return kiv.WriteItem(item);
}

void CPresentationGraphicsEs::GetReportText(CL_CString& out) {
    CL_CString esName;
    m_reader.GetFileName(esName);
    graphics_stream::GraphicsAttributes a;
    if (ReadAttributes(esName, true, a)) a.AppendReport(out);
}

// A stream without PCS gives 0 for all three values, as the report does.
void CPresentationGraphicsEs::GetXmlText(CL_CString& out) {
    CL_CString esName;
    m_reader.GetFileName(esName);
    graphics_stream::GraphicsAttributes a;
    if (ReadAttributes(esName, false, a)) a.MakeXml("PG", out);
}

}}  // namespace ts_comp::es
