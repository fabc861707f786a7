#include "es/graphics/segments/CGspWDS.h"

#include "es/graphics/segments/GspFileIo.h"

bool CGspWDS::Parse(PRIVATE_LIBRARY::CL_CFile* file, uint64_t offset) {
    m_numberOfWindows = 0;
    if (!CGspSegment::Parse(file, offset)) {
        gsp_io::KeepFirst(0, m_windows, m_spareWindows);
        return false;
    }
    const bool whole = gsp_io::ReadZeroFilled(file, &m_numberOfWindows, 1) == 1;
    return gsp_io::ReadBounded(file, GetWindowsOffset(), GetSize(), m_windows, m_spareWindows) && whole;
}

const CGspWindow* CGspWDS::GetWindow(uint32_t i) const { return gsp_io::At(m_windows, i); }
