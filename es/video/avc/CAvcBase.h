// Base of the AVC syntax structures: the Exp-Golomb readers.
#pragma once

#include <cstdint>

#include "input/CBinaryBuffer.h"

namespace ts_comp {
namespace es {
namespace avc_video {

// ue(v) and se(v) out of the bit buffer.
class CAvcBase {
public:
    virtual ~CAvcBase() = default;
    virtual uint64_t ReadUe(CBinaryBuffer& buffer);
    virtual int64_t ReadSe(CBinaryBuffer& buffer);
    virtual uint64_t ReadExpGolomb(CBinaryBuffer& buffer);
};

// Reads count bits as the field type T.
template <typename T>
T Bits(CBinaryBuffer& buffer, uint32_t count) {
    return static_cast<T>(buffer.GetBits(count));
}

// Reads and drops count bits, 64 at a time.
inline void SkipBits(CBinaryBuffer& buffer, uint64_t count) {
    for (; count > 64; count -= 64) buffer.GetBits(64);
    buffer.GetBits(static_cast<uint32_t>(count));
}

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
