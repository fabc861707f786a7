#include "es/graphics/segments/CGspPCS.h"

#include <cstring>

#include "es/graphics/segments/GspFileIo.h"

// The object list follows the segment size, not number_of_composition_objects; objects past the end of
// the file are kept with their fields 0.
bool CGspPCS::ParseBody(const uint8_t* bytes, uint32_t delivered) {
    std::memcpy(m_b, bytes + 3, sizeof m_b);
    return gsp_io::ParseBounded(bytes, GetCompositionObjectsOffset(), GetSize(), m_objects, m_spareObjects) &&
           delivered >= 14;
}
