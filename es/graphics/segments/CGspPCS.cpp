#include "es/graphics/segments/CGspPCS.h"

#include <cstring>

#include "es/graphics/segments/GspFileIo.h"

bool CGspPCS::Parse(PRIVATE_LIBRARY::CL_CFile* file, uint64_t offset) {
    std::memset(m_b, 0, sizeof m_b);
    if (!CGspSegment::Parse(file, offset)) {
        gsp_io::KeepFirst(0, m_objects, m_spareObjects);
        return false;
    }
    const bool whole = gsp_io::ReadZeroFilled(file, m_b, 11) == 11;
    // The object list follows the segment size, not number_of_composition_objects; objects past the end
    // of the file are kept with their fields 0.
    return gsp_io::ReadBounded(file, GetCompositionObjectsOffset(), GetSize(), m_objects, m_spareObjects) && whole;
}

uint16_t CGspPCS::GetVideoWidth() const { return gsp_io::Be16(m_b); }
uint16_t CGspPCS::GetVideoHeight() const { return gsp_io::Be16(m_b + 2); }
uint16_t CGspPCS::GetCompositionNumber() const { return gsp_io::Be16(m_b + 5); }
const CGspObject* CGspPCS::GetCompositionObject(uint32_t i) const { return gsp_io::At(m_objects, i); }
