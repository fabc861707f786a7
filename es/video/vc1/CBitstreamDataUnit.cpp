#include "es/video/vc1/CBitstreamDataUnit.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

std::unique_ptr<CBitstreamDataUnit> CBitstreamDataUnit::Clone() const {
    return std::unique_ptr<CBitstreamDataUnit>(new CBitstreamDataUnit(*this));
}

bool CBitstreamDataUnit::Parse(CBinaryBuffer&) { return false; }

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
