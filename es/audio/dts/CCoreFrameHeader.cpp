#include "es/audio/dts/CCoreFrameHeader.h"

#include <cstdio>

#include "foundation/Messages.h"
#include "input/CBinaryBuffer.h"
#include "input/CBitView.h"

namespace ts_comp {
namespace es {
namespace dts {

bool CCoreFrameHeader::Parse(CBinaryBuffer& buffer) {
    CBitView view(buffer);
    return Parse(view);
}

bool CCoreFrameHeader::Parse(CBitView& view) {
    try {
        auto bits = [&view](uint32_t count) { return static_cast<uint32_t>(view.Bits(count)); };
        auto flag = [&view](uint32_t count) { return static_cast<uint8_t>(view.Bits(count)); };
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
    uint64_t frameBytes = 0;
    {
        CBitView view(buffer);
        const int64_t start = view.Tell();
        if (!Parse(view)) return false;
        frameBytes = uint64_t{FSIZE} + 1;
        if (view.SeekBuffered(start + static_cast<int64_t>(frameBytes))) return true;
        view.Seek(start);
    }
    return buffer.SkipBytes(frameBytes) == frameBytes;
}

}  // namespace dts
}  // namespace es
}  // namespace ts_comp
