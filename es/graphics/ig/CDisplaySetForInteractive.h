// Display set of an interactive graphics (menu) stream: admission, order checks and the ICS presentation time.
#pragma once

#include <cstdint>

#include "es/graphics/display_set/CAbstractDisplaySet.h"

namespace ts_comp { namespace es { namespace graphics_stream {

class CDisplaySetForInteractive : public CAbstractDisplaySet {
public:
    CDisplaySetForInteractive();
    bool Validate() override;
    bool AddSegment(CGspSegment* segment) override;
    bool ComputeTimeStamps(int64_t startPts) override;

private:
    int64_t DrawingTime(const ST_ICS& ics) const;
    int64_t DecodeWait(const ST_ICS& ics) const;
    // object_width x object_height x 8 of a stored object, 0 when the id has no used slot.
    int64_t ObjectBits(uint16_t objectId) const;
    // Presentation time of a stored object; a missing one throws `message` with the id.
    uint64_t ObjectPts(uint16_t objectId, const char* message, int line) const;
    // The button of a group named by its default_valid_button_id_ref; a missing one throws.
    const ST_BUTTON& DefaultValidButton(const ST_PAGE& page, uint32_t group, int line) const;
    [[noreturn]] void Throw(const PRIVATE_LIBRARY::CL_CString& message, int line) const;
};

}}}  // namespace ts_comp::es::graphics_stream
