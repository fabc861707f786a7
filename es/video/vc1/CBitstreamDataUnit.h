// Base of every VC-1 bitstream data unit: its type byte and its size in the file.
#pragma once

#include <cstdint>
#include <memory>

#include "input/CBinaryBuffer.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

// A BDU whose payload is not decoded; the subclasses read the syntax they need.
class CBitstreamDataUnit {
public:
    explicit CBitstreamDataUnit(uint8_t type = 0) : m_type(type) {}
    virtual ~CBitstreamDataUnit() = default;

    virtual std::unique_ptr<CBitstreamDataUnit> Clone() const;
    virtual bool Parse(CBinaryBuffer& buffer);
    virtual uint32_t GetSize() const { return m_size; }
    virtual uint8_t GetType() const { return m_type; }

    // Bytes from the first byte of this BDU's start code to the next start code (or where that search ended).
    void SetSize(uint32_t size) { m_size = size; }

protected:
    // Reads a field with the throwing bit read (the end of the file is the buffer's read exception).
    template <typename T>
    static void ReadField(CBinaryBuffer& buffer, T& field, uint32_t bits) {
        field = static_cast<T>(buffer.GetBits(bits));
    }

    CBitstreamDataUnit(const CBitstreamDataUnit&) = default;
    CBitstreamDataUnit& operator=(const CBitstreamDataUnit&) = default;

private:
    uint8_t m_type;
    uint32_t m_size = 0;
};

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
