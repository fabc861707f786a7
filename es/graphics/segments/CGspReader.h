// Sequential bytes for the composition parsers: from a file's position on, or out of bytes in memory.
#pragma once

#include <cstdint>

namespace PRIVATE_LIBRARY { class CL_CFile; }

class CGspReader {
public:
    explicit CGspReader(PRIVATE_LIBRARY::CL_CFile* file) : m_file(file) {}
    CGspReader(const uint8_t* bytes, uint64_t size) : m_bytes(bytes), m_size(size) {}

    // Up to n next bytes into dest, which is zero-filled first; the count delivered.
    uint32_t Read(uint8_t* dest, uint32_t n);
    // The length of the file, or the size of the bytes.
    uint64_t GetLength() const;

private:
    PRIVATE_LIBRARY::CL_CFile* m_file = nullptr;
    const uint8_t* m_bytes = nullptr;
    uint64_t m_size = 0;
    uint64_t m_position = 0;
};
