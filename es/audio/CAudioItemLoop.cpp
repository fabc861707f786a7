#include "es/audio/CAudioItemLoop.h"

#include "kiv/KivConstants.h"

namespace ts_comp {
namespace es {

CAudioItemLoop::CAudioItemLoop(CAudioEs& owner, uint64_t pts) : m_owner(owner), m_pts(pts) {}

bool CAudioItemLoop::Create(const char* kivPath) { return m_kiv.Create(kivPath); }

bool CAudioItemLoop::Write(uint64_t itemType, uint64_t itemSize, uint64_t dts) {
    m_item.SetCommonValues(itemType, itemSize, dts, m_pts);
    return m_kiv.WriteItem(m_item);
}

bool CAudioItemLoop::WriteUnit(uint8_t itemType, uint32_t itemSize, uint64_t dts) {
    if (!Write(itemType, itemSize, dts)) return false;
    CountUnit(itemSize);
    return true;
}

void CAudioItemLoop::CountUnit(uint64_t bytes) {
    m_processedBytes += static_cast<int64_t>(bytes);
    m_owner.NotifyUnit(m_processedBytes, m_owner.m_sourceName, __LINE__);
}

bool CAudioItemLoop::WriteEnd() { return Write(kiv::kEndItemType, 0, 0); }

}  // namespace es
}  // namespace ts_comp
