// One MLP access unit's head, its major sync and the start of each substream.
#pragma once

#include <cstdint>

#include "es/audio/mlp/MlpBufferedBytes.h"
#include "es/audio/mlp/MlpConstants.h"

namespace ts_comp {
class CBinaryBuffer;
namespace es {

// Record that each Parse refills; the latest major sync (and the substream count with it) stays for the
// access units that carry none.
class CMlpAccessUnit {
public:
    struct MajorSync {
        uint32_t format_sync = 0;
        uint32_t format_info = 0;
        uint8_t substreams = 0;
    };
    struct SubstreamDirectory {
        uint8_t extra_substream_word = 0;
        uint16_t end_pointer = 0;  // in 16-bit words from the start of the substream data
    };
    struct SubstreamStart {
        uint8_t block_header = 0;
        uint8_t restart_header = 0;
        uint16_t restart_sync_word = 0;
        uint16_t output_timing = 0;
        uint8_t min_chan = 0;
        uint8_t max_chan = 0;
        uint8_t max_matrix_chan = 0;
    };

    virtual ~CMlpAccessUnit() = default;

    // Parses the access unit at the buffer's position and leaves the buffer at the next one. False when the
    // position is the end of the file (fileSize); fields cut off by the end throw the buffer's exception.
    // Without substreams, a unit whose every reachable byte is buffered (so that none of its reads can
    // throw) keeps the directory and substream starts of the unit before.
    bool Parse(CBinaryBuffer& buffer, int64_t fileSize, bool substreams = true);
    // Parse without substreams over bytes the caller holds, for the unit at data (file position position,
    // size bytes from there on): true when its head and the whole unit lie in them and the end of the file
    // is out of its reach. False for a unit that does not qualify (the record may then hold its head).
    bool ParseHeadAt(const uint8_t* data, uint32_t size, int64_t position, int64_t fileSize) {
        if (size < mlp::kHeadReach || fileSize - position < int64_t{mlp::kUnitReach}) return false;
        mlp::BufferedBytes in(data, position);
        ParseHead(in);
        return 2u * access_unit_length <= size;
    }
    // access_unit_length and input_timing out of a unit's first four bytes (big-endian).
    static uint16_t UnitLength(uint32_t head) { return static_cast<uint16_t>((head >> 16) & 0xFFF); }
    static uint16_t InputTiming(uint32_t head) { return static_cast<uint16_t>(head & 0xFFFF); }
    // The head and the major sync, read in whole bytes, so that a read past the end of the file fails at the
    // same byte as a field-by-field read would.
    template <class Reader>
    void ParseHead(Reader& in) {
        position = in.Tell();
        const auto head = static_cast<uint32_t>(in.Bytes(4));
        check_nibble = static_cast<uint8_t>(head >> 28);
        access_unit_length = UnitLength(head);
        input_timing = InputTiming(head);
        major_sync_flag = in.MajorSyncAhead();
        if (major_sync_flag) {
            major_sync.format_sync = static_cast<uint32_t>(in.Bytes(4));
            major_sync.format_info = static_cast<uint32_t>(in.Bytes(4));
            in.Bytes(8);  // signature, flags, reserved, variable_rate, peak_data_rate
            major_sync.substreams = static_cast<uint8_t>(in.Bytes(1) >> 4);
            in.Bytes(1);  // substream_info
            in.Bytes(8);  // channel meaning
            in.Bytes(2);  // major_sync_info_CRC, not verified
        }
    }

    int64_t position = 0;
    uint8_t check_nibble = 0;
    uint16_t access_unit_length = 0;  // in 16-bit words
    uint16_t input_timing = 0;
    uint8_t major_sync_flag = 0;
    MajorSync major_sync;
    SubstreamDirectory directory[mlp::kMaxSubstreams];
    SubstreamStart substream[mlp::kMaxSubstreams];
};

}  // namespace es
}  // namespace ts_comp
