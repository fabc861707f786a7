// One effect of an effect sequence: 5 bytes and its composition objects.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "es/graphics/segments/CGspObject.h"

class CGspEffect {
public:
    virtual ~CGspEffect() = default;
    virtual bool Parse(CGspReader& in);
    virtual uint32_t GetSize() const;
    virtual uint32_t GetEffectDuration() const { return m_effectDuration; }
    virtual uint8_t GetPaletteIdRef() const { return m_paletteIdRef; }
    virtual uint8_t GetNumberOfCompositionObjects() const { return m_numberOfCompositionObjects; }
    virtual uint32_t GetCompositionObjectCount() const { return static_cast<uint32_t>(m_objects.size()); }
    virtual const CGspObject* GetCompositionObject(uint32_t i) const;

private:
    uint32_t m_effectDuration = 0;
    uint8_t m_paletteIdRef = 0;
    uint8_t m_numberOfCompositionObjects = 0;
    std::vector<std::unique_ptr<CGspObject>> m_objects;
};
