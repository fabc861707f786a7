// Bit buffer of the AVC parser.
#pragma once

#include "input/CBinaryBuffer.h"

namespace ts_comp {
namespace es {
namespace avc_video {

// Delivers bytes with the emulation-prevention byte 0x03 after two zero bytes removed.
class CBinaryBufferForAvc final : public CBinaryBuffer {
public:
    CBinaryBufferForAvc();
    uint32_t ReadBytes(void* buffer, uint32_t count) override;
    uint8_t ReadByte() override { return ReadByteWithoutEmulation(); }
    bool Seek(int64_t offset, int origin) override;
    // As a seek to the current position followed by ReadBytes of count bytes, without copying them.
    void SkipFromHere(uint64_t count) {
        // A few buffered bytes without a zero pass at once: the run starts afresh, so none of them is removed.
        const uint8_t* data = nullptr;
        if (count <= kFewBytes && PeekBuffered(&data) >= count && NoZero(data, count)) {
            ConsumeBuffered(static_cast<uint32_t>(count));
            m_zeroCount = 0;
            return;
        }
        SkipRun(count);
    }

private:
    static constexpr uint64_t kFewBytes = 4;
    static bool NoZero(const uint8_t* data, uint64_t count) {
        for (uint64_t i = 0; i < count; ++i) {
            if (data[i] == 0) return false;
        }
        return true;
    }
    void SkipRun(uint64_t count);
};

}  // namespace avc_video
}  // namespace es
}  // namespace ts_comp
