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
