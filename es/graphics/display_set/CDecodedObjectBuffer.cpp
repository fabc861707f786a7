#include "es/graphics/display_set/CDecodedObjectBuffer.h"

namespace ts_comp { namespace es { namespace graphics_stream {

CDecodedObjectBuffer::CDecodedObjectBuffer(uint32_t slotCount) : m_slots(slotCount) {}

void CDecodedObjectBuffer::ClearUsed() {
    for (Slot& slot : m_slots) slot.used = false;
}

}}}  // namespace ts_comp::es::graphics_stream
