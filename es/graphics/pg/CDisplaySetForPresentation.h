// Display set of a presentation graphics stream: admission, order checks and composition timing.
#pragma once

#include <vector>

#include "es/graphics/display_set/CAbstractDisplaySet.h"

namespace ts_comp { namespace es { namespace graphics_stream {

class CDisplaySetForPresentation : public CAbstractDisplaySet {
public:
    CDisplaySetForPresentation();
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
};

}}}  // namespace ts_comp::es::graphics_stream
