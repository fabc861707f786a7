#include "es/graphics/segments/CGspCommand.h"

#include "es/graphics/segments/GspFileIo.h"

bool CGspCommand::Parse(PRIVATE_LIBRARY::CL_CFile* file) {
    return gsp_io::ReadZeroFilled(file, m_b, 12) == 12;
}
