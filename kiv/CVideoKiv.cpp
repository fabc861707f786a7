#include "kiv/CVideoKiv.h"

namespace ts_comp {
namespace kiv {

CVideoKiv::CVideoKiv() : CVideoKiv(kKivFileTypeVideo, kVideoItemSize) {}

CVideoKiv::CVideoKiv(uint32_t kivFileType, uint64_t itemSize) : CKiv(kivFileType, itemSize) {}

}  // namespace kiv
}  // namespace ts_comp
