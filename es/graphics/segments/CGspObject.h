// One composition object: 8 bytes, or 16 when it carries a cropping rectangle.
#pragma once

#include <cstdint>

#include "es/graphics/segments/GspFileIo.h"

class CGspReader;

class CGspObject final {
public:
    virtual ~CGspObject() = default;
    virtual bool Parse(CGspReader& in);
    // The fields from the object's bytes (16 readable, the last 8 taken only when it is cropped).
    void Parse(const uint8_t* b) {
        m_objectIdRef = gsp_io::Be16(b);
        m_windowIdRef = b[2];
        m_objectCroppedFlag = static_cast<uint8_t>(b[3] >> 7);
        m_forcedOnFlag = static_cast<uint8_t>((b[3] >> 6) & 1u);
        m_horizontalPosition = gsp_io::Be16(b + 4);
        m_verticalPosition = gsp_io::Be16(b + 6);
        if (m_objectCroppedFlag == 0) {
            // An object without cropping has the rectangle of a new object (Parse may run on a reused one).
            m_croppingHorizontalPosition = m_croppingVerticalPosition = m_croppingWidth = m_croppingHeight = 0;
            return;
        }
        m_croppingHorizontalPosition = gsp_io::Be16(b + 8);
        m_croppingVerticalPosition = gsp_io::Be16(b + 10);
        m_croppingWidth = gsp_io::Be16(b + 12);
        m_croppingHeight = gsp_io::Be16(b + 14);
    }
    virtual uint32_t GetSize() const { return m_objectCroppedFlag ? 16 : 8; }
    virtual uint16_t GetObjectIdRef() const { return m_objectIdRef; }
    virtual uint8_t GetWindowIdRef() const { return m_windowIdRef; }
    virtual uint8_t GetObjectCroppedFlag() const { return m_objectCroppedFlag; }
    virtual uint8_t GetForcedOnFlag() const { return m_forcedOnFlag; }
    virtual uint16_t GetCompositionObjectHorizontalPosition() const { return m_horizontalPosition; }
    virtual uint16_t GetCompositionObjectVerticalPosition() const { return m_verticalPosition; }
    virtual uint16_t GetObjectCroppingHorizontalPosition() const { return m_croppingHorizontalPosition; }
    virtual uint16_t GetObjectCroppingVerticalPosition() const { return m_croppingVerticalPosition; }
    virtual uint16_t GetObjectCroppingWidth() const { return m_croppingWidth; }
    virtual uint16_t GetObjectCroppingHeight() const { return m_croppingHeight; }

private:
    uint16_t m_objectIdRef = 0;
    uint8_t m_windowIdRef = 0;
    uint8_t m_objectCroppedFlag = 0;
    uint8_t m_forcedOnFlag = 0;
    uint16_t m_horizontalPosition = 0;
    uint16_t m_verticalPosition = 0;
    uint16_t m_croppingHorizontalPosition = 0;
    uint16_t m_croppingVerticalPosition = 0;
    uint16_t m_croppingWidth = 0;
    uint16_t m_croppingHeight = 0;
};
