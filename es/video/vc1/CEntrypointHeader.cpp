#include "es/video/vc1/CEntrypointHeader.h"

#include "es/video/vc1/CSequenceHeader.h"
#include "es/video/vc1/Vc1Constants.h"

namespace ts_comp {
namespace es {
namespace vc1_video {

CEntrypointHeader::CEntrypointHeader() : CBitstreamDataUnit(kBduEntryPoint) {}

std::unique_ptr<CBitstreamDataUnit> CEntrypointHeader::Clone() const {
    return std::make_unique<CEntrypointHeader>(*this);
}

bool CEntrypointHeader::ParseWithSequenceHeader(CBinaryBuffer& b, const CSequenceHeader* sequenceHeader) {
    if (sequenceHeader == nullptr) return false;
    ReadField(b, BROKEN_LINK, 1);
    ReadField(b, CLOSED_ENTRY, 1);
    ReadField(b, PANSCAN_FLAG, 1);
    ReadField(b, REFDIST_FLAG, 1);
    ReadField(b, LOOPFILTER, 1);
    ReadField(b, FASTUVMC, 1);
    ReadField(b, EXTENDED_MV, 1);
    ReadField(b, DQUANT, 2);
    ReadField(b, VSTRANSFORM, 1);
    ReadField(b, OVERLAP, 1);
    ReadField(b, QUANTIZER, 2);
    HRD_FULL.clear();
    if (sequenceHeader->HRD_PARAM_FLAG == 1) {
        for (uint32_t n = 0; n < sequenceHeader->HRD_PARAM.HRD_NUM_LEAKY_BUCKETS; ++n) {
            HRD_FULL.push_back(static_cast<uint8_t>(b.GetBits(8)));
        }
    }
    ReadField(b, CODED_SIZE_FLAG, 1);
    if (CODED_SIZE_FLAG == 1) {
        ReadField(b, CODED_WIDTH, 12);
        ReadField(b, CODED_HEIGHT, 12);
    }
    if (EXTENDED_MV == 1) ReadField(b, EXTENDED_DMV, 1);
    ReadField(b, RANGE_MAPY_FLAG, 1);
    if (RANGE_MAPY_FLAG == 1) ReadField(b, RANGE_MAPY, 3);
    ReadField(b, RANGE_MAPUV_FLAG, 1);
    if (RANGE_MAPUV_FLAG == 1) ReadField(b, RANGE_MAPUV, 3);
    return true;
}

}  // namespace vc1_video
}  // namespace es
}  // namespace ts_comp
