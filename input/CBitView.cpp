#include "input/CBitView.h"

namespace ts_comp {

// The buffer's position is handed back before the call, so an exception leaves it where the buffer put it.
uint64_t CBitView::SlowBits(uint32_t count) {
    if (count > kFastBits && count <= 64 && m_end - m_p >= 16) {
        const uint64_t high = Bits(32);
        return (high << (count - 32)) | Bits(count - 32);
    }
    Release();
    const uint64_t value = m_buffer.GetBits(count);
    Load();
    return value;
}

uint32_t CBitView::SlowPeek(uint64_t* out, uint32_t count) {
    Release();
    const uint32_t found = m_buffer.PeekBits(out, count);
    Load();
    return found;
}

bool CBitView::SlowSeek(int64_t position) {
    Release();
    const bool done = m_buffer.Seek(position, 0);
    Load();
    return done;
}

uint64_t CBitView::SlowSkip(uint64_t count) {
    Release();
    const uint64_t passed = m_buffer.SkipBytes(count);
    Load();
    return passed;
}

}  // namespace ts_comp
