// Object definition segment (0x15): one fragment of an object's coded data.
#pragma once

#include <cstdint>

#include "es/graphics/segments/CGspSegment.h"
#include "es/graphics/segments/GspFileIo.h"

class CGspODS final : public CGspSegment {
public:
    virtual uint16_t GetObjectId() const { return gsp_io::Be16(m_b); }
    virtual uint8_t GetObjectVersionNumber() const { return m_b[2]; }
    virtual uint8_t GetFirstInSequenceFlag() const { return m_b[3] >> 7; }
    virtual uint8_t GetLastInSequenceFlag() const { return (m_b[3] >> 6) & 1u; }
    // The next three are meaningful for a first fragment only.
    virtual uint32_t GetObjectDataLength() const { return gsp_io::Be24(m_b + 4); }
    virtual uint16_t GetObjectWidth() const { return gsp_io::Be16(m_b + 7); }
    virtual uint16_t GetObjectHeight() const { return gsp_io::Be16(m_b + 9); }
    virtual uint32_t GetObjectIdOffset() const { return 3; }
    virtual uint32_t GetObjectVersionNumberOffset() const { return 5; }
    virtual uint32_t GetSequenceDescriptorOffset() const { return 6; }
    virtual uint32_t GetObjectDataLengthOffset() const { return 7; }
    virtual uint32_t GetObjectWidthOffset() const { return 10; }
    virtual uint32_t GetObjectHeightOffset() const { return 12; }
    virtual uint32_t GetObjectIdSize() const { return 2; }
    virtual uint32_t GetObjectVersionNumberSize() const { return 1; }
    virtual uint32_t GetSequenceDescriptorSize() const { return 1; }
    virtual uint32_t GetObjectDataLengthSize() const { return 3; }
    virtual uint32_t GetObjectWidthSize() const { return 2; }
    virtual uint32_t GetObjectHeightSize() const { return 2; }

protected:
    uint32_t GetParseExtent() const override { return GetSize() < 7 ? 7 : GetSize() < 14 ? GetSize() : 14; }
    bool ParseBody(const uint8_t* bytes, uint32_t delivered) override;
    int ParseHeld(const uint8_t* data, uint32_t buffered) override { return ParseHeldHere(data, buffered); }

private:
    uint8_t m_b[11] = {};  // segment bytes 3 to 13
};
