// Frame parser of DRA audio streams.
#pragma once

#include <cstdint>
#include <optional>

#include "input/CBinaryBuffer.h"
#include "input/CBitView.h"

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

private:
    CBinaryBuffer m_buffer;
    // Reads the frames once the first sync word is found; the buffer itself scans for the others.
    std::optional<CBitView> m_view;
    int64_t m_fileSize = 0;
    bool m_syncFound = false;
    Frame m_frame;
};

}  // namespace dra_audio
}  // namespace es
}  // namespace ts_comp
