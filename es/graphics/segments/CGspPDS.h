// Palette definition segment (0x14).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "es/graphics/segments/CGspPalette.h"
#include "es/graphics/segments/CGspSegment.h"

class CGspPDS final : public CGspSegment {
public:
    virtual uint8_t GetPaletteId() const { return m_b[0]; }
    virtual uint8_t GetPaletteVersionNumber() const { return m_b[1]; }
    virtual uint32_t GetPaletteEntryCount() const { return static_cast<uint32_t>(m_entries.size()); }
    virtual const CGspPalette* GetPaletteEntry(uint32_t i) const;
    virtual uint32_t GetPaletteIdOffset() const { return 3; }
    virtual uint32_t GetPaletteVersionNumberOffset() const { return 4; }
    virtual uint32_t GetPaletteEntriesOffset() const { return 5; }
    virtual uint32_t GetPaletteIdSize() const { return 1; }
    virtual uint32_t GetPaletteVersionNumberSize() const { return 1; }
    virtual uint32_t GetPaletteEntriesSize() const { return GetSize() > 5 ? GetSize() - 5 : 0; }

protected:
    uint32_t GetParseExtent() const override { return GetSize() > 5 ? GetSize() + 4 : 5; }
    bool ParseBody(const uint8_t* bytes, uint32_t delivered) override;
    int ParseHeld(const uint8_t* data, uint32_t buffered) override { return ParseHeldHere(data, buffered); }

private:
    uint8_t m_b[2] = {};
    std::vector<std::unique_ptr<CGspPalette>> m_entries;
    std::vector<std::unique_ptr<CGspPalette>> m_spareEntries;  // reused by the next Parse
};
