#include "kiv/CMvcDependentViewVideoKivItem.h"

namespace ts_comp {
namespace kiv {

CMvcDependentViewVideoKivItem::CMvcDependentViewVideoKivItem()
    : CVideoKivItem(kKivFileTypeMvcDependentViewVideo, kMvcDependentViewVideoItemSize) {
    AddMembers(kMvcDependentViewMembers);
}

}  // namespace kiv
}  // namespace ts_comp
