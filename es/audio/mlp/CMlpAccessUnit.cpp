#include "es/audio/mlp/CMlpAccessUnit.h"

#include <cstring>

#include "input/CBitView.h"

namespace ts_comp {
namespace es {

using namespace mlp;

namespace {

// Furthest an access unit's fields reach from its first byte: the head, a major sync, a directory of
// kMaxSubstreams entries with their extra words, then the flag byte of a substream whose end pointer is the
// largest, plus the 8 bytes each read loads.
constexpr uint32_t kUnitReach = kUnitHeadBytes + kMajorSyncBytes + kMaxSubstreams * kDirectoryEntryMaxBytes +
                                2 * kMaxEndPointer + 1 + 8;
// The same for the head and the major sync alone.
constexpr uint32_t kHeadReach = kUnitHeadBytes + kMajorSyncBytes + 8;

// The parse's reads straight out of buffered bytes that hold everything a unit can reach.
class BufferedBytes {
public:
    BufferedBytes(const uint8_t* data, int64_t position) : m_start(data), m_p(data), m_position(position) {}
    // The next count bytes (1 to 8) as a big-endian number.
    uint64_t Bytes(uint32_t count) {
        uint64_t word;
        std::memcpy(&word, m_p, sizeof word);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        word = __builtin_bswap64(word);
#endif
        m_p += count;
        return word >> (64 - 8 * count);
    }
    bool MajorSyncAhead() const { return m_p[0] == kMajorSyncByte0 && m_p[1] == kMajorSyncByte1; }
    int64_t Tell() const { return m_position + (m_p - m_start); }
    void Seek(int64_t position) { m_p = m_start + (position - m_position); }

private:
    const uint8_t* m_start;
    const uint8_t* m_p;
    int64_t m_position;  // file position of m_start
};

// The same reads through the buffer, which refills and throws at the end of the file.
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

// The fields of one access unit, read in whole bytes, so that a read past the end of the file fails at the
// same byte as a field-by-field read would; without kSubstreams up to the major sync only.
template <bool kSubstreams, class Reader>
[[gnu::always_inline]] inline void ParseUnit(CMlpAccessUnit& au, Reader& in) {
    au.position = in.Tell();
    const auto head = static_cast<uint32_t>(in.Bytes(4));
    au.check_nibble = static_cast<uint8_t>(head >> 28);
    au.access_unit_length = static_cast<uint16_t>((head >> 16) & 0xFFF);
    au.input_timing = static_cast<uint16_t>(head & 0xFFFF);

    au.major_sync_flag = in.MajorSyncAhead();
    if (au.major_sync_flag) {
        au.major_sync.format_sync = static_cast<uint32_t>(in.Bytes(4));
        au.major_sync.format_info = static_cast<uint32_t>(in.Bytes(4));
        in.Bytes(8);  // signature, flags, reserved, variable_rate, peak_data_rate
        au.major_sync.substreams = static_cast<uint8_t>(in.Bytes(1) >> 4);
        in.Bytes(1);  // substream_info
        in.Bytes(8);  // channel meaning
        in.Bytes(2);  // major_sync_info_CRC, not verified
    }
    if constexpr (kSubstreams) {
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
}

// The whole unit at position at: from the buffered bytes where they hold every byte it can reach, else (near
// the end of the file or of the buffered bytes) through a bit view. Kept out of the head-only path, whose
// registers it would take.
[[gnu::noinline]] void ParseWhole(CMlpAccessUnit& au, CBinaryBuffer& buffer, const uint8_t* data, uint32_t buffered,
                                  int64_t at) {
    if (buffered >= kUnitReach) {
        BufferedBytes in(data, at);
        ParseUnit<true>(au, in);
        buffer.ConsumeBuffered(2u * au.access_unit_length);
        return;
    }
    ViewBytes in(buffer);
    ParseUnit<true>(au, in);
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
    ParseUnit<false>(*this, in);
    const uint32_t length = 2u * access_unit_length;
    if (length <= buffered) {
        buffer.ConsumeBuffered(length);
    } else {
        buffer.SkipBytes(length);
    }
    return true;
}

bool CMlpAccessUnit::ParseHeadAt(const uint8_t* data, uint32_t size, int64_t position, int64_t fileSize) {
    if (size < kHeadReach || fileSize - position < int64_t{kUnitReach}) return false;
    BufferedBytes in(data, position);
    ParseUnit<false>(*this, in);
    return 2u * access_unit_length <= size;
}

}  // namespace es
}  // namespace ts_comp
