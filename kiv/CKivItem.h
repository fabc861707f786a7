// One fixed-size, bit-packed KIV item whose fields are set and read by id.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "foundation/CL_CFile.h"
#include "kiv/CKivMember.h"
#include "kiv/KivConstants.h"

namespace ts_comp {
namespace kiv {

// Base of the four item classes; starts zero-filled with the five fields every item has.
class CKivItem {
public:
    CKivItem(uint32_t itemType, uint32_t itemSize);
    CKivItem(const CKivItem& other);
    CKivItem& operator=(const CKivItem& other);
    virtual ~CKivItem();

    virtual uint64_t GetValue(uint64_t id);
    virtual void AddMember(uint64_t id, const char* name, uint64_t bitWidth);
    virtual uint32_t GetItemType();
    virtual bool WriteTo(PRIVATE_LIBRARY::CL_CFile& file);
    virtual bool ReadFrom(PRIVATE_LIBRARY::CL_CFile& file);

    void SetValue(uint64_t id, uint64_t value);
    bool FindMember(uint64_t id, CKivMember& out) const;

    // The member table in packing order, the item size and the packed bytes.
    size_t GetMemberCount() const { return m_members.size(); }
    const CKivMember& GetMemberAt(size_t index) const { return m_members[index]; }
    uint32_t GetItemSize() const { return m_itemSize; }
    const uint8_t* GetBytes() const { return m_buffer.data(); }

protected:
    // Adds a table of members in order (used by the derived constructors).
    template <size_t N>
    void AddMembers(const KivMemberRow (&table)[N]) {
        for (const KivMemberRow& row : table) AddMember(row.id, row.name, row.bitWidth);
    }

private:
    const CKivMember* Lookup(uint64_t id) const;

    uint64_t m_nextBitPosition;
    uint32_t m_itemType;
    uint32_t m_itemSize;
    std::vector<uint8_t> m_buffer;
    std::vector<CKivMember> m_members;
};

}  // namespace kiv
}  // namespace ts_comp
