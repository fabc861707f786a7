// One MLP access unit's head, its major sync and the start of each substream.
#pragma once

#include <cstdint>

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
    bool ParseHeadAt(const uint8_t* data, uint32_t size, int64_t position, int64_t fileSize);

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
