// Interactive composition segment (0x18): header and one fragment of the interactive composition.
#pragma once

#include <cstdint>

#include "es/graphics/segments/CGspSegment.h"

class CGspICS final : public CGspSegment {
public:
    virtual uint16_t GetVideoWidth() const;
    virtual uint16_t GetVideoHeight() const;
    virtual uint8_t GetFrameRate() const { return m_b[4] >> 4; }
    virtual uint16_t GetCompositionNumber() const;
    virtual uint8_t GetCompositionState() const { return m_b[7] >> 6; }
    virtual uint8_t GetFirstInSequenceFlag() const { return m_b[8] >> 7; }
    virtual uint8_t GetLastInSequenceFlag() const { return (m_b[8] >> 6) & 1u; }
    virtual uint32_t GetVideoWidthOffset() const { return 3; }
    virtual uint32_t GetVideoHeightOffset() const { return 5; }
    virtual uint32_t GetFrameRateOffset() const { return 7; }
    virtual uint32_t GetCompositionNumberOffset() const { return 8; }
    virtual uint32_t GetCompositionStateOffset() const { return 10; }
    virtual uint32_t GetSequenceDescriptorOffset() const { return 11; }
    virtual uint32_t GetInteractiveCompositionDataOffset() const { return 12; }
    virtual uint32_t GetVideoWidthSize() const { return 2; }
    virtual uint32_t GetVideoHeightSize() const { return 2; }
    virtual uint32_t GetFrameRateSize() const { return 1; }
    virtual uint32_t GetCompositionNumberSize() const { return 2; }
    virtual uint32_t GetCompositionStateSize() const { return 1; }
    virtual uint32_t GetSequenceDescriptorSize() const { return 1; }
    // segment_length - 9, or 0 when that is not positive.
    virtual uint32_t GetInteractiveCompositionDataSize() const { return GetLength() > 9 ? GetLength() - 9u : 0u; }

protected:
    uint32_t GetParseExtent() const override { return 12; }
    bool ParseBody(const uint8_t* bytes, uint32_t delivered) override;
    int ParseHeld(const uint8_t* data, uint32_t buffered) override { return ParseHeldHere(data, buffered); }

private:
    uint8_t m_b[9] = {};
};
