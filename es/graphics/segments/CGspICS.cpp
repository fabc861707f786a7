#include "es/graphics/segments/CGspICS.h"

#include "es/graphics/segments/GspFileIo.h"

bool CGspICS::Parse(PRIVATE_LIBRARY::CL_CFile* file, uint64_t offset) {
    if (!CGspSegment::Parse(file, offset)) return false;
    return gsp_io::ReadZeroFilled(file, m_b, 9) == 9;
}

uint16_t CGspICS::GetVideoWidth() const { return gsp_io::Be16(m_b); }
uint16_t CGspICS::GetVideoHeight() const { return gsp_io::Be16(m_b + 2); }
uint16_t CGspICS::GetCompositionNumber() const { return gsp_io::Be16(m_b + 5); }
