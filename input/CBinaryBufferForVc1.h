// Bit buffer of the VC-1 parser.
#pragma once

#include "input/CBinaryBuffer.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

// Delivers bytes with the emulation-prevention byte 0x03 after two zero bytes removed.
class CBinaryBufferForVc1 : public CBinaryBuffer {
public:
    CBinaryBufferForVc1();
    uint32_t ReadBytes(void* buffer, uint32_t count) override;
    uint8_t ReadByte() override;
    bool Seek(int64_t offset, int origin) override;
};

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
