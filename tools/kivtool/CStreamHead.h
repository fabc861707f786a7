// The first bytes of an ES file, held for the kind probers; bytes past them are read on demand.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "input/CEsFileReader.h"

namespace kivtool {

// Reads the head of a stream through the library's ES reader (plain files and Varnel names alike).
class CStreamHead {
public:
    static constexpr uint32_t kHeadSize = 65536;

    // False with the reader's error text when the file cannot be opened or read.
    bool Open(const std::string& path, std::string& error);

    const uint8_t* Data() const { return m_head.data(); }
    uint32_t Size() const { return static_cast<uint32_t>(m_head.size()); }
    uint64_t Length() const { return m_length; }

    // Copies up to `count` bytes at `pos` (from the head, or past it from the file); returns the bytes copied.
    uint32_t Copy(uint64_t pos, uint8_t* out, uint32_t count);

private:
    ts_comp::es::CEsFileReader m_reader;
    std::vector<uint8_t> m_head;
    uint64_t m_length = 0;
};

}  // namespace kivtool
