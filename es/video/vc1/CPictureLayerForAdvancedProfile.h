// Frame BDU (type 0x0D) of an advanced-profile stream: the first fields of its picture header.
#pragma once

#include "es/video/vc1/CBitstreamDataUnit.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

class CSequenceHeader;

// Frame coding mode, picture type and the repeat/field flags; every field is 0 until read.
class CPictureLayerForAdvancedProfile : public CBitstreamDataUnit {
public:
    CPictureLayerForAdvancedProfile();
    std::unique_ptr<CBitstreamDataUnit> Clone() const override;
    // Stops with false at the first field cut off by the end of the file (or without a sequence header).
    virtual bool ParseWithSequenceHeader(CBinaryBuffer& buffer, const CSequenceHeader* sequenceHeader);

    uint8_t FCM = 0;     // 0 progressive, 2 frame interlace, 3 field interlace
    uint8_t PTYPE = 0;   // variable-length code left-aligned in 4 bits
    uint8_t FPTYPE = 0;  // field-pair type when FCM is 3
    uint8_t TFCNTR = 0;
    uint8_t RPTFRM = 0;
    uint8_t TFF = 0;
    uint8_t RFF = 0;
};

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
