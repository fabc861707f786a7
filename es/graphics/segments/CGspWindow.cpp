#include "es/graphics/segments/CGspWindow.h"

#include "es/graphics/segments/CGspReader.h"
#include "es/graphics/segments/GspFileIo.h"

bool CGspWindow::Parse(CGspReader& in) {
    uint8_t b[9];
    const bool whole = in.Read(b, 9) == 9;
    Parse(b);
    return whole;
}
