// One navigation command, kept as its 12 raw bytes.
#pragma once

#include <cstdint>

class CGspReader;

class CGspCommand {
public:
    virtual ~CGspCommand() = default;
    virtual bool Parse(CGspReader& in);
    virtual uint32_t GetSize() const { return 12; }
    virtual const uint8_t* GetCommand() const { return m_b; }

private:
    uint8_t m_b[12] = {};
};
