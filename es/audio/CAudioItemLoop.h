// The item loop of the audio analysers: one audio KIV item per access unit and the terminating item.
#pragma once

#include <cstdint>

#include "es/audio/CAudioEs.h"
#include "kiv/CAudioKiv.h"
#include "kiv/CAudioKivPackedItem.h"

namespace ts_comp {
namespace es {

// Owns the writer and the one reused item of a CreateKiv call, the running time stamp and the byte count.
class CAudioItemLoop {
public:
    CAudioItemLoop(CAudioEs& owner, uint64_t pts);
    CAudioItemLoop(const CAudioItemLoop&) = delete;
    CAudioItemLoop& operator=(const CAudioItemLoop&) = delete;

    // Creates the KIV file; false when it cannot be created.
    bool Create(const char* kivPath);

    uint64_t GetPts() const { return m_pts; }
    void SetPts(uint64_t pts) { m_pts = pts; }
    void AdvancePts(uint64_t ticks) { m_pts += ticks; }
    int64_t GetProcessedBytes() const { return m_processedBytes; }

    // Writes one access unit at the running time stamp (dts = pts), then counts its bytes and polls the
    // owner's notice, which throws "abort end." when the host aborted. False when the write failed.
    bool WriteUnit(uint8_t itemType, uint32_t itemSize) { return WriteUnit(itemType, itemSize, m_pts); }
    // The same with a decoding time stamp of its own.
    bool WriteUnit(uint8_t itemType, uint32_t itemSize, uint64_t dts) {
        if (!Write(itemType, itemSize, dts)) return false;
        CountUnit(itemSize);
        return true;
    }
    // The two halves of WriteUnit for an analyser with work between them: the item alone (dts = pts), then
    // the count and the poll.
    bool WriteItem(uint8_t itemType, uint32_t itemSize) { return Write(itemType, itemSize, m_pts); }
    void CountUnit(uint64_t bytes) {
        m_processedBytes += static_cast<int64_t>(bytes);
        m_owner.NotifyUnit(m_processedBytes, m_owner.m_sourceName, __LINE__);
    }
    // Writes the terminating item (type 255, size 0, dts 0, pts the running time stamp); no poll follows.
    bool WriteEnd();

private:
    // Inline with the writer and the item, whose classes are known here, so no call is virtual.
    bool Write(uint64_t itemType, uint64_t itemSize, uint64_t dts) {
        m_item.Set(itemType, itemSize, dts, m_pts);
        return m_kiv.WriteFinalItem(m_item);
    }

    CAudioEs& m_owner;
    kiv::CAudioKiv m_kiv;
    kiv::CAudioKivPackedItem m_item;
    uint64_t m_pts;
    int64_t m_processedBytes = 0;
};

}  // namespace es
}  // namespace ts_comp
