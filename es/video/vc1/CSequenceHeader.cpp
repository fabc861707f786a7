#include "es/video/vc1/CSequenceHeader.h"

#include "es/video/vc1/Vc1Constants.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

CSequenceHeader::CSequenceHeader() : CBitstreamDataUnit(kBduSequenceHeader) {}

std::unique_ptr<CBitstreamDataUnit> CSequenceHeader::Clone() const { return std::make_unique<CSequenceHeader>(*this); }

bool CSequenceHeader::Parse(CBinaryBuffer& b) {
    ReadField(b, PROFILE, 2);
    ReadField(b, LEVEL, 3);
    ReadField(b, COLORDIFF_FORMAT, 2);
    ReadField(b, FRMRTQ_POSTPROC, 3);
    ReadField(b, BITRTQ_POSTPROC, 5);
    ReadField(b, POSTPROCFLAG, 1);
    ReadField(b, MAX_CODED_WIDTH, 12);
    ReadField(b, MAX_CODED_HEIGHT, 12);
    ReadField(b, PULLDOWN, 1);
    ReadField(b, INTERLACE, 1);
    ReadField(b, TFCNTRFLAG, 1);
    ReadField(b, FINTERPFLAG, 1);
    ReadField(b, RESERVED, 1);
    ReadField(b, PSF, 1);
    ReadField(b, DISPLAY_EXT, 1);
    if (DISPLAY_EXT == 1) {
        ReadField(b, DISP_HORIZ_SIZE, 14);
        ReadField(b, DISP_VERT_SIZE, 14);
        ReadField(b, ASPECT_RATIO_FLAG, 1);
        if (ASPECT_RATIO_FLAG == 1) {
            ReadField(b, ASPECT_RATIO, 4);
            if (ASPECT_RATIO == 15) {
                ReadField(b, ASPECT_HORIZ_SIZE, 8);
                ReadField(b, ASPECT_VERT_SIZE, 8);
            }
        }
        ReadField(b, FRAMERATE_FLAG, 1);
        if (FRAMERATE_FLAG == 1) {
            ReadField(b, FRAMERATEIND, 1);
            if (FRAMERATEIND == 0) {
                ReadField(b, FRAMERATENR, 8);
                ReadField(b, FRAMERATEDR, 4);
            } else {
                ReadField(b, FRAMERATEEXP, 16);
            }
        }
        ReadField(b, COLOR_FORMAT_FLAG, 1);
        if (COLOR_FORMAT_FLAG == 1) {
            ReadField(b, COLOR_PRIM, 8);
            ReadField(b, TRANSFER_CHAR, 8);
            ReadField(b, MATRIX_COEF, 8);
        }
    }
    ReadField(b, HRD_PARAM_FLAG, 1);
    if (HRD_PARAM_FLAG == 1) HRD_PARAM.Parse(b);
    return true;
}

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
