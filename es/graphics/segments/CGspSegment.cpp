#include "es/graphics/segments/CGspSegment.h"

#include "es/graphics/segments/GspFileIo.h"

CGspSegment::~CGspSegment() = default;

// A short read is accepted: descriptor bytes that did not arrive read as 0.
bool CGspSegment::ReadHeader(PRIVATE_LIBRARY::CL_CFile* file, uint64_t offset) {
    uint8_t scratch[3];
    uint32_t got = 0;
    const uint8_t* d = gsp_io::ReadInPlace(file, scratch, 3, got);
    m_file = file;
    m_fileOffset = offset;
    m_segmentType = d[0];
    m_segmentLength = gsp_io::Be16(d + 1);
    return got > 0;
}

// Parse starts from the state of a new object, so that the parser can reuse segment objects.
bool CGspSegment::Parse(PRIVATE_LIBRARY::CL_CFile* file, uint64_t offset) {
    m_fileOffset = 0;
    m_file = nullptr;
    m_segmentType = 0;
    m_segmentLength = 0;
    if (!gsp_io::SeekTo(file, offset)) return false;
    return ReadHeader(file, offset);
}

bool CGspSegment::ReadRaw(void* buffer, uint32_t size) const {
    if (buffer == nullptr || size < GetSize() || !gsp_io::SeekTo(m_file, m_fileOffset)) return false;
    return m_file->Read(buffer, size, GetSize()) == GetSize();
}
