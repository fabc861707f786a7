#include "es/graphics/segments/CGspWDS.h"

#include "es/graphics/segments/GspFileIo.h"

bool CGspWDS::ParseBody(const uint8_t* bytes, uint32_t delivered) {
    m_numberOfWindows = bytes[3];
    return gsp_io::ParseBounded(bytes, GetWindowsOffset(), GetSize(), m_windows, m_spareWindows) && delivered >= 4;
}
