// One window of a window definition or an effect sequence (9 bytes).
#pragma once

#include <cstdint>

#include "es/graphics/segments/GspFileIo.h"

class CGspReader;

class CGspWindow final {
public:
    virtual ~CGspWindow() = default;
    virtual bool Parse(CGspReader& in);
    void Parse(const uint8_t* b) {
        m_windowId = b[0];
        m_horizontalPosition = gsp_io::Be16(b + 1);
        m_verticalPosition = gsp_io::Be16(b + 3);
        m_width = gsp_io::Be16(b + 5);
        m_height = gsp_io::Be16(b + 7);
    }
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
