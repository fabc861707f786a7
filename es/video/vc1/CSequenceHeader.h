// Advanced-profile sequence header BDU (type 0x0F).
#pragma once

#include "es/video/vc1/CBitstreamDataUnit.h"
#include "es/video/vc1/CHRD_PARAM.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

// The sequence-level fields up to the HRD parameters; fields absent from the stream stay 0.
class CSequenceHeader : public CBitstreamDataUnit {
public:
    CSequenceHeader();
    std::unique_ptr<CBitstreamDataUnit> Clone() const override;
    // Throws the bit buffer's read exception at the end of the file.
    bool Parse(CBinaryBuffer& buffer) override;

    uint8_t PROFILE = 0;
    uint8_t LEVEL = 0;
    uint8_t COLORDIFF_FORMAT = 0;
    uint8_t FRMRTQ_POSTPROC = 0;
    uint8_t BITRTQ_POSTPROC = 0;
    uint8_t POSTPROCFLAG = 0;
    uint16_t MAX_CODED_WIDTH = 0;
    uint16_t MAX_CODED_HEIGHT = 0;
    uint8_t PULLDOWN = 0;
    uint8_t INTERLACE = 0;
    uint8_t TFCNTRFLAG = 0;
    uint8_t FINTERPFLAG = 0;
    uint8_t RESERVED = 0;
    uint8_t PSF = 0;
    uint8_t DISPLAY_EXT = 0;
    uint16_t DISP_HORIZ_SIZE = 0;
    uint16_t DISP_VERT_SIZE = 0;
    uint8_t ASPECT_RATIO_FLAG = 0;
    uint8_t ASPECT_RATIO = 0;
    uint8_t ASPECT_HORIZ_SIZE = 0;
    uint8_t ASPECT_VERT_SIZE = 0;
    uint8_t FRAMERATE_FLAG = 0;
    uint8_t FRAMERATEIND = 0;
    uint8_t FRAMERATENR = 0;
    uint8_t FRAMERATEDR = 0;
    uint16_t FRAMERATEEXP = 0;
    uint8_t COLOR_FORMAT_FLAG = 0;
    uint8_t COLOR_PRIM = 0;
    uint8_t TRANSFER_CHAR = 0;
    uint8_t MATRIX_COEF = 0;
    uint8_t HRD_PARAM_FLAG = 0;
    CHRD_PARAM HRD_PARAM;
};

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
