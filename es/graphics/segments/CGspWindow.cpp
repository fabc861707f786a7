#include "es/graphics/segments/CGspWindow.h"

#include "es/graphics/segments/CGspReader.h"
#include "es/graphics/segments/GspFileIo.h"

bool CGspWindow::Parse(CGspReader& in) {
    uint8_t b[9];
    const bool whole = in.Read(b, 9) == 9;
    Parse(b);
    return whole;
}

void CGspWindow::Parse(const uint8_t* b) {
    m_windowId = b[0];
    m_horizontalPosition = gsp_io::Be16(b + 1);
    m_verticalPosition = gsp_io::Be16(b + 3);
    m_width = gsp_io::Be16(b + 5);
    m_height = gsp_io::Be16(b + 7);
}
