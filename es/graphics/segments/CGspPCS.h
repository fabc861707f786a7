// Presentation composition segment (0x16).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "es/graphics/segments/CGspObject.h"
#include "es/graphics/segments/CGspSegment.h"
#include "es/graphics/segments/GspFileIo.h"

class CGspPCS final : public CGspSegment {
public:
    virtual uint16_t GetVideoWidth() const { return gsp_io::Be16(m_b); }
    virtual uint16_t GetVideoHeight() const { return gsp_io::Be16(m_b + 2); }
    virtual uint8_t GetFrameRate() const { return m_b[4] >> 4; }
    virtual uint16_t GetCompositionNumber() const { return gsp_io::Be16(m_b + 5); }
    virtual uint8_t GetCompositionState() const { return m_b[7] >> 6; }
    virtual uint8_t GetPaletteUpdateFlag() const { return m_b[8] >> 7; }
    virtual uint8_t GetPaletteIdRef() const { return m_b[9]; }
    virtual uint8_t GetNumberOfCompositionObjects() const { return m_b[10]; }
    virtual uint32_t GetCompositionObjectCount() const { return static_cast<uint32_t>(m_objects.size()); }
    virtual const CGspObject* GetCompositionObject(uint32_t i) const { return gsp_io::At(m_objects, i); }
    virtual uint32_t GetVideoWidthOffset() const { return 3; }
    virtual uint32_t GetVideoHeightOffset() const { return 5; }
    virtual uint32_t GetFrameRateOffset() const { return 7; }
    virtual uint32_t GetCompositionNumberOffset() const { return 8; }
    virtual uint32_t GetCompositionStateOffset() const { return 10; }
    virtual uint32_t GetPaletteUpdateFlagOffset() const { return 11; }
    virtual uint32_t GetPaletteIdRefOffset() const { return 12; }
    virtual uint32_t GetNumberOfCompositionObjectsOffset() const { return 13; }
    virtual uint32_t GetCompositionObjectsOffset() const { return 14; }
    virtual uint32_t GetVideoWidthSize() const { return 2; }
    virtual uint32_t GetVideoHeightSize() const { return 2; }
    virtual uint32_t GetFrameRateSize() const { return 1; }
    virtual uint32_t GetCompositionNumberSize() const { return 2; }
    virtual uint32_t GetCompositionStateSize() const { return 1; }
    virtual uint32_t GetPaletteUpdateFlagSize() const { return 1; }
    virtual uint32_t GetPaletteIdRefSize() const { return 1; }
    virtual uint32_t GetNumberOfCompositionObjectsSize() const { return 1; }
    virtual uint32_t GetCompositionObjectsSize() const { return SizeAfter(14); }

protected:
    uint32_t GetParseExtent() const override { return GetSize() > 14 ? GetSize() + 15 : 14; }
    bool ParseBody(const uint8_t* bytes, uint32_t delivered) override;
    int ParseHeld(const uint8_t* data, uint32_t buffered) override { return ParseHeldHere(data, buffered); }

private:
    uint32_t SizeAfter(uint32_t offset) const { return GetSize() > offset ? GetSize() - offset : 0; }
    uint8_t m_b[11] = {};
    std::vector<std::unique_ptr<CGspObject>> m_objects;
    std::vector<std::unique_ptr<CGspObject>> m_spareObjects;  // reused by the next Parse
};
