#include "es/graphics/segments/CGspEffectSequence.h"

#include "es/graphics/segments/CGspReader.h"
#include "es/graphics/segments/GspFileIo.h"

bool CGspEffectSequence::Parse(CGspReader& in) {
    bool whole = in.Read(&m_numberOfWindows, 1) == 1;
    if (!gsp_io::ReadCounted(in, m_numberOfWindows, m_windows)) return false;
    whole = in.Read(&m_numberOfEffects, 1) == 1 && whole;
    return gsp_io::ReadCounted(in, m_numberOfEffects, m_effects) && whole;
}

uint32_t CGspEffectSequence::GetSize() const {
    return 2 + gsp_io::SumSizes(m_windows) + gsp_io::SumSizes(m_effects);
}
const CGspWindow* CGspEffectSequence::GetWindow(uint32_t i) const { return gsp_io::At(m_windows, i); }
const CGspEffect* CGspEffectSequence::GetEffect(uint32_t i) const { return gsp_io::At(m_effects, i); }
