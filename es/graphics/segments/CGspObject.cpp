#include "es/graphics/segments/CGspObject.h"

#include "es/graphics/segments/CGspReader.h"
#include "es/graphics/segments/GspFileIo.h"

bool CGspObject::Parse(CGspReader& in) {
    uint8_t b[16] = {};
    bool whole = in.Read(b, 8) == 8;
    if (b[3] & 0x80u) whole = in.Read(b + 8, 8) == 8 && whole;
    Parse(b);
    return whole;
}

void CGspObject::Parse(const uint8_t* b) {
    m_objectIdRef = gsp_io::Be16(b);
    m_windowIdRef = b[2];
    m_objectCroppedFlag = static_cast<uint8_t>(b[3] >> 7);
    m_forcedOnFlag = static_cast<uint8_t>((b[3] >> 6) & 1u);
    m_horizontalPosition = gsp_io::Be16(b + 4);
    m_verticalPosition = gsp_io::Be16(b + 6);
    if (m_objectCroppedFlag == 0) {
        // An object without cropping has the rectangle of a new object (Parse may run on a reused one).
        m_croppingHorizontalPosition = m_croppingVerticalPosition = m_croppingWidth = m_croppingHeight = 0;
        return;
    }
    m_croppingHorizontalPosition = gsp_io::Be16(b + 8);
    m_croppingVerticalPosition = gsp_io::Be16(b + 10);
    m_croppingWidth = gsp_io::Be16(b + 12);
    m_croppingHeight = gsp_io::Be16(b + 14);
}
