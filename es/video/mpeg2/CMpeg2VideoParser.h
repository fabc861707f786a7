// Splits an MPEG-2 video elementary stream into access units, one per coded picture, in coded order.
#pragma once

#include <memory>

#include "es/video/mpeg2/CAccessUintInformationForMpeg2.h"
#include "input/CBinaryBuffer.h"

namespace ts_comp {
namespace es {
namespace mpeg2_video {

// Start-code scan over a plain bit buffer; none from GetNextAccessUnit ends the stream.
class CMpeg2VideoParser {
public:
    CMpeg2VideoParser() = default;
    CMpeg2VideoParser(const CMpeg2VideoParser&) = delete;
    CMpeg2VideoParser& operator=(const CMpeg2VideoParser&) = delete;
    virtual ~CMpeg2VideoParser();

    virtual bool Open(const char* path);
    virtual std::unique_ptr<CAccessUintInformationForMpeg2> GetNextAccessUnit();

private:
    bool FindStartCodePrefix();

    CBinaryBuffer m_buffer;
};

}  // namespace mpeg2_video
}  // namespace es
}  // namespace ts_comp
