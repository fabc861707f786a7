// Test support: builds HDMV LPCM streams frame by frame, each header written field by field.
#pragma once

#include <cstdint>
#include <vector>

#include "support/BitWriter.h"

namespace kiv_test {

// Codes of one HDMV LPCM frame header after its payload size: 4, 4, 2 and 6 bits.
struct LpcmHeaderCodes {
    uint8_t channelAssignment = 3, samplingFrequency = 1, bitsPerSample = 1, rest = 0;
};

// Appends frames (4-byte header, then payload) to one stream; frames take the current header codes.
class LpcmBuilder {
public:
    LpcmBuilder& Codes(const LpcmHeaderCodes& codes) { return m_codes = codes, *this; }
    // A header, then payloadSize bytes that now and then look like a header, so that a parser reading them goes wrong.
    LpcmBuilder& Frame(uint16_t payloadSize) {
        Header(payloadSize);
        for (size_t i = 0; i < payloadSize; ++i) m_writer.Put((m_payloadCounter++ * 37u + 0x31u) & 0xFFu, 8);
        return *this;
    }
    LpcmBuilder& Header(uint16_t payloadSize) {
        const LpcmHeaderCodes& c = m_codes;
        m_writer.Put(payloadSize, 16).Put(c.channelAssignment, 4).Put(c.samplingFrequency, 4).Put(c.bitsPerSample, 2).Put(c.rest, 6);
        return *this;
    }
    // Raw payload bytes, for example a PCM signal made elsewhere.
    LpcmBuilder& Payload(const std::vector<uint8_t>& bytes) { return m_writer.Bytes(bytes), *this; }
    std::vector<uint8_t> Take() { return m_writer.Take(); }

private:
    BitWriter m_writer;
    LpcmHeaderCodes m_codes;
    uint32_t m_payloadCounter = 0;
};

}  // namespace kiv_test
