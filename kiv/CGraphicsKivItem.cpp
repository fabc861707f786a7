#include "kiv/CGraphicsKivItem.h"

namespace ts_comp {
namespace kiv {

CGraphicsKivItem::CGraphicsKivItem() : CKivItem(kKivFileTypeGraphics, kGraphicsItemSize) {
    AddMembers(kGraphicsMembers);
}

}  // namespace kiv
}  // namespace ts_comp
