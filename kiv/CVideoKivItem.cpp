#include "kiv/CVideoKivItem.h"

namespace ts_comp {
namespace kiv {

CVideoKivItem::CVideoKivItem() : CVideoKivItem(kKivFileTypeVideo, kVideoItemSize) {}

CVideoKivItem::CVideoKivItem(uint32_t itemType, uint32_t itemSize) : CKivItem(itemType, itemSize) {
    AddMembers(kVideoMembers);
}

}  // namespace kiv
}  // namespace ts_comp
