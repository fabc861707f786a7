// Table of the decoded objects of the current epoch, one slot per possible object id.
#pragma once

#include <cstdint>
#include <vector>

#include "es/graphics/display_set/ST_ODS.h"

namespace ts_comp { namespace es { namespace graphics_stream {

class CDecodedObjectBuffer {
public:
    // All slots are allocated here, once (64 for presentation, 4096 for interactive graphics).
    explicit CDecodedObjectBuffer(uint32_t slotCount);
    uint32_t GetSlotCount() const { return static_cast<uint32_t>(m_slots.size()); }
    // Copies the record into the slot of its object_id; false when the id has no slot.
    bool Store(const ST_ODS& record) {
        if (record.object_id >= m_slots.size()) return false;
        Slot& slot = m_slots[record.object_id];
        slot.used = true;
        slot.record = record;
        return true;
    }
    // The stored record of an object id, or null when the slot is unused or the id has no slot.
    const ST_ODS* Find(uint32_t objectId) const {
        if (objectId >= m_slots.size() || !m_slots[objectId].used) return nullptr;
        return &m_slots[objectId].record;
    }
    // Marks every slot unused.
    void ClearUsed();

private:
    struct Slot {
        bool used = false;
        ST_ODS record;
    };
    std::vector<Slot> m_slots;
};

}}}  // namespace ts_comp::es::graphics_stream
