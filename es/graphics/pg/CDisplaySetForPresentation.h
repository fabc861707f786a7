// Display set of a presentation graphics stream: admission, order checks and composition timing.
#pragma once

#include <vector>

#include "es/graphics/display_set/CAbstractDisplaySet.h"

namespace ts_comp { namespace es { namespace graphics_stream {

class CDisplaySetForPresentation : public CAbstractDisplaySet {
public:
    CDisplaySetForPresentation();
    void Clear() override;
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

    std::vector<ST_WINDOW> m_windows;
    // What the records of the current display set showed as they arrived: the types seen (one bit each),
    // not 0 when one came out of order, the composition_state of the composition segment.
    uint8_t m_seen = 0;
    uint8_t m_misordered = 0;
    uint8_t m_state = 0;
};

}}}  // namespace ts_comp::es::graphics_stream
