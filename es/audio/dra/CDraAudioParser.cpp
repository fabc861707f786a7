#include "es/audio/dra/CDraAudioParser.h"

#include <algorithm>
#include <cstdio>

#include "es/audio/dra/DraConstants.h"
#include "foundation/Messages.h"
#include "input/CBitView.h"

namespace ts_comp {
namespace es {
namespace dra_audio {

bool CDraAudioParser::Open(const char* path) {
    m_view.reset();
    if (!m_buffer.Open(path)) return false;
    m_fileSize = m_buffer.GetSize();
    m_syncFound = m_buffer.SearchCode(kSyncWord);
    m_view.emplace(m_buffer);
    return true;
}

// The next sync word is looked for from the frame's declared end, so bytes between the two belong to the
// frame. A declared end before the sync word's second byte (no words at all) is searched from just past the
// sync word, so that the walk always moves on.
const CDraAudioParser::Frame* CDraAudioParser::ParseNextFrame() {
    if (!m_syncFound) return nullptr;
    Frame& f = m_frame;
    f = Frame{};
    CBitView& view = *m_view;
    const int64_t position = view.Tell();
    try {
        // The longest header at once; a field beyond the bits the file still holds is cut off, as reading
        // the fields one by one would find.
        uint64_t head = 0;
        const uint32_t found = view.Peek(&head, kLongestHeaderBits);
        CBitView::Fields h(head, found);
        bool synced = false;
        if (found == kLongestHeaderBits) {
            synced = ReadHeader([&h](uint32_t count) { return h.Take(count); }, f);
        } else {
            uint32_t left = found;
            synced = ReadHeader(
                [&h, &left](uint32_t count) {
                    if (count > left) throw CBinaryBuffer::BinaryBufferReadException();
                    left -= count;
                    return h.Take(count);
                },
                f);
        }
        if (!synced) return nullptr;
    } catch (const CBinaryBuffer::BinaryBufferException& e) {
        std::printf(messages::kFileReadErrorLine, e.what());
        std::fflush(stdout);
        return nullptr;
    }
    const int64_t declaredEnd = std::max<int64_t>(position + 4 * int64_t{f.nNumWord}, position + 2);
    // Mostly the next frame starts right at the declared end: the search would stop there at once.
    uint64_t next = 0;
    if (declaredEnd < m_fileSize && view.Seek(declaredEnd) && view.Peek(&next, 16) == 16 && next == kSyncWord) {
        m_syncFound = true;
        f.frameSize = declaredEnd - position;
        return &f;
    }
    view.Release();
    if (declaredEnd >= m_fileSize) {
        m_buffer.Seek(0, 2);
    } else {
        m_buffer.Seek(declaredEnd, 0);
    }
    m_syncFound = m_buffer.SearchCode(kSyncWord);
    f.frameSize = m_buffer.Tell() - position;
    view.Resume();
    return &f;
}

}  // namespace dra_audio
}  // namespace es
}  // namespace ts_comp
