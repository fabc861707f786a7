#include "es/graphics/segments/CGspSegment.h"

#include <vector>

#include "es/graphics/segments/GspFileIo.h"

CGspSegment::~CGspSegment() = default;

// A short read is accepted: descriptor bytes that did not arrive read as 0.
bool CGspSegment::ReadHeader(PRIVATE_LIBRARY::CL_CFile* file, uint64_t offset) {
    uint8_t scratch[3];
    uint32_t got = 0;
    SetDescriptor(gsp_io::ReadInPlace(file, scratch, 3, got), file, offset);
    return got > 0;
}

bool CGspSegment::ParseBody(const uint8_t*, uint32_t) { return true; }

// Parse starts from the state of a new object, so that the parser can reuse segment objects. In a forward
// pass the segment usually lies in the file's buffer at the file position: it is parsed there, and the
// file moves on to the next segment; otherwise its bytes are read into a zero-filled copy.
bool CGspSegment::Parse(PRIVATE_LIBRARY::CL_CFile* file, uint64_t offset) {
    const uint8_t* data = nullptr;
    const uint32_t buffered =
        file != nullptr && file->Tell() == static_cast<int64_t>(offset) ? file->PeekBuffered(&data) : 0;
    return buffered >= 3 ? ParseBuffered(file, offset, data, buffered) : ParseCopy(file, offset);
}

bool CGspSegment::ParseCopy(PRIVATE_LIBRARY::CL_CFile* file, uint64_t offset) {
    static const uint8_t kNone[3] = {};
    SetDescriptor(kNone, nullptr, 0);
    if (file == nullptr || !gsp_io::SeekTo(file, offset)) return false;
    const bool header = ReadHeader(file, offset);
    const uint32_t extent = GetParseExtent();
    uint8_t small[32];
    std::vector<uint8_t> large;
    uint8_t* bytes = extent <= sizeof small ? small : (large.resize(extent), large.data());
    std::memset(bytes, 0, extent);
    bytes[0] = m_segmentType;
    bytes[1] = static_cast<uint8_t>(m_segmentLength >> 8);
    bytes[2] = static_cast<uint8_t>(m_segmentLength);
    const uint32_t delivered = header ? 3 + gsp_io::ReadZeroFilled(file, bytes + 3, extent - 3) : 0;
    return ParseBody(bytes, delivered) && header;
}

bool CGspSegment::ReadRaw(void* buffer, uint32_t size) const {
    if (buffer == nullptr || size < GetSize() || !gsp_io::SeekTo(m_file, m_fileOffset)) return false;
    return m_file->Read(buffer, size, GetSize()) == GetSize();
}
