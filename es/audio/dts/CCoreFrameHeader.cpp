#include "es/audio/dts/CCoreFrameHeader.h"

#include <cstdio>

#include "foundation/Messages.h"
#include "input/CBinaryBuffer.h"

namespace ts_comp {
namespace es {
namespace dts {

bool CCoreFrameHeader::Parse(CBinaryBuffer& buffer) {
    try {
        auto bits = [&buffer](uint32_t count) { return static_cast<uint32_t>(buffer.GetBits(count)); };
        auto flag = [&buffer](uint32_t count) { return static_cast<uint8_t>(buffer.GetBits(count)); };
        SYNC = bits(32);
        FTYPE = bits(1);
        SHORT = bits(5);
        CPF = bits(1);
        NBLKS = bits(7);
        FSIZE = bits(14);
        AMODE = bits(6);
        SFREQ = bits(4);
        RATE = flag(5);
        FixedBit = flag(1);
        DYNF = flag(1);
        TIMEF = flag(1);
        AUXF = flag(1);
        HDCD = flag(1);
        EXT_AUDIO_ID = flag(3);
        EXT_AUDIO = flag(1);
        ASPF = flag(1);
        LFF = flag(2);
        return true;
    } catch (const CBinaryBuffer::BinaryBufferException& e) {
        std::printf(messages::kFileReadErrorLine, e.what());
        return false;
    }
}

// The frame's bytes are passed over, not copied: the result is the same as reading them into a scratch
// buffer and checking that all FSIZE + 1 of them arrived.
bool CCoreFrameHeader::ParseFrame(CBinaryBuffer& buffer) {
    const int64_t start = buffer.Tell();
    if (!Parse(buffer)) return false;
    buffer.Seek(start, 0);
    const uint64_t frameBytes = uint64_t{FSIZE} + 1;
    return buffer.SkipBytes(frameBytes) == frameBytes;
}

}  // namespace dts
}  // namespace es
}  // namespace ts_comp
