#include "es/graphics/segments/CGspICS.h"

#include <cstring>

#include "es/graphics/segments/GspFileIo.h"

bool CGspICS::ParseBody(const uint8_t* bytes, uint32_t delivered) {
    std::memcpy(m_b, bytes + 3, sizeof m_b);
    return delivered >= 12;
}

uint16_t CGspICS::GetVideoWidth() const { return gsp_io::Be16(m_b); }
uint16_t CGspICS::GetVideoHeight() const { return gsp_io::Be16(m_b + 2); }
uint16_t CGspICS::GetCompositionNumber() const { return gsp_io::Be16(m_b + 5); }
