#include "es/audio/mlp/CMlpAccessUnit.h"

#include "input/CBitView.h"

namespace ts_comp {
namespace es {

using namespace mlp;

namespace {

// The reads of BufferedBytes through the buffer, which refills and throws at the end of the file.
class ViewBytes {
public:
    explicit ViewBytes(CBinaryBuffer& buffer) : m_view(buffer) {}
    uint64_t Bytes(uint32_t count) { return m_view.Bits(8 * count); }
    bool MajorSyncAhead() {
        uint64_t next = 0;
        return m_view.Peek(&next, 16) == 16 && next == ((kMajorSyncByte0 << 8) | kMajorSyncByte1);
    }
    int64_t Tell() const { return m_view.Tell(); }
    void Seek(int64_t position) { m_view.Seek(position); }

private:
    CBitView m_view;
};

// The whole unit: its head and major sync, then the directory and the substream starts, read in whole bytes
// as the head is.
template <class Reader>
void ParseUnit(CMlpAccessUnit& au, Reader& in) {
    au.ParseHead(in);
    const uint32_t count = au.major_sync.substreams;
    for (uint32_t i = 0; i < count; ++i) {
        const auto entry = static_cast<uint16_t>(in.Bytes(2));
        au.directory[i].extra_substream_word = static_cast<uint8_t>(entry >> 15);
        au.directory[i].end_pointer = entry & kMaxEndPointer;
        if (au.directory[i].extra_substream_word) in.Bytes(2);
    }
    const int64_t data = in.Tell();
    for (uint32_t i = 0; i < count; ++i) {
        CMlpAccessUnit::SubstreamStart& s = au.substream[i];
        // The first byte holds both flags and the top of the restart sync word; the restart header's other
        // 36 bits end inside the fifth byte after it.
        const auto first = static_cast<uint32_t>(in.Bytes(1));
        s.block_header = static_cast<uint8_t>(first >> 7);
        if (s.block_header) s.restart_header = static_cast<uint8_t>((first >> 6) & 1);
        if (s.block_header && s.restart_header) {
            const uint64_t rest = in.Bytes(5) >> 4;
            s.restart_sync_word = static_cast<uint16_t>(((first & 0x3F) << 8) | (rest >> 28));
            s.output_timing = static_cast<uint16_t>((rest >> 12) & 0xFFFF);
            s.min_chan = static_cast<uint8_t>((rest >> 8) & 0xF);
            s.max_chan = static_cast<uint8_t>((rest >> 4) & 0xF);
            s.max_matrix_chan = static_cast<uint8_t>(rest & 0xF);
        }
        in.Seek(data + 2 * int64_t{au.directory[i].end_pointer});
    }
}

// The whole unit at position at: from the buffered bytes where they hold every byte it can reach, else (near
// the end of the file or of the buffered bytes) through a bit view. Kept out of the head-only path, whose
// registers it would take.
[[gnu::noinline]] void ParseWhole(CMlpAccessUnit& au, CBinaryBuffer& buffer, const uint8_t* data, uint32_t buffered,
                                  int64_t at) {
    if (buffered >= kUnitReach) {
        BufferedBytes in(data, at);
        ParseUnit(au, in);
        buffer.ConsumeBuffered(2u * au.access_unit_length);
        return;
    }
    ViewBytes in(buffer);
    ParseUnit(au, in);
    in.Seek(au.position + 2 * int64_t{au.access_unit_length});
}

}  // namespace

// Without substreams, the head and the major sync are read from the buffered bytes where they hold them and
// no read left out could meet the end of the file (nothing can throw then); else the whole unit is read.
bool CMlpAccessUnit::Parse(CBinaryBuffer& buffer, int64_t fileSize, bool substreams) {
    const int64_t at = buffer.Tell();
    if (at == fileSize) return false;
    const uint8_t* data = nullptr;
    const uint32_t buffered = buffer.PeekBuffered(&data);
    if (substreams || buffered < kHeadReach || fileSize - at < int64_t{kUnitReach}) {
        ParseWhole(*this, buffer, data, buffered, at);
        return true;
    }
    BufferedBytes in(data, at);
    ParseHead(in);
    const uint32_t length = 2u * access_unit_length;
    if (length <= buffered) {
        buffer.ConsumeBuffered(length);
    } else {
        buffer.SkipBytes(length);
    }
    return true;
}

}  // namespace es
}  // namespace ts_comp
