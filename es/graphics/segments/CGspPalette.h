// One palette entry (5 bytes).
#pragma once

#include <cstdint>
#include <cstring>

class CGspPalette final {
public:
    virtual ~CGspPalette() = default;
    void Parse(const uint8_t* bytes) { std::memcpy(m_b, bytes, sizeof m_b); }
    virtual uint32_t GetSize() const { return 5; }
    virtual uint8_t GetPaletteEntryId() const { return m_b[0]; }
    virtual uint8_t GetY() const { return m_b[1]; }
    virtual uint8_t GetCr() const { return m_b[2]; }
    virtual uint8_t GetCb() const { return m_b[3]; }
    virtual uint8_t GetT() const { return m_b[4]; }

private:
    uint8_t m_b[5] = {0, 0, 0, 0, 0};
};
