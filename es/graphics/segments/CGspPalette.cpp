#include "es/graphics/segments/CGspPalette.h"

#include "es/graphics/segments/GspFileIo.h"

bool CGspPalette::Parse(PRIVATE_LIBRARY::CL_CFile* file) {
    return gsp_io::ReadZeroFilled(file, m_b, 5) == 5;
}
