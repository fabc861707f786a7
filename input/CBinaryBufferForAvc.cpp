#include "input/CBinaryBufferForAvc.h"

namespace ts_comp {
namespace es {
namespace avc_video {

CBinaryBufferForAvc::CBinaryBufferForAvc() : CBinaryBuffer(true) {}

uint32_t CBinaryBufferForAvc::ReadBytes(void* buffer, uint32_t count) { return ReadBytesWithoutEmulation(buffer, count); }

uint8_t CBinaryBufferForAvc::ReadByte() { return ReadByteWithoutEmulation(); }

bool CBinaryBufferForAvc::Seek(int64_t offset, int origin) {
    m_zeroCount = 0;
    return CBinaryBuffer::Seek(offset, origin);
}

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
