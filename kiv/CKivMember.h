// One named bit field of a KIV item: id, position of its first bit, width and name.
#pragma once

#include <cstdint>

#include "foundation/CL_CString.h"

namespace ts_comp {
namespace kiv {

// Position counts from the least significant bit of the item's last byte.
class CKivMember {
public:
    CKivMember();
    CKivMember(uint64_t id, uint64_t bitPosition, uint64_t bitWidth, const char* name);
    CKivMember(const CKivMember& other);
    CKivMember& operator=(const CKivMember& other);
    virtual ~CKivMember();

    virtual void GetName(PRIVATE_LIBRARY::CL_CString& out);
    virtual uint64_t GetBitWidth();
    virtual uint64_t GetBitPosition();
    virtual uint64_t GetId();

    // Non-virtual access for the item's hot paths and for readers holding a const member.
    uint64_t Id() const { return m_id; }
    uint64_t BitPosition() const { return m_bitPosition; }
    uint64_t BitWidth() const { return m_bitWidth; }
    const char* Name() const { return m_name.GetString(); }

private:
    uint64_t m_id;
    uint64_t m_bitPosition;
    uint64_t m_bitWidth;
    PRIVATE_LIBRARY::CL_CString m_name;
};

}  // namespace kiv
}  // namespace ts_comp
