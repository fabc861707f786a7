#include "es/graphics/segments/CGspButton.h"

#include "es/graphics/segments/CGspReader.h"
#include "es/graphics/segments/GspFileIo.h"

using gsp_io::Be16;

bool CGspButton::Parse(CGspReader& in) {
    const bool whole = in.Read(m_b, 35) == 35;
    return gsp_io::ReadCounted(in, GetNumberOfNavigationCommands(), m_commands) && whole;
}

uint32_t CGspButton::GetSize() const { return 35 + gsp_io::SumSizes(m_commands); }
uint16_t CGspButton::GetButtonId() const { return Be16(m_b); }
uint16_t CGspButton::GetButtonNumericSelectValue() const { return Be16(m_b + 2); }
uint16_t CGspButton::GetButtonHorizontalPosition() const { return Be16(m_b + 5); }
uint16_t CGspButton::GetButtonVerticalPosition() const { return Be16(m_b + 7); }
uint16_t CGspButton::GetUpperButtonIdRef() const { return Be16(m_b + 9); }
uint16_t CGspButton::GetLowerButtonIdRef() const { return Be16(m_b + 11); }
uint16_t CGspButton::GetLeftButtonIdRef() const { return Be16(m_b + 13); }
uint16_t CGspButton::GetRightButtonIdRef() const { return Be16(m_b + 15); }
uint16_t CGspButton::GetNormalStartObjectIdRef() const { return Be16(m_b + 17); }
uint16_t CGspButton::GetNormalEndObjectIdRef() const { return Be16(m_b + 19); }
uint16_t CGspButton::GetSelectedStartObjectIdRef() const { return Be16(m_b + 23); }
uint16_t CGspButton::GetSelectedEndObjectIdRef() const { return Be16(m_b + 25); }
uint16_t CGspButton::GetActivatedStartObjectIdRef() const { return Be16(m_b + 29); }
uint16_t CGspButton::GetActivatedEndObjectIdRef() const { return Be16(m_b + 31); }
uint16_t CGspButton::GetNumberOfNavigationCommands() const { return Be16(m_b + 33); }
const CGspCommand* CGspButton::GetCommand(uint32_t i) const { return gsp_io::At(m_commands, i); }
