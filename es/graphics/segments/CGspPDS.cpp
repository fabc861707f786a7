#include "es/graphics/segments/CGspPDS.h"

#include <cstring>

#include "es/graphics/segments/GspFileIo.h"

bool CGspPDS::Parse(PRIVATE_LIBRARY::CL_CFile* file, uint64_t offset) {
    std::memset(m_b, 0, sizeof m_b);
    if (!CGspSegment::Parse(file, offset)) {
        gsp_io::KeepFirst(0, m_entries, m_spareEntries);
        return false;
    }
    const bool whole = gsp_io::ReadZeroFilled(file, m_b, 2) == 2;
    return gsp_io::ReadBounded(file, GetPaletteEntriesOffset(), GetSize(), m_entries, m_spareEntries) && whole;
}

const CGspPalette* CGspPDS::GetPaletteEntry(uint32_t i) const { return gsp_io::At(m_entries, i); }
