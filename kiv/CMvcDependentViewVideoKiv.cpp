#include "kiv/CMvcDependentViewVideoKiv.h"

namespace ts_comp {
namespace kiv {

CMvcDependentViewVideoKiv::CMvcDependentViewVideoKiv()
    : CVideoKiv(kKivFileTypeMvcDependentViewVideo, kMvcDependentViewVideoItemSize) {}

}  // namespace kiv
}  // namespace ts_comp
