#include "es/graphics/segments/CGspPage.h"

#include "es/graphics/segments/CGspReader.h"
#include "es/graphics/segments/GspFileIo.h"

bool CGspPage::Parse(CGspReader& in) {
    uint8_t b[10];
    bool whole = in.Read(b, 10) == 10;
    m_pageId = b[0];
    m_pageVersionNumber = b[1];
    m_uoMaskTable = (uint64_t{gsp_io::Be32(b + 2)} << 32) | gsp_io::Be32(b + 6);
    whole = m_inEffects.Parse(in) && whole;
    whole = m_outEffects.Parse(in) && whole;
    whole = in.Read(b, 7) == 7 && whole;
    m_animationFrameRateCode = b[0];
    m_defaultSelectedButtonIdRef = gsp_io::Be16(b + 1);
    m_defaultActivatedButtonIdRef = gsp_io::Be16(b + 3);
    m_paletteIdRef = b[5];
    m_numberOfBOGs = b[6];
    return gsp_io::ReadCounted(in, m_numberOfBOGs, m_groups) && whole;
}

uint32_t CGspPage::GetSize() const {
    return 10 + m_inEffects.GetSize() + m_outEffects.GetSize() + 7 + gsp_io::SumSizes(m_groups);
}
const CGspBOG* CGspPage::GetBOG(uint32_t i) const { return gsp_io::At(m_groups, i); }
