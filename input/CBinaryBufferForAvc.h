// Bit buffer of the AVC parser.
#pragma once

#include "input/CBinaryBuffer.h"

namespace ts_comp {
namespace es {
namespace avc_video {

// Delivers bytes with the emulation-prevention byte 0x03 after two zero bytes removed.
class CBinaryBufferForAvc : public CBinaryBuffer {
public:
    CBinaryBufferForAvc();
    uint32_t ReadBytes(void* buffer, uint32_t count) override;
    uint8_t ReadByte() override;
    bool Seek(int64_t offset, int origin) override;
};

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
