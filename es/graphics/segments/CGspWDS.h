// Window definition segment (0x17).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "es/graphics/segments/CGspSegment.h"
#include "es/graphics/segments/CGspWindow.h"
#include "es/graphics/segments/GspFileIo.h"

class CGspWDS final : public CGspSegment {
public:
    virtual uint8_t GetNumberOfWindows() const { return m_numberOfWindows; }
    virtual uint32_t GetWindowCount() const { return static_cast<uint32_t>(m_windows.size()); }
    virtual const CGspWindow* GetWindow(uint32_t i) const { return gsp_io::At(m_windows, i); }
    virtual uint32_t GetNumberOfWindowsOffset() const { return 3; }
    virtual uint32_t GetWindowsOffset() const { return 4; }
    virtual uint32_t GetNumberOfWindowsSize() const { return 1; }
    virtual uint32_t GetWindowsSize() const { return GetSize() > 4 ? GetSize() - 4 : 0; }

protected:
    uint32_t GetParseExtent() const override { return GetSize() > 4 ? GetSize() + 8 : 4; }
    bool ParseBody(const uint8_t* bytes, uint32_t delivered) override;
    int ParseHeld(const uint8_t* data, uint32_t buffered) override { return ParseHeldHere(data, buffered); }

private:
    uint8_t m_numberOfWindows = 0;
    std::vector<std::unique_ptr<CGspWindow>> m_windows;
    std::vector<std::unique_ptr<CGspWindow>> m_spareWindows;  // reused by the next Parse
};
