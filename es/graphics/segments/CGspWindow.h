// One window of a window definition or an effect sequence (9 bytes).
#pragma once

#include <cstdint>

class CGspReader;

class CGspWindow final {
public:
    virtual ~CGspWindow() = default;
    virtual bool Parse(CGspReader& in);
    void Parse(const uint8_t* bytes);
    virtual uint32_t GetSize() const { return 9; }
    virtual uint8_t GetWindowId() const { return m_windowId; }
    virtual uint16_t GetWindowHorizontalPosition() const { return m_horizontalPosition; }
    virtual uint16_t GetWindowVerticalPosition() const { return m_verticalPosition; }
    virtual uint16_t GetWindowWidth() const { return m_width; }
    virtual uint16_t GetWindowHeight() const { return m_height; }

private:
    uint8_t m_windowId = 0;
    uint16_t m_horizontalPosition = 0;
    uint16_t m_verticalPosition = 0;
    uint16_t m_width = 0;
    uint16_t m_height = 0;
};
