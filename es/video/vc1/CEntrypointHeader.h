// Entry-point header BDU (type 0x0E).
#pragma once

#include <vector>

#include "es/video/vc1/CBitstreamDataUnit.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

class CSequenceHeader;

// Entry-point fields; the HRD fullness list follows the sequence header's leaky buckets.
class CEntrypointHeader : public CBitstreamDataUnit {
public:
    CEntrypointHeader();
    std::unique_ptr<CBitstreamDataUnit> Clone() const override;
    // Throws the bit buffer's read exception at the end of the file; false without a sequence header.
    virtual bool ParseWithSequenceHeader(CBinaryBuffer& buffer, const CSequenceHeader* sequenceHeader);

    uint8_t BROKEN_LINK = 0;
    uint8_t CLOSED_ENTRY = 0;
    uint8_t PANSCAN_FLAG = 0;
    uint8_t REFDIST_FLAG = 0;
    uint8_t LOOPFILTER = 0;
    uint8_t FASTUVMC = 0;
    uint8_t EXTENDED_MV = 0;
    uint8_t DQUANT = 0;
    uint8_t VSTRANSFORM = 0;
    uint8_t OVERLAP = 0;
    uint8_t QUANTIZER = 0;
    std::vector<uint8_t> HRD_FULL;
    uint8_t CODED_SIZE_FLAG = 0;
    uint16_t CODED_WIDTH = 0;
    uint16_t CODED_HEIGHT = 0;
    uint8_t EXTENDED_DMV = 0;
    uint8_t RANGE_MAPY_FLAG = 0;
    uint8_t RANGE_MAPY = 0;
    uint8_t RANGE_MAPUV_FLAG = 0;
    uint8_t RANGE_MAPUV = 0;
};

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
