#include "es/audio/mlp/CMlpAccessUnit.h"

#include "input/CBitView.h"

namespace ts_comp {
namespace es {

using namespace mlp;

// Fields are read in whole bytes where the syntax allows it, so that a read past the end of the file fails
// at the same byte as a field-by-field read would.
bool CMlpAccessUnit::Parse(CBinaryBuffer& buffer, int64_t fileSize) {
    CBitView view(buffer);
    const int64_t at = view.Tell();
    if (at == fileSize) return false;
    position = at;
    const auto head = static_cast<uint32_t>(view.Bits(32));
    check_nibble = static_cast<uint8_t>(head >> 28);
    access_unit_length = static_cast<uint16_t>((head >> 16) & 0xFFF);
    input_timing = static_cast<uint16_t>(head & 0xFFFF);

    uint64_t next = 0;
    major_sync_flag = view.Peek(&next, 16) == 16 && next == ((kMajorSyncByte0 << 8) | kMajorSyncByte1);
    if (major_sync_flag) {
        major_sync.format_sync = static_cast<uint32_t>(view.Bits(32));
        major_sync.format_info = static_cast<uint32_t>(view.Bits(32));
        view.Bits(64);  // signature, flags, reserved, variable_rate, peak_data_rate
        major_sync.substreams = static_cast<uint8_t>(view.Bits(8) >> 4);
        view.Bits(8);   // substream_info
        view.Bits(64);  // channel meaning
        view.Bits(16);  // major_sync_info_CRC, not verified
    }
    for (uint32_t i = 0; i < major_sync.substreams; ++i) {
        const auto entry = static_cast<uint16_t>(view.Bits(16));
        directory[i].extra_substream_word = static_cast<uint8_t>(entry >> 15);
        directory[i].end_pointer = entry & 0xFFF;
        if (directory[i].extra_substream_word) view.Bits(16);
    }
    const int64_t data = view.Tell();
    for (uint32_t i = 0; i < major_sync.substreams; ++i) {
        SubstreamStart& s = substream[i];
        // The first byte holds both flags and the top of the restart sync word.
        const auto first = static_cast<uint32_t>(view.Bits(8));
        s.block_header = static_cast<uint8_t>(first >> 7);
        if (s.block_header) s.restart_header = static_cast<uint8_t>((first >> 6) & 1);
        if (s.block_header && s.restart_header) {
            const uint64_t rest = view.Bits(36);
            s.restart_sync_word = static_cast<uint16_t>(((first & 0x3F) << 8) | (rest >> 28));
            s.output_timing = static_cast<uint16_t>((rest >> 12) & 0xFFFF);
            s.min_chan = static_cast<uint8_t>((rest >> 8) & 0xF);
            s.max_chan = static_cast<uint8_t>((rest >> 4) & 0xF);
            s.max_matrix_chan = static_cast<uint8_t>(rest & 0xF);
        }
        view.Seek(data + 2 * int64_t{directory[i].end_pointer});
    }
    view.Seek(position + 2 * int64_t{access_unit_length});
    return true;
}

}  // namespace es
}  // namespace ts_comp
