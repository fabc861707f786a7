// An in- or out-effect sequence of a page: its windows, then its effects.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "es/graphics/segments/CGspEffect.h"
#include "es/graphics/segments/CGspWindow.h"

class CGspEffectSequence {
public:
    virtual ~CGspEffectSequence() = default;
    virtual bool Parse(CGspReader& in);
    virtual uint32_t GetSize() const;
    virtual uint8_t GetNumberOfWindows() const { return m_numberOfWindows; }
    virtual uint32_t GetWindowCount() const { return static_cast<uint32_t>(m_windows.size()); }
    virtual const CGspWindow* GetWindow(uint32_t i) const;
    virtual uint8_t GetNumberOfEffects() const { return m_numberOfEffects; }
    virtual uint32_t GetEffectCount() const { return static_cast<uint32_t>(m_effects.size()); }
    virtual const CGspEffect* GetEffect(uint32_t i) const;

private:
    uint8_t m_numberOfWindows = 0;
    uint8_t m_numberOfEffects = 0;
    std::vector<std::unique_ptr<CGspWindow>> m_windows;
    std::vector<std::unique_ptr<CGspEffect>> m_effects;
};
