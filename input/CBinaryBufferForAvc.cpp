#include "input/CBinaryBufferForAvc.h"

#include <cstring>

namespace ts_comp {
namespace es {
namespace avc_video {

namespace {
// Spans up to this many bytes are passed a byte at a time, without a call.
constexpr size_t kShortSpan = 16;
}  // namespace

CBinaryBufferForAvc::CBinaryBufferForAvc() : CBinaryBuffer(true) {}

uint32_t CBinaryBufferForAvc::ReadBytes(void* buffer, uint32_t count) { return ReadBytesWithoutEmulation(buffer, count); }

bool CBinaryBufferForAvc::Seek(int64_t offset, int origin) {
    m_zeroCount = 0;
    return CBinaryBuffer::Seek(offset, origin);
}

// The zero run starts afresh. A zero byte lengthens it; a 0x03 after two or more is passed without
// counting, and the byte after it counts whatever it is; any other byte ends the run. The end of the file
// before the last byte throws as ReadBytes does.
void CBinaryBufferForAvc::SkipRun(uint64_t count) {
    m_zeroCount = 0;
    m_bitPos = 8;
    bool escaped = false;
    while (count != 0) {
        const uint8_t* data = nullptr;
        const uint32_t size = PeekBuffered(&data);
        if (size == 0) throw BinaryBufferReadException();
        const uint8_t* p = data;
        const uint8_t* const end = data + size;
        while (p != end && count != 0) {
            if (escaped) {
                m_zeroCount = *p == 0 ? 1 : 0;
                escaped = false;
                ++p, --count;
            } else if (*p == 0) {
                ++m_zeroCount;
                ++p, --count;
            } else if (*p == 3 && m_zeroCount >= 2) {
                escaped = true;
                ++p;
            } else {
                // This byte and those up to the next zero pass as they are; memchr finds it in a long span.
                auto span = static_cast<size_t>(count < static_cast<uint64_t>(end - p) ? count : end - p);
                if (span <= kShortSpan) span = 1;
                const void* zero = span > 1 ? std::memchr(p + 1, 0, span - 1) : nullptr;
                const uint8_t* const stop = zero != nullptr ? static_cast<const uint8_t*>(zero) : p + span;
                count -= static_cast<uint64_t>(stop - p);
                p = stop;
                m_zeroCount = 0;
            }
        }
        ConsumeBuffered(static_cast<uint32_t>(p - data));
    }
}

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
