#include "es/audio/CAudioEs.h"

namespace ts_comp {
namespace es {

CAudioEs::CAudioEs(const PRIVATE_LIBRARY::CL_CString& esPath, const char* sourceName)
    : CEs(esPath), m_sourceName(sourceName) {}

}  // namespace es
}  // namespace ts_comp
