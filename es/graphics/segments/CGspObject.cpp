#include "es/graphics/segments/CGspObject.h"

#include "es/graphics/segments/GspFileIo.h"

bool CGspObject::Parse(PRIVATE_LIBRARY::CL_CFile* file) {
    uint8_t b[8];
    bool whole = gsp_io::ReadZeroFilled(file, b, 8) == 8;
    m_objectIdRef = gsp_io::Be16(b);
    m_windowIdRef = b[2];
    m_objectCroppedFlag = static_cast<uint8_t>(b[3] >> 7);
    m_forcedOnFlag = static_cast<uint8_t>((b[3] >> 6) & 1u);
    m_horizontalPosition = gsp_io::Be16(b + 4);
    m_verticalPosition = gsp_io::Be16(b + 6);
    if (m_objectCroppedFlag == 0) {
        // An object without cropping has the rectangle of a new object (Parse may run on a reused one).
        m_croppingHorizontalPosition = m_croppingVerticalPosition = m_croppingWidth = m_croppingHeight = 0;
        return whole;
    }
    whole = gsp_io::ReadZeroFilled(file, b, 8) == 8 && whole;
    m_croppingHorizontalPosition = gsp_io::Be16(b);
    m_croppingVerticalPosition = gsp_io::Be16(b + 2);
    m_croppingWidth = gsp_io::Be16(b + 4);
    m_croppingHeight = gsp_io::Be16(b + 6);
    return whole;
}
