#include "kiv/CGraphicsKivPackedItem.h"

namespace ts_comp {
namespace kiv {

bool CGraphicsKivPackedItem::WriteCopy(PRIVATE_LIBRARY::CL_CFile& file) const {
    uint8_t bytes[16];
    Store(bytes);
    return file.Write(bytes, kGraphicsItemSize) == kGraphicsItemSize;
}

}  // namespace kiv
}  // namespace ts_comp
