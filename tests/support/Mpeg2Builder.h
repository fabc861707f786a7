// Test support: MPEG-2 video elementary streams written header by header.
#pragma once

#include <cstdint>
#include <vector>

#include "support/BitWriter.h"

namespace kiv_test {

// Appends start codes and their fields; Slice adds filler bytes that hold no start code.
class Mpeg2Builder {
public:
    Mpeg2Builder& StartCode(uint8_t value) { return m_w.Align().Bytes({0x00, 0x00, 0x01, value}), *this; }
    // Bit rate 20000, VBV buffer size 112.
    Mpeg2Builder& SequenceHeader(uint16_t width, uint16_t height, uint8_t aspect, uint8_t frameRateCode) {
        StartCode(0xB3).m_w.Put(width, 12).Put(height, 12).Put(aspect, 4).Put(frameRateCode, 4);
        return m_w.Put(20000, 18).Put(1, 1).Put(112, 10).Put(0, 3), *this;
    }
    Mpeg2Builder& SequenceExtension(uint8_t profileAndLevel, uint8_t progressive) {
        StartCode(0xB5).m_w.Put(1, 4).Put(profileAndLevel, 8).Put(progressive, 1).Put(1, 2).Put(0, 16).Put(1, 1);
        return m_w.Put(0, 16), *this;
    }
    // With colour description.
    Mpeg2Builder& SequenceDisplayExtension() {
        StartCode(0xB5).m_w.Put(2, 4).Put(1, 3).Put(1, 1).Put(0x010101, 24).Put(1920, 14).Put(1, 1).Put(1080, 14);
        return *this;
    }
    // Picture display extension (identifier 7), which the parser skips.
    Mpeg2Builder& PictureDisplayExtension() {
        return StartCode(0xB5).m_w.Put(7, 4).Put(0x123, 16).Put(1, 1).Put(0x456, 16).Put(1, 1), *this;
    }
    Mpeg2Builder& Gop(uint8_t closed) { return StartCode(0xB8).m_w.Put(0x1000, 25).Put(closed, 1).Put(0, 1), *this; }
    Mpeg2Builder& PictureHeader(uint8_t type) {
        StartCode(0x00).m_w.Put(0, 10).Put(type, 3).Put(0xFFFF, 16).Put(7, type == 2 || type == 3 ? 4 : 0);
        return m_w.Put(7, type == 3 ? 4 : 0).Put(0, 1), *this;
    }
    Mpeg2Builder& CodingExtension(uint8_t structure, uint8_t tff, uint8_t rff) {
        StartCode(0xB5).m_w.Put(8, 4).Put(0xFFFF, 16).Put(0, 2).Put(structure, 2).Put(tff, 1).Put(1, 1).Put(0, 4);
        return m_w.Put(rff, 1).Put(0, 1).Put(structure == 3 ? 1 : 0, 1).Put(0, 1), *this;
    }
    Mpeg2Builder& Slice(size_t bytes) { return StartCode(0x01).m_w.Fill(0x5A, bytes), *this; }
    // A picture header, its coding extension and one slice.
    Mpeg2Builder& Picture(uint8_t type, uint8_t structure = 3, uint8_t tff = 0, uint8_t rff = 0, size_t sliceBytes = 40) {
        return PictureHeader(type).CodingExtension(structure, tff, rff).Slice(sliceBytes);
    }
    // Sequence header and extension, the opening of every test stream.
    Mpeg2Builder& Sequence(uint16_t height, uint8_t frameRateCode, uint8_t progressive, uint8_t aspect = 3, uint8_t profileAndLevel = 0x48) {
        return SequenceHeader(1920, height, aspect, frameRateCode).SequenceExtension(profileAndLevel, progressive);
    }
    Mpeg2Builder& SequenceEnd() { return StartCode(0xB7); }
    Mpeg2Builder& Raw(std::initializer_list<uint8_t> bytes) { return m_w.Align().Bytes(bytes), *this; }
    std::vector<uint8_t> Bytes() { return m_w.Align().Data(); }

private:
    BitWriter m_w;
};

}  // namespace kiv_test
