// One page of an interactive composition: header, in and out effects, button overlap groups.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "es/graphics/segments/CGspBOG.h"
#include "es/graphics/segments/CGspEffectSequence.h"

class CGspPage {
public:
    virtual ~CGspPage() = default;
    virtual bool Parse(CGspReader& in);
    virtual uint32_t GetSize() const;
    virtual uint8_t GetPageId() const { return m_pageId; }
    virtual uint8_t GetPageVersionNumber() const { return m_pageVersionNumber; }
    virtual uint64_t GetUoMaskTable() const { return m_uoMaskTable; }
    virtual const CGspEffectSequence* GetInEffects() const { return &m_inEffects; }
    virtual const CGspEffectSequence* GetOutEffects() const { return &m_outEffects; }
    virtual uint8_t GetAnimationFrameRateCode() const { return m_animationFrameRateCode; }
    virtual uint16_t GetDefaultSelectedButtonIdRef() const { return m_defaultSelectedButtonIdRef; }
    virtual uint16_t GetDefaultActivatedButtonIdRef() const { return m_defaultActivatedButtonIdRef; }
    virtual uint8_t GetPaletteIdRef() const { return m_paletteIdRef; }
    virtual uint8_t GetNumberOfBOGs() const { return m_numberOfBOGs; }
    virtual uint32_t GetBOGCount() const { return static_cast<uint32_t>(m_groups.size()); }
    virtual const CGspBOG* GetBOG(uint32_t i) const;

private:
    uint8_t m_pageId = 0;
    uint8_t m_pageVersionNumber = 0;
    uint64_t m_uoMaskTable = 0;
    CGspEffectSequence m_inEffects;
    CGspEffectSequence m_outEffects;
    uint8_t m_animationFrameRateCode = 0;
    uint16_t m_defaultSelectedButtonIdRef = 0;
    uint16_t m_defaultActivatedButtonIdRef = 0;
    uint8_t m_paletteIdRef = 0;
    uint8_t m_numberOfBOGs = 0;
    std::vector<std::unique_ptr<CGspBOG>> m_groups;
};
