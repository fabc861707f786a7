#include "input/CBinaryBufferForVc1.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

CBinaryBufferForVc1::CBinaryBufferForVc1() : CBinaryBuffer(true) {}

uint32_t CBinaryBufferForVc1::ReadBytes(void* buffer, uint32_t count) { return ReadBytesWithoutEmulation(buffer, count); }

uint8_t CBinaryBufferForVc1::ReadByte() { return ReadByteWithoutEmulation(); }

bool CBinaryBufferForVc1::Seek(int64_t offset, int origin) {
    m_zeroCount = 0;
    return CBinaryBuffer::Seek(offset, origin);
}

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
