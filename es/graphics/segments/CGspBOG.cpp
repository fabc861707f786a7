#include "es/graphics/segments/CGspBOG.h"

#include "es/graphics/segments/CGspReader.h"
#include "es/graphics/segments/GspFileIo.h"

bool CGspBOG::Parse(CGspReader& in) {
    uint8_t b[3];
    const bool whole = in.Read(b, 3) == 3;
    m_defaultValidButtonIdRef = gsp_io::Be16(b);
    m_numberOfButtons = b[2];
    return gsp_io::ReadCounted(in, m_numberOfButtons, m_buttons) && whole;
}

uint32_t CGspBOG::GetSize() const { return 3 + gsp_io::SumSizes(m_buttons); }
const CGspButton* CGspBOG::GetButton(uint32_t i) const { return gsp_io::At(m_buttons, i); }
