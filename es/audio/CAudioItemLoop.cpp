#include "es/audio/CAudioItemLoop.h"

#include "kiv/KivConstants.h"

namespace ts_comp {
namespace es {

CAudioItemLoop::CAudioItemLoop(CAudioEs& owner, uint64_t pts) : m_owner(owner), m_pts(pts) {}

bool CAudioItemLoop::Create(const char* kivPath) { return m_kiv.Create(kivPath); }

bool CAudioItemLoop::WriteEnd() { return Write(kiv::kEndItemType, 0, 0); }

}  // namespace es
}  // namespace ts_comp
