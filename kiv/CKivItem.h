// One fixed-size, bit-packed KIV item whose fields are set and read by id.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

    // Inline for the fields that fit one 64-bit window (all of the standard tables); the rest walk bits.
    void SetValue(uint64_t id, uint64_t value) {
        if (id < kDirectIds && m_slotById[id] >= 0) {
            const FieldWindow& w = m_windows[m_slotById[id]];
            if (w.fits) {
                uint8_t* bytes = m_buffer.data() + w.first;
                const uint64_t window = LoadWindow(bytes);
                StoreWindow(bytes, (window & ~(w.mask << w.shift)) | ((value & w.mask) << w.shift));
                return;
            }
        }
        SetValueSlow(id, value);
    }
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
    // Where a member's bits lie when they fit the 8 bytes read big-endian from byte `first`.
    struct FieldWindow {
        uint32_t first;
        uint32_t shift;
        uint64_t mask;
        bool fits;
    };
    // Ids below this bound find their member through m_slotById instead of a search.
    static constexpr uint64_t kDirectIds = 16;

    // The 8 bytes at `bytes` as a big-endian number, and back.
    static uint64_t LoadWindow(const uint8_t* bytes) {
        uint64_t value;
        std::memcpy(&value, bytes, sizeof value);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        value = __builtin_bswap64(value);
#endif
        return value;
    }
    static void StoreWindow(uint8_t* bytes, uint64_t value) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        value = __builtin_bswap64(value);
#endif
        std::memcpy(bytes, &value, sizeof value);
    }

    const CKivMember* Lookup(uint64_t id, const FieldWindow** window) const;
    void SetValueSlow(uint64_t id, uint64_t value);
    void SetBits(const CKivMember& member, uint64_t value);
    uint64_t GetBits(const CKivMember& member) const;

    uint64_t m_nextBitPosition;
    uint32_t m_itemType;
    uint32_t m_itemSize;
    std::vector<uint8_t> m_buffer;  // the item's bytes, then 8 bytes of slack for window access
    std::vector<CKivMember> m_members;
    std::vector<FieldWindow> m_windows;  // one per member
    std::array<int8_t, kDirectIds> m_slotById;
};

}  // namespace kiv
}  // namespace ts_comp
