// Analyser of MPEG-2 video elementary streams: attributes, KIV items with time stamps, report and XML.
#pragma once

#include <cstdint>
#include <vector>

#include "es/CEs.h"

namespace ts_comp {
namespace es {

namespace mpeg2_video {
class CAccessUintInformationForMpeg2;
}

// Reads the sequence attributes on construction (throws CTsMuxException when they cannot be read).
class CVideoEs : public CEs {
public:
    explicit CVideoEs(const PRIVATE_LIBRARY::CL_CString& esPath);
    ~CVideoEs() override;

    bool CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) override;
    void GetReportText(PRIVATE_LIBRARY::CL_CString& out) override;
    void GetXmlText(PRIVATE_LIBRARY::CL_CString& out) override;
    virtual uint8_t GetProfileAndLevelIndication();

    // Period in 27 MHz ticks: a frame period for progressive sequences, a field period otherwise.
    static int64_t GetFramePeriod(uint8_t frameRateCode, uint8_t progressiveSequence);
    // Duration of picture p given the previous reference picture r (or none).
    static int64_t GetPictureDuration(const mpeg2_video::CAccessUintInformationForMpeg2& p,
                                      const mpeg2_video::CAccessUintInformationForMpeg2* r,
                                      uint8_t progressiveSequence, int64_t period, bool secondField);

private:
    bool ParseSequenceAttributes();

    uint8_t m_videoFormat = 0;
    uint8_t m_frameRate = 0;
    uint8_t m_aspectRatio = 0;
    uint16_t m_horizontalSize = 0;
    uint16_t m_verticalSize = 0;
    uint8_t m_aspectRatioInformation = 0;
    uint8_t m_frameRateCode = 0;
    uint32_t m_bitRate = 0;
    uint16_t m_vbvBufferSize = 0;
    uint8_t m_profile = 0;
    uint8_t m_level = 0;
    uint8_t m_progressiveSequence = 0;
};

}  // namespace es
}  // namespace ts_comp
