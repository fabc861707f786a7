// Splits a VC-1 advanced-profile byte stream into header units and picture units, in coded order.
#pragma once

#include <cstdint>
#include <memory>

#include "es/video/vc1/CAccessUintInformationForVc1.h"
#include "es/video/vc1/CSequenceHeader.h"
#include "input/CBinaryBufferForVc1.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

// Start-code search over raw bytes; none from GetNextAccessUnit ends the stream.
class CVc1VideoParser {
public:
    CVc1VideoParser() = default;
    CVc1VideoParser(const CVc1VideoParser&) = delete;
    CVc1VideoParser& operator=(const CVc1VideoParser&) = delete;
    virtual ~CVc1VideoParser();

    virtual bool Open(const char* path);
    virtual std::unique_ptr<CAccessUintInformationForVc1> GetNextAccessUnit();
    // File position of the start code that opens the unit GetNextAccessUnit returned last.
    int64_t GetUnitPosition() const { return m_unitPosition; }

    // State of the start-code search between two bytes: the zero run (3 stands for 3 or more) and whether
    // the byte after an escaped 0x000003 is due.
    struct ScanState {
        uint32_t zeros = 0;
        bool escape = false;
        bool operator==(const ScanState& o) const { return zeros == o.zeros && escape == o.escape; }
    };
    // Outcome of one search: a start code at codePos with its type, or none; stop is where it ended
    // (codePos when found, else just past the byte that ended it).
    struct Search {
        bool found = false;
        int64_t codePos = 0;
        uint8_t type = 0;
        int64_t stop = 0;
    };

private:
    std::unique_ptr<CBitstreamDataUnit> ParseNextBdu();
    std::unique_ptr<CBitstreamDataUnit> ReadBdu(uint8_t type);
    Search Run(ScanState state);
    bool Conclude(int step, int64_t at, Search& result);
    bool StepByte(ScanState& state, uint8_t b, int64_t at, Search& result);
    void Searches(int64_t payload, int64_t parsedTo, Search& size, Search& next);

    CBinaryBufferForVc1 m_buffer;
    std::unique_ptr<CSequenceHeader> m_sequenceHeader;
    uint8_t m_profile = 0;
    int64_t m_fileSize = 0;
    // Where the byte-by-byte reading would stand; the buffer itself may already be further on.
    int64_t m_position = 0;
    int64_t m_codePosition = 0;
    int64_t m_unitPosition = 0;
    // The search from m_nextFrom, done once and used both to look ahead and to find the next BDU.
    bool m_nextKnown = false;
    int64_t m_nextFrom = 0;
    Search m_next;
};

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
