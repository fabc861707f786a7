// Test support: builds HDMV LPCM streams frame by frame, each header written field by field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "support/BitWriter.h"

namespace kiv_test {

// Codes of one HDMV LPCM frame header after its payload size.
struct LpcmHeaderCodes {
    uint8_t channelAssignment = 3;  // 4 bits
    uint8_t samplingFrequency = 1;  // 4 bits
    uint8_t bitsPerSample = 1;      // 2 bits
    uint8_t rest = 0;               // the 6 bits after bits_per_sample
};

// Appends frames (4-byte header, then payload) to one stream; frames take the current header codes.
class LpcmBuilder {
public:
    LpcmBuilder& Codes(const LpcmHeaderCodes& codes) {
        m_codes = codes;
        return *this;
    }
    // A complete frame with payloadSize bytes of payload.
    LpcmBuilder& Frame(uint16_t payloadSize) { return FrameCutAt(payloadSize, payloadSize); }
    // A frame whose header announces payloadSize bytes of which only present are written.
    LpcmBuilder& FrameCutAt(uint16_t payloadSize, size_t present) {
        Header(payloadSize);
        for (size_t i = 0; i < present; ++i) m_writer.Put(PayloadByte(), 8);
        return *this;
    }
    // The first count bytes of a frame header announcing payloadSize bytes (count < 4).
    LpcmBuilder& HeaderCutAt(uint16_t payloadSize, size_t count) {
        BitWriter header;
        WriteHeader(header, payloadSize);
        for (size_t i = 0; i < count; ++i) m_writer.Put(header.Data()[i], 8);
        return *this;
    }
    // Raw payload bytes, for example a PCM signal made elsewhere.
    LpcmBuilder& Payload(const std::vector<uint8_t>& bytes) {
        m_writer.Bytes(bytes);
        return *this;
    }
    LpcmBuilder& Header(uint16_t payloadSize) {
        WriteHeader(m_writer, payloadSize);
        return *this;
    }
    size_t Size() const { return m_writer.ByteCount(); }
    std::vector<uint8_t> Take() { return m_writer.Take(); }

private:
    void WriteHeader(BitWriter& w, uint16_t payloadSize) const {
        w.Put(payloadSize, 16)
            .Put(m_codes.channelAssignment, 4)
            .Put(m_codes.samplingFrequency, 4)
            .Put(m_codes.bitsPerSample, 2)
            .Put(m_codes.rest, 6);
    }
    // Payload that now and then looks like a frame header, so that a parser reading it would go wrong.
    uint8_t PayloadByte() { return static_cast<uint8_t>((m_payloadCounter++ * 37u + 0x31u) & 0xFFu); }

    BitWriter m_writer;
    LpcmHeaderCodes m_codes;
    uint32_t m_payloadCounter = 0;
};

}  // namespace kiv_test
