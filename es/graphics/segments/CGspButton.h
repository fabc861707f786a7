// One button of a button overlap group: 35 bytes and its navigation commands.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "es/graphics/segments/CGspCommand.h"

class CGspButton {
public:
    virtual ~CGspButton() = default;
    virtual bool Parse(CGspReader& in);
    virtual uint32_t GetSize() const;
    virtual uint16_t GetButtonId() const;
    virtual uint16_t GetButtonNumericSelectValue() const;
    virtual uint8_t GetAutoActionFlag() const { return m_b[4] >> 7; }
    virtual uint16_t GetButtonHorizontalPosition() const;
    virtual uint16_t GetButtonVerticalPosition() const;
    virtual uint16_t GetUpperButtonIdRef() const;
    virtual uint16_t GetLowerButtonIdRef() const;
    virtual uint16_t GetLeftButtonIdRef() const;
    virtual uint16_t GetRightButtonIdRef() const;
    virtual uint16_t GetNormalStartObjectIdRef() const;
    virtual uint16_t GetNormalEndObjectIdRef() const;
    virtual uint8_t GetNormalRepeatFlag() const { return m_b[21] >> 7; }
    virtual uint8_t GetNormalCompleteFlag() const { return (m_b[21] >> 6) & 1u; }
    virtual uint8_t GetSelectedStateSoundIdRef() const { return m_b[22]; }
    virtual uint16_t GetSelectedStartObjectIdRef() const;
    virtual uint16_t GetSelectedEndObjectIdRef() const;
    virtual uint8_t GetSelectedRepeatFlag() const { return m_b[27] >> 7; }
    virtual uint8_t GetSelectedCompleteFlag() const { return (m_b[27] >> 6) & 1u; }
    virtual uint8_t GetActivatedStateSoundIdRef() const { return m_b[28]; }
    virtual uint16_t GetActivatedStartObjectIdRef() const;
    virtual uint16_t GetActivatedEndObjectIdRef() const;
    virtual uint16_t GetNumberOfNavigationCommands() const;
    virtual uint32_t GetCommandCount() const { return static_cast<uint32_t>(m_commands.size()); }
    virtual const CGspCommand* GetCommand(uint32_t i) const;

private:
    uint8_t m_b[35] = {};
    std::vector<std::unique_ptr<CGspCommand>> m_commands;
};
