#include "es/graphics/segments/CGspEffect.h"

#include "es/graphics/segments/CGspReader.h"
#include "es/graphics/segments/GspFileIo.h"

bool CGspEffect::Parse(CGspReader& in) {
    uint8_t b[5];
    const bool whole = in.Read(b, 5) == 5;
    m_effectDuration = gsp_io::Be24(b);
    m_paletteIdRef = b[3];
    m_numberOfCompositionObjects = b[4];
    return gsp_io::ReadCounted(in, m_numberOfCompositionObjects, m_objects) && whole;
}

uint32_t CGspEffect::GetSize() const { return 5 + gsp_io::SumSizes(m_objects); }
const CGspObject* CGspEffect::GetCompositionObject(uint32_t i) const { return gsp_io::At(m_objects, i); }
