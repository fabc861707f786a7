#include "es/audio/IsMultiChannelCode.h"

namespace ts_comp {
namespace es {

bool IsMultiChannelCode(int code) { return code >= 30 || code % 10 != 0; }

}  // namespace es
}  // namespace ts_comp
