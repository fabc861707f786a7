// Display set of a presentation graphics stream: admission, order checks and composition timing.
#pragma once

#include <vector>

#include "es/graphics/display_set/CAbstractDisplaySet.h"
#include "es/graphics/segments/CGspSegment.h"

namespace ts_comp { namespace es { namespace graphics_stream {

class CDisplaySetForPresentation : public CAbstractDisplaySet {
public:
    CDisplaySetForPresentation();
    void Clear() override {
        CAbstractDisplaySet::Clear();
        m_seen = 0;
        m_misordered = 0;
        m_state = 0;
    }
    bool Validate() override;
    bool AddSegment(CGspSegment* segment) override;
    bool ComputeTimeStamps(int64_t startPts) override;

    // The windows of the current epoch (replaced by each WDS).
    const std::vector<ST_WINDOW>& GetWindows() const { return m_windows; }

private:
    int64_t CompositionTime(const ST_PCS& pcs) const;
    int64_t PlaneInitialisation(const ST_PCS& pcs) const;
    int64_t Wait(uint16_t objectId, int64_t pcsDts, int64_t elapsed) const;
    int64_t Draw(uint8_t windowId) const;
    void RequireObject(uint16_t objectId) const;
    // The message that the display set refers to an object not decoded in its epoch.
    [[noreturn, gnu::cold, gnu::noinline]] void ThrowNoObject(uint16_t objectId) const;

    // The bits of the segment types a display set has seen.
    enum Seen : uint8_t { kPcs = 1, kWds = 2, kPds = 4, kOds = 8, kEnd = 16 };

    std::vector<ST_WINDOW> m_windows;
    // What the records of the current display set showed as they arrived: the types seen (one bit each),
    // not 0 when one came out of order, the composition_state of the composition segment.
    uint8_t m_seen = 0;
    uint8_t m_misordered = 0;
    uint8_t m_state = 0;
};

// A display set is a PCS, then at most one WDS, the PDSs, the ODSs, and the END: each record after the PCS
// is admitted when none of the types `after` came before it. Inline, so that the analyser's loop takes each
// segment without a call.
[[gnu::always_inline]] inline bool CDisplaySetForPresentation::AddSegment(CGspSegment* segment) {
    if (segment == nullptr) return false;
    const uint8_t type = segment->CGspSegment::GetType();  // no segment class overrides it
    if (type == gsp::kSegmentICS) return false;
    ST_SEGMENT* record = NewRecord(type);
    if (record == nullptr) return false;
    // The record is of the class made for its type: its Fill is called without dispatch.
    uint8_t bit = kEnd, after = 0;
    switch (type) {
        case gsp::kSegmentPCS: {
            auto& pcs = static_cast<ST_PCS&>(*record);
            if (!pcs.ST_PCS::Fill(segment)) return false;
            ++m_displaySetNumber;
            if (pcs.composition_state != 0) {
                m_objects.ClearUsed();
                m_windows.clear();
            }
            if (!IsEmpty()) return false;
            m_seen = kPcs;  // the first record: nothing came before it
            m_state = pcs.composition_state;
            Append();
            return true;
        }
        case gsp::kSegmentWDS: {
            auto& wds = static_cast<ST_WDS&>(*record);
            if (!wds.ST_WDS::Fill(segment)) return false;
            m_windows = wds.windows;
            bit = kWds, after = kWds | kPds | kOds | kEnd;
            break;
        }
        case gsp::kSegmentPDS:
            if (!static_cast<ST_PDS&>(*record).ST_PDS::Fill(segment)) return false;
            bit = kPds, after = kOds | kEnd;
            break;
        case gsp::kSegmentODS: {
            auto& ods = static_cast<ST_ODS&>(*record);
            if (!ods.ST_ODS::Fill(segment)) return false;
            if (ods.first_in_sequence_flag == 1 && !m_objects.Store(ods)) return false;
            bit = kOds, after = kEnd;
            break;
        }
        default:  // END, the one type left that has records
            if (!static_cast<ST_END&>(*record).ST_END::Fill(segment)) return false;
            break;
    }
    m_misordered |= (m_seen & after) | (~m_seen & kPcs);
    m_seen |= bit;
    Append();
    return true;
}

}}}  // namespace ts_comp::es::graphics_stream
