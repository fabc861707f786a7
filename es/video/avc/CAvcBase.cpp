#include "es/video/avc/CAvcBase.h"

#include "es/video/avc/AvcConstants.h"

namespace ts_comp {
namespace es {
namespace avc_video {

uint64_t CAvcBase::ReadUe(CBinaryBuffer& buffer) { return ReadExpGolomb(buffer); }

int64_t CAvcBase::ReadSe(CBinaryBuffer& buffer) {
    const uint64_t k = ReadExpGolomb(buffer);
    if (k & 1u) return static_cast<int64_t>((k + 1) / 2);
    return -static_cast<int64_t>(k / 2);
}

// Leading zero bits up to a 1 bit, then as many bits again: 2^zeros - 1 + their value. A prefix too
// long for 64 bits still consumes its suffix and gives the largest value.
uint64_t CAvcBase::ReadExpGolomb(CBinaryBuffer& buffer) {
    uint32_t zeros = 0;
    while (buffer.ReadBit() == 0) ++zeros;
    if (zeros == 0) return 0;
    if (zeros > kMaxExpGolombZeros) {
        SkipBits(buffer, zeros);
        return UINT64_MAX;
    }
    return (uint64_t{1} << zeros) - 1 + buffer.GetBits(zeros);
}

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
