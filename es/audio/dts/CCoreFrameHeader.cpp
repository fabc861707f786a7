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
        ParseSize(view);
        CBitView::Fields f = view.Read(27);
        AMODE = static_cast<uint32_t>(f.Take(6));
        SFREQ = static_cast<uint32_t>(f.Take(4));
        RATE = static_cast<uint8_t>(f.Take(5));
        FixedBit = static_cast<uint8_t>(f.Take(1));
        DYNF = static_cast<uint8_t>(f.Take(1));
        TIMEF = static_cast<uint8_t>(f.Take(1));
        AUXF = static_cast<uint8_t>(f.Take(1));
        HDCD = static_cast<uint8_t>(f.Take(1));
        EXT_AUDIO_ID = static_cast<uint8_t>(f.Take(3));
        EXT_AUDIO = static_cast<uint8_t>(f.Take(1));
        ASPF = static_cast<uint8_t>(f.Take(1));
        LFF = static_cast<uint8_t>(f.Take(2));
        return true;
    } catch (const CBinaryBuffer::BinaryBufferException& e) {
        std::printf(messages::kFileReadErrorLine, e.what());
        return false;
    }
}

bool CCoreFrameHeader::ParseFrame(CBinaryBuffer& buffer) {
    CBitView view(buffer);
    return ParseFrame(view);
}

bool CCoreFrameHeader::ParseFrame(CBitView& view) { return PassFrame(view, true); }

bool CCoreFrameHeader::PassOver(CBitView& view) { return PassFrame(view, false); }

// The frame's bytes are passed over, not copied: the result is the same as reading them into a scratch
// buffer and checking that all FSIZE + 1 of them arrived.
bool CCoreFrameHeader::PassFrame(CBitView& view, bool wholeHeader) {
    const int64_t start = view.Tell();
    if (wholeHeader) {
        if (!Parse(view)) return false;
    } else {
        ParseSize(view);
    }
    const uint64_t frameBytes = uint64_t{FSIZE} + 1;
    view.Seek(start);
    return view.Skip(frameBytes) == frameBytes;
}

}  // namespace dts
}  // namespace es
}  // namespace ts_comp
