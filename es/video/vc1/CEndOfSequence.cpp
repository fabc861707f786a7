#include "es/video/vc1/CEndOfSequence.h"

#include "es/video/vc1/Vc1Constants.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

CEndOfSequence::CEndOfSequence() : CBitstreamDataUnit(kBduEndOfSequence) {}

std::unique_ptr<CBitstreamDataUnit> CEndOfSequence::Clone() const { return std::make_unique<CEndOfSequence>(*this); }

bool CEndOfSequence::Parse(CBinaryBuffer&) { return true; }

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
