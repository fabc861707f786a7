#include "es/graphics/segments/CGspPDS.h"

#include <cstring>

#include "es/graphics/segments/GspFileIo.h"

bool CGspPDS::ParseBody(const uint8_t* bytes, uint32_t delivered) {
    std::memcpy(m_b, bytes + 3, sizeof m_b);
    return gsp_io::ParseBounded(bytes, GetPaletteEntriesOffset(), GetSize(), m_entries, m_spareEntries) &&
           delivered >= 5;
}

const CGspPalette* CGspPDS::GetPaletteEntry(uint32_t i) const { return gsp_io::At(m_entries, i); }
