#include "es/graphics/segments/CGspReader.h"

#include <cstring>

#include "es/graphics/segments/GspFileIo.h"

uint32_t CGspReader::Read(uint8_t* dest, uint32_t n) {
    if (m_bytes == nullptr) return gsp_io::ReadZeroFilled(m_file, dest, n);
    const uint64_t left = m_size - m_position;
    const uint32_t got = left < n ? static_cast<uint32_t>(left) : n;
    std::memcpy(dest, m_bytes + m_position, got);
    std::memset(dest + got, 0, n - got);
    m_position += got;
    return got;
}

// A file whose length cannot be taken counts as empty.
uint64_t CGspReader::GetLength() const {
    if (m_bytes != nullptr) return m_size;
    const int64_t length = m_file != nullptr ? m_file->GetLength() : 0;
    return length > 0 ? static_cast<uint64_t>(length) : 0;
}
