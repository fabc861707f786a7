#include "es/graphics/ig/CDisplaySetForInteractive.h"

#include <algorithm>

#include "es/graphics/display_set/GraphicsMessages.h"
#include "es/graphics/segments/CGspSegment.h"
#include "es/graphics/segments/GspConstants.h"
#include "foundation/CTsMuxException.h"

namespace ts_comp { namespace es { namespace graphics_stream {

using PRIVATE_LIBRARY::CL_CString;

namespace {

// The first button with this id in the group, or null.
const ST_BUTTON* FindButton(const ST_BUTTON_OVERLAP_GROUP& group, uint16_t id) {
    for (const ST_BUTTON& b : group.buttons) {
        if (b.button_id == id) return &b;
    }
    return nullptr;
}

// The first button with this id in the groups of the page, or null.
const ST_BUTTON* FindButton(const ST_PAGE& page, uint16_t id) {
    for (const ST_BUTTON_OVERLAP_GROUP& group : page.groups) {
        if (const ST_BUTTON* b = FindButton(group, id)) return b;
    }
    return nullptr;
}

// The first button with this id in the pages, or null.
const ST_BUTTON* FindButton(const std::vector<ST_PAGE>& pages, uint16_t id) {
    for (const ST_PAGE& page : pages) {
        if (const ST_BUTTON* b = FindButton(page, id)) return b;
    }
    return nullptr;
}

}  // namespace

CDisplaySetForInteractive::CDisplaySetForInteractive() : CAbstractDisplaySet(kIgDecodingRate, kIgObjectSlots) {}

void CDisplaySetForInteractive::Throw(const CL_CString& message, int line) const {
    throw CTsMuxException(kContentErrorCode, message, kSourceDisplaySetForInteractive, line, nullptr, nullptr);
}

bool CDisplaySetForInteractive::AddSegment(CGspSegment* segment) {
    if (segment == nullptr || segment->GetType() == gsp::kSegmentPCS || segment->GetType() == gsp::kSegmentWDS) {
        return false;
    }
    ST_SEGMENT* record = NewRecord(segment->GetType());
    if (record == nullptr || !record->Fill(segment)) return false;
    if (record->segment_type == gsp::kSegmentICS) {
        // A first fragment opens a display set; continuation fragments join the current one.
        const auto& ics = static_cast<const ST_ICS&>(*record);
        if (ics.first_in_sequence_flag == 1) {
            if (!IsEmpty()) return false;
            ++m_displaySetNumber;
            if (ics.composition_state != 0) m_objects.ClearUsed();
        }
    } else if (record->segment_type == gsp::kSegmentODS) {
        const auto& ods = static_cast<const ST_ODS&>(*record);
        if (ods.first_in_sequence_flag == 1 && !m_objects.Store(ods)) return false;
    }
    Append();
    return true;
}

bool CDisplaySetForInteractive::Validate() {
    bool ics = false, pds = false, ods = false, end = false;
    uint8_t state = 0;
    for (const auto& record : Current()) {
        switch (record->segment_type) {
            case gsp::kSegmentICS: {
                const auto& r = static_cast<const ST_ICS&>(*record);
                if ((ics && r.first_in_sequence_flag == 1) || end) return false;
                state = r.composition_state;  // every fragment overwrites it
                ics = true;
                break;
            }
            case gsp::kSegmentPDS:
                if (!ics || ods || end) return false;
                pds = true;
                break;
            case gsp::kSegmentODS:
                if (!ics || end) return false;
                ods = true;
                break;
            case gsp::kSegmentEND:
                if (!ics) return false;
                end = true;
                break;
            default:
                return false;
        }
    }
    if (state != 0 && !pds) {
        CL_CString message;
        message.Format(kMsgIgNoPds, m_displaySetNumber);
        Throw(message, __LINE__);
    }
    return end;
}

bool CDisplaySetForInteractive::ComputeTimeStamps(int64_t startPts) {
    if (IsEmpty() || !Validate()) return false;
    RunCommonTimingPass();
    if (Front().segment_type == gsp::kSegmentICS) {
        const auto& ics = static_cast<const ST_ICS&>(Front());
        const int64_t drawing = DrawingTime(ics);  // before the decode wait: its errors come first
        const int64_t p = ics.dts + drawing + DecodeWait(ics);
        const int64_t pts = p == ics.dts ? p + 1 : p;
        for (const auto& record : Current()) {
            if (record->segment_type != gsp::kSegmentICS) break;
            record->pts = pts;
        }
    }
    MoveOntoStartPts(startPts);
    return true;
}

int64_t CDisplaySetForInteractive::ObjectBits(uint16_t objectId) const {
    const ST_ODS* ods = m_objects.Find(objectId);
    return ods == nullptr ? 0 : int64_t{ods->object_width} * ods->object_height * 8;
}

uint64_t CDisplaySetForInteractive::ObjectPts(uint16_t objectId, const char* message, int line) const {
    const ST_ODS* ods = m_objects.Find(objectId);
    if (ods == nullptr) {
        CL_CString text;
        text.Format(message, int{objectId}, m_displaySetNumber);
        Throw(text, line);
    }
    return static_cast<uint64_t>(ods->pts);
}

const ST_BUTTON& CDisplaySetForInteractive::DefaultValidButton(const ST_PAGE& page, uint32_t group, int line) const {
    const uint16_t id = page.groups[group].default_valid_button_id_ref;
    const ST_BUTTON* button = FindButton(page.groups[group], id);
    if (button == nullptr) {
        CL_CString text;
        text.Format(kMsgIgNoDefaultValidButton, int{id}, m_displaySetNumber, int{page.page_id}, group);
        Throw(text, line);
    }
    return *button;
}

// Time to draw page 0: the windows of its in-effects when it has any effect, else its buttons in the
// states they are first shown in.
int64_t CDisplaySetForInteractive::DrawingTime(const ST_ICS& ics) const {
    if (ics.pages.empty()) return 0;
    const ST_PAGE& page = ics.pages[0];
    if (page.in_effects.number_of_effects >= 1) {
        int64_t bits = 0;
        for (const ST_WINDOW& w : page.in_effects.windows) bits += int64_t{w.window_width} * w.window_height * 8;
        return CeilDiv(bits * kClock, kIgPlaneRate);
    }
    const auto normal = [this](const ST_BUTTON* b) { return b ? ObjectBits(b->normal_start_object_id_ref) : 0; };
    const auto selected = [this](const ST_BUTTON* b) { return b ? ObjectBits(b->selected_start_object_id_ref) : 0; };
    const auto largest = [this, &normal, &selected](const ST_BUTTON& b) {
        return std::max({normal(&b), selected(&b), ObjectBits(b.activated_start_object_id_ref)});
    };
    int64_t n = 0;
    for (const ST_BUTTON_OVERLAP_GROUP& g : page.groups) n += normal(FindButton(g, g.default_valid_button_id_ref));
    int64_t s = n;
    if (page.default_selected_button_id_ref != kNoButton) {
        const ST_BUTTON* d = FindButton(page, page.default_selected_button_id_ref);
        s = n - normal(d) + selected(d);
    } else {
        const ST_BUTTON* chosen = nullptr;
        int64_t best = 0;
        for (uint32_t i = 0; i < page.groups.size(); ++i) {
            if (page.groups[i].default_valid_button_id_ref == kNoButton) continue;
            const ST_BUTTON& b = DefaultValidButton(page, i, __LINE__);
            if (largest(b) > best) {
                best = largest(b);
                chosen = &b;
            }
        }
        if (chosen != nullptr) s = n + best - normal(chosen);
    }
    return CeilDiv(s * kClock, kIgPlaneRate);
}

// Time from the ICS's dts until every object page 0 first shows is decoded; an epoch start waits at
// least for the plane to be cleared.
int64_t CDisplaySetForInteractive::DecodeWait(const ST_ICS& ics) const {
    auto t = static_cast<uint64_t>(ics.pts);
    if (!ics.pages.empty()) {
        const ST_PAGE& page = ics.pages[0];
        for (const ST_EFFECT& e : page.in_effects.effects) {
            for (const ST_COMPOSITION_OBJECT& o : e.composition_objects) {
                t = std::max(t, ObjectPts(o.object_id_ref, kMsgIgNoObject, __LINE__));
            }
        }
        const auto startObjects = [&](bool selectedState) {
            for (uint32_t i = 0; i < page.groups.size(); ++i) {
                if (page.groups[i].default_valid_button_id_ref == kNoButton) continue;
                const ST_BUTTON& b = DefaultValidButton(page, i, __LINE__);
                const uint16_t id = selectedState ? b.selected_start_object_id_ref : b.normal_start_object_id_ref;
                if (id != kNoButton) t = std::max(t, ObjectPts(id, kMsgIgNoObject, __LINE__));
            }
        };
        startObjects(false);
        const uint16_t selectedId = page.default_selected_button_id_ref;
        if (selectedId == kNoButton) {
            startObjects(true);
        } else {
            const ST_BUTTON* d = FindButton(ics.pages, selectedId);
            if (d == nullptr) {
                CL_CString text;
                text.Format(kMsgIgNoDefaultSelectedButton, int{selectedId}, m_displaySetNumber);
                Throw(text, __LINE__);
            }
            if (d->selected_start_object_id_ref != kNoButton) {
                t = std::max(t, ObjectPts(d->selected_start_object_id_ref, kMsgIgNoSelectedObject, __LINE__));
            }
        }
    }
    uint64_t wait = t - static_cast<uint64_t>(ics.dts);
    if (ics.composition_state == 2) {
        const int64_t clear = CeilDiv(int64_t{ics.video_width} * ics.video_height * kPlaneClearPerPixel, kIgPlaneRate);
        wait = std::max(wait, static_cast<uint64_t>(clear));
    }
    return static_cast<int64_t>(wait);
}

}}}  // namespace ts_comp::es::graphics_stream
