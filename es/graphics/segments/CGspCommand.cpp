#include "es/graphics/segments/CGspCommand.h"

#include "es/graphics/segments/CGspReader.h"
#include "es/graphics/segments/GspFileIo.h"

bool CGspCommand::Parse(CGspReader& in) {
    return in.Read(m_b, 12) == 12;
}
