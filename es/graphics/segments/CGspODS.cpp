#include "es/graphics/segments/CGspODS.h"

#include <cstring>

#include "es/graphics/segments/GspFileIo.h"

// Segment bytes 7 to 13 are taken for every fragment; bytes past the end of a shorter segment read as 0.
// Only those bytes are read: the object data itself is not copied.
bool CGspODS::ParseBody(const uint8_t* bytes, uint32_t delivered) {
    std::memset(m_b, 0, sizeof m_b);
    std::memcpy(m_b, bytes + 3, GetParseExtent() - 3);
    return delivered >= 7;
}
