// Frame parser of DRA audio streams.
#pragma once

#include <cstdint>
#include <optional>

#include "es/audio/dra/DraConstants.h"
#include "input/CBinaryBuffer.h"
#include "input/CBitView.h"
#include "input/CBitViewOfBytes.h"

namespace ts_comp {
namespace es {
namespace dra_audio {

// Walks the frames of a DRA stream: the header of each one, its size running to the next sync word.
class CDraAudioParser {
public:
    // One frame's header fields and size; refilled by each parse.
    struct Frame {
        int64_t frameSize = 0;  // from this frame's sync word to the next one or to the end of the file
        uint8_t nFrmHeaderType = 0;
        uint16_t nNumWord = 0;
        uint8_t nNumBlocksPerFrm = 0;
        uint8_t nSampleRateIndex = 0;
        uint8_t nNumNormalCh = 0;
        uint8_t nNumLfeCh = 0;
        uint8_t bAuxChCfg = 0;
        uint8_t bUseSumDiff = 0;
        uint8_t bUseJIC = 0;
        uint8_t nJicCb = 0;
    };

    virtual ~CDraAudioParser() = default;

    // Opens the stream and looks for its first sync word; false when the file does not open.
    bool Open(const char* path);
    // The next frame, or null after the last one (or when its header is cut off by the end of the file).
    const Frame* ParseNextFrame();
    // The frames that ParseNextFrame would give next while each one's header and the sync word at its declared
    // end lie in the buffered bytes, read from there: onFrame(frame) for each, until it returns false (then
    // false).
    template <typename OnFrame>
    bool ParseBuffered(OnFrame&& onFrame);

private:
    // The header fields after each other, take(count) giving the next count bits; false for a wrong sync word.
    template <typename Take>
    static bool ReadHeader(Take take, Frame& f);

    CBinaryBuffer m_buffer;
    // Reads the frames once the first sync word is found; the buffer itself scans for the others.
    std::optional<CBitView> m_view;
    int64_t m_fileSize = 0;
    bool m_syncFound = false;
    Frame m_frame;
};

template <typename Take>
bool CDraAudioParser::ReadHeader(Take take, Frame& f) {
    if (take(16) != kSyncWord) return false;
    f.nFrmHeaderType = static_cast<uint8_t>(take(1));
    const bool normal = f.nFrmHeaderType == 0;
    f.nNumWord = static_cast<uint16_t>(take(normal ? 10 : 13));
    f.nNumBlocksPerFrm = static_cast<uint8_t>(1u << take(2));
    f.nSampleRateIndex = static_cast<uint8_t>(take(4));
    f.nNumNormalCh = static_cast<uint8_t>(take(normal ? 3 : 6));
    f.nNumLfeCh = static_cast<uint8_t>(take(normal ? 1 : 2));
    f.bAuxChCfg = static_cast<uint8_t>(take(1));
    if (normal && f.nNumNormalCh >= 2) {
        f.bUseSumDiff = static_cast<uint8_t>(take(1));
        f.bUseJIC = static_cast<uint8_t>(take(1));
        if (f.bUseJIC) f.nJicCb = static_cast<uint8_t>(take(5) + 1);
    }
    return true;
}

// A frame is read from memory when the buffered bytes from its start hold one load of the longest header and
// reach past the sync word at its declared end.
template <typename OnFrame>
bool CDraAudioParser::ParseBuffered(OnFrame&& onFrame) {
    if (!m_syncFound) return true;
    CBitView& view = *m_view;
    const uint8_t* data = nullptr;
    const uint32_t buffered = view.Buffered(&data);
    uint32_t used = 0;
    bool going = true;
    while (going && buffered - used >= kBufferedHeadBytes) {
        const uint8_t* head = data + used;
        CBitView::Fields h = CBitViewOfBytes(head).Read(kLongestHeaderBits);
        Frame f;
        if (!ReadHeader([&h](uint32_t count) { return h.Take(count); }, f)) break;
        const uint32_t declared = f.nNumWord > 0 ? 4u * f.nNumWord : 2u;
        if (buffered - used < declared + 2 || head[declared] != kSyncByte0 || head[declared + 1] != kSyncByte1) break;
        f.frameSize = declared;
        used += declared;
        going = onFrame(static_cast<const Frame&>(f));
    }
    view.Skip(used);
    return going;
}

}  // namespace dra_audio
}  // namespace es
}  // namespace ts_comp
