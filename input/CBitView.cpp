#include "input/CBitView.h"

namespace ts_comp {

// The buffer keeps its current byte just before m_cur while bits of it remain, except right after a
// window change that loaded nothing; then, and with emulation prevention, the view reads through the buffer.
void CBitView::Load() {
    const CBinaryBuffer& b = m_buffer;
    m_p = m_end = nullptr;
    m_bit = 0;
    if (b.m_removeEmulation || b.m_winStart == nullptr) return;
    if (b.m_bitPos >= 8) {
        m_p = b.m_cur;
    } else if (b.m_bitPos > 0 && b.m_cur > b.m_winStart) {
        m_p = b.m_cur - 1;
        m_bit = static_cast<uint32_t>(b.m_bitPos);
    } else {
        return;
    }
    m_end = b.m_end;
    m_winStart = b.m_winStart;
    m_winPos = b.m_winPos;
}

void CBitView::Store() {
    if (m_p == nullptr) return;
    CBinaryBuffer& b = m_buffer;
    if (m_bit == 0) {
        b.m_cur = m_p;
        b.m_bitPos = 8;
    } else {
        b.m_cur = m_p + 1;
        b.m_currentByte = *m_p;
        b.m_bitPos = static_cast<int>(m_bit);
    }
}

// The buffer's position is handed back before the call, so an exception leaves it where the buffer put it.
uint64_t CBitView::SlowBits(uint32_t count) {
    if (count > kFastBits && count <= 64 && m_end - m_p >= 16) {
        const uint64_t high = Bits(32);
        return (high << (count - 32)) | Bits(count - 32);
    }
    Store();
    m_p = m_end = nullptr;
    const uint64_t value = m_buffer.GetBits(count);
    Load();
    return value;
}

uint32_t CBitView::SlowPeek(uint64_t* out, uint32_t count) {
    Store();
    m_p = m_end = nullptr;
    const uint32_t found = m_buffer.PeekBits(out, count);
    Load();
    return found;
}

bool CBitView::SlowSeek(int64_t position) {
    Store();
    m_p = m_end = nullptr;
    const bool done = m_buffer.Seek(position, 0);
    Load();
    return done;
}

}  // namespace ts_comp
