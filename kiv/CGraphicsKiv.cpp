#include "kiv/CGraphicsKiv.h"

namespace ts_comp {
namespace kiv {

CGraphicsKiv::CGraphicsKiv() : CKiv(kKivFileTypeGraphics, kGraphicsItemSize) {}

}  // namespace kiv
}  // namespace ts_comp
