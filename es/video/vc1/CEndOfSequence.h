// End-of-sequence BDU (type 0x0A).
#pragma once

#include "es/video/vc1/CBitstreamDataUnit.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

// Carries no fields; its presence in a picture's unit closes the sequence.
class CEndOfSequence : public CBitstreamDataUnit {
public:
    CEndOfSequence();
    std::unique_ptr<CBitstreamDataUnit> Clone() const override;
    bool Parse(CBinaryBuffer& buffer) override;
};

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
