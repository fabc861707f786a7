// One button overlap group: 3 bytes and its buttons.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "es/graphics/segments/CGspButton.h"

class CGspBOG {
public:
    virtual ~CGspBOG() = default;
    virtual bool Parse(CGspReader& in);
    virtual uint32_t GetSize() const;
    virtual uint16_t GetDefaultValidButtonIdRef() const { return m_defaultValidButtonIdRef; }
    virtual uint8_t GetNumberOfButtons() const { return m_numberOfButtons; }
    virtual uint32_t GetButtonCount() const { return static_cast<uint32_t>(m_buttons.size()); }
    virtual const CGspButton* GetButton(uint32_t i) const;

private:
    uint16_t m_defaultValidButtonIdRef = 0;
    uint8_t m_numberOfButtons = 0;
    std::vector<std::unique_ptr<CGspButton>> m_buttons;
};
