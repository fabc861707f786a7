#include "es/graphics/segments/CGspODS.h"

#include <algorithm>
#include <cstring>

#include "es/graphics/segments/GspFileIo.h"

// Segment bytes 7 to 13 are taken for every fragment; bytes past the end of a shorter
// segment read as 0. Only those bytes are read: the object data itself is not copied.
bool CGspODS::Parse(PRIVATE_LIBRARY::CL_CFile* file, uint64_t offset) {
    std::memset(m_b, 0, sizeof m_b);
    if (!CGspSegment::Parse(file, offset)) return false;
    if (gsp_io::ReadZeroFilled(file, m_b, 4) != 4) return false;
    const uint32_t rest = std::min<uint32_t>(GetSize(), 14) - std::min<uint32_t>(GetSize(), 7);
    if (rest > 0) gsp_io::ReadZeroFilled(file, m_b + 4, rest);
    return true;
}

uint16_t CGspODS::GetObjectId() const { return gsp_io::Be16(m_b); }
uint32_t CGspODS::GetObjectDataLength() const { return gsp_io::Be24(m_b + 4); }
uint16_t CGspODS::GetObjectWidth() const { return gsp_io::Be16(m_b + 7); }
uint16_t CGspODS::GetObjectHeight() const { return gsp_io::Be16(m_b + 9); }
