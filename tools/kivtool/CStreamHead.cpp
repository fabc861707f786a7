#include "CStreamHead.h"

#include <algorithm>
#include <cstring>

namespace kivtool {

bool CStreamHead::Open(const std::string& path, std::string& error) {
    if (!m_reader.Open(path.c_str())) {
        error = m_reader.GetLastErrorText();
        return false;
    }
    m_length = static_cast<uint64_t>(std::max<int64_t>(m_reader.GetLength(), 0));
    m_head.resize(static_cast<std::size_t>(std::min<uint64_t>(m_length, kHeadSize)));
    const uint32_t got = m_head.empty() ? 0 : m_reader.Read(m_head.data(), Size());
    if (got != m_head.size()) {
        error = m_reader.GetLastErrorText();
        return false;
    }
    return true;
}

uint32_t CStreamHead::Copy(uint64_t pos, uint8_t* out, uint32_t count) {
    if (pos >= m_length) return 0;
    count = static_cast<uint32_t>(std::min<uint64_t>(count, m_length - pos));
    if (pos + count <= m_head.size()) {
        std::memcpy(out, m_head.data() + pos, count);
        return count;
    }
    if (!m_reader.Seek(static_cast<int64_t>(pos), 0)) return 0;
    return m_reader.Read(out, count);
}

}  // namespace kivtool
