// One navigation command, kept as its 12 raw bytes.
#pragma once

#include <cstdint>

namespace PRIVATE_LIBRARY { class CL_CFile; }

class CGspCommand {
public:
    virtual ~CGspCommand() = default;
    virtual bool Parse(PRIVATE_LIBRARY::CL_CFile* file);
    virtual uint32_t GetSize() const { return 12; }
    virtual const uint8_t* GetCommand() const { return m_b; }

private:
    uint8_t m_b[12] = {};
};
