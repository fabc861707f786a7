// End of display set segment (0x80): the descriptor only.
#pragma once

#include "es/graphics/segments/CGspSegment.h"

class CGspEND final : public CGspSegment {
protected:
    int ParseHeld(const uint8_t* data, uint32_t buffered) override { return ParseHeldHere(data, buffered); }
};
