#include "es/graphics/pg/CDisplaySetForPresentation.h"

#include "es/graphics/segments/CGspSegment.h"
#include "es/graphics/display_set/GraphicsMessages.h"
#include "es/graphics/segments/GspConstants.h"
#include "foundation/CTsMuxException.h"

namespace ts_comp { namespace es { namespace graphics_stream {

namespace {

[[noreturn]] void ThrowContent(const PRIVATE_LIBRARY::CL_CString& message, int line) {
    throw CTsMuxException(kContentErrorCode, message, kSourceDisplaySetForPresentation, line, nullptr, nullptr);
}

}  // namespace

CDisplaySetForPresentation::CDisplaySetForPresentation() : CAbstractDisplaySet(kPgDecodingRate, kPgObjectSlots) {}

// The order was checked as the records arrived.
bool CDisplaySetForPresentation::Validate() {
    if (m_misordered) return false;
    if (m_state != 0) {
        PRIVATE_LIBRARY::CL_CString message;
        if ((m_seen & kWds) == 0) {
            message.Format(kMsgNoWds, m_displaySetNumber);
            ThrowContent(message, __LINE__);
        }
        if ((m_seen & kPds) == 0) {
            message.Format(kMsgNoPds, m_displaySetNumber);
            ThrowContent(message, __LINE__);
        }
    }
    return (m_seen & kEnd) != 0 || IsEmpty();
}

bool CDisplaySetForPresentation::ComputeTimeStamps(int64_t startPts) {
    if (IsEmpty() || !CDisplaySetForPresentation::Validate()) return false;
    RunCommonTimingPass();
    if (Front().segment_type != gsp::kSegmentPCS) {
        PRIVATE_LIBRARY::CL_CString message;
        message.Format(kMsgFirstNotPcs, m_displaySetNumber);
        ThrowContent(message, __LINE__);
    }
    auto& pcs = static_cast<ST_PCS&>(Front());
    pcs.pts += CompositionTime(pcs);
    // Window drawing; a window id listed twice counts the size of its last occurrence each time.
    int64_t bits = 0;
    for (const ST_WINDOW& w : m_windows) {
        for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it) {
            if (it->window_id == w.window_id) {
                bits += int64_t{it->window_width} * it->window_height * 8;
                break;
            }
        }
    }
    // The order admitted puts a WDS, when there is one, right after the PCS.
    if ((m_seen & kWds) != 0) CAbstractDisplaySet::GetSegment(1)->pts = pcs.pts - CeilDiv(bits * kClock, kPgPlaneRate);
    // The timing pass gives the PCS, the first record, the earliest decoding time.
    ShiftOntoStartPts(startPts);
    return true;
}

// An epoch start clears the whole plane; otherwise the windows that no composition object uses are cleared.
int64_t CDisplaySetForPresentation::PlaneInitialisation(const ST_PCS& pcs) const {
    if (pcs.composition_state == 2) {
        return CeilDiv(int64_t{pcs.video_width} * pcs.video_height * kPlaneClearPerPixel, kPgPlaneRate);
    }
    int64_t init = 0;
    for (const ST_WINDOW& w : m_windows) {
        bool used = false;
        for (const ST_COMPOSITION_OBJECT& o : pcs.composition_objects) {
            if (o.window_id_ref == w.window_id) {
                used = true;
                break;
            }
        }
        if (!used) init += CeilDiv(int64_t{w.window_width} * w.window_height * kPlaneClearPerPixel, kPgPlaneRate);
    }
    return init;
}

// Time still to wait, at pcsDts + elapsed, for the first ODS of this display set carrying objectId.
int64_t CDisplaySetForPresentation::Wait(uint16_t objectId, int64_t pcsDts, int64_t elapsed) const {
    for (const auto& record : Current(m_firstOds)) {
        if (record->segment_type != gsp::kSegmentODS) continue;
        if (static_cast<const ST_ODS&>(*record).object_id != objectId) continue;
        const auto e = static_cast<uint64_t>(pcsDts + elapsed);
        const auto pts = static_cast<uint64_t>(record->pts);
        return pts > e ? static_cast<int64_t>(pts - e) : 0;
    }
    return 0;
}

int64_t CDisplaySetForPresentation::Draw(uint8_t windowId) const {
    for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it) {
        if (it->window_id == windowId) {
            return CeilDiv(int64_t{it->window_width} * it->window_height * 8 * kClock, kPgPlaneRate);
        }
    }
    return 0;
}

void CDisplaySetForPresentation::RequireObject(uint16_t objectId) const {
    if (m_objects.Find(objectId) == nullptr) ThrowNoObject(objectId);
}

void CDisplaySetForPresentation::ThrowNoObject(uint16_t objectId) const {
    PRIVATE_LIBRARY::CL_CString message;
    message.Format(kMsgNoObject, int{objectId}, m_displaySetNumber);
    ThrowContent(message, __LINE__);
}

int64_t CDisplaySetForPresentation::CompositionTime(const ST_PCS& pcs) const {
    int64_t t = PlaneInitialisation(pcs);
    const auto& objects = pcs.composition_objects;
    if (objects.size() == 1) {
        RequireObject(objects[0].object_id_ref);
        t += Wait(objects[0].object_id_ref, pcs.dts, t);
        t += Draw(objects[0].window_id_ref);
    } else if (objects.size() == 2) {
        const ST_COMPOSITION_OBJECT& c0 = objects[0];
        const ST_COMPOSITION_OBJECT& c1 = objects[1];
        RequireObject(c0.object_id_ref);
        RequireObject(c1.object_id_ref);
        if (c0.window_id_ref == c1.window_id_ref) {
            t += Wait(c0.object_id_ref, pcs.dts, t);
            t += Wait(c1.object_id_ref, pcs.dts, t);
            t += Draw(c0.window_id_ref);
        } else {
            t += Wait(c0.object_id_ref, pcs.dts, t);
            t += Draw(c0.window_id_ref);
            t += Wait(c1.object_id_ref, pcs.dts, t);
            t += Draw(c1.window_id_ref);
        }
    }
    return t;
}

}}}  // namespace ts_comp::es::graphics_stream
