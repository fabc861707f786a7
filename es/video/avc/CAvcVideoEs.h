// Analyser of AVC video and of the MVC dependent view: attributes, KIV items with time stamps from the
// buffering-period and picture-timing SEI, report and XML.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "es/CEs.h"

namespace ts_comp {
namespace es {

namespace avc_video {
class CAccessUintInformation;
}

// Reads the attributes of the first access unit on construction (throws CTsMuxException when it cannot).
class CAvcVideoEs : public CEs {
public:
    explicit CAvcVideoEs(const PRIVATE_LIBRARY::CL_CString& esPath);
    ~CAvcVideoEs() override;

    bool CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) override;
    void GetReportText(PRIVATE_LIBRARY::CL_CString& out) override;
    void GetXmlText(PRIVATE_LIBRARY::CL_CString& out) override;

    uint8_t GetVideoFormatCode() const;
    uint8_t GetFrameRateCode() const;
    uint8_t GetAspectRatioCode() const;

private:
    bool ParseStreamAttributes();
    bool CheckFirstAccessUnit();
    bool IndexAccessUnits(const char* kivPath, const std::vector<uint64_t>& startPtsList);
    [[noreturn]] void ThrowContentError(const char* message, int line);

    uint8_t m_picWidthInMbsMinus1 = 0;
    uint8_t m_picHeightInMapUnitsMinus1 = 0;
    uint8_t m_frameMbsOnlyFlag = 0;
    uint8_t m_aspectRatioInfoPresentFlag = 0;
    uint8_t m_aspectRatioIdc = 0;
    uint8_t m_timingInfoPresentFlag = 0;
    uint32_t m_numUnitsInTick = 0;
    uint32_t m_timeScale = 0;
    uint8_t m_profileIdc = 0;
    uint8_t m_constraintSet0Flag = 0;
    uint8_t m_constraintSet1Flag = 0;
    uint8_t m_constraintSet2Flag = 0;
    uint8_t m_avcCompatibleFlags = 0;
    uint8_t m_levelIdc = 0;
    uint8_t m_stillPresent = 0;
    bool m_dependentView = false;
    uint32_t m_maxFieldsInGop = 0;
    uint8_t m_temporalIdStart = 255;
    uint8_t m_temporalIdEnd = 0;
    uint8_t m_noSeiNalUnitPresent = 1;
    uint8_t m_noPrefixNalUnitPresent = 1;
};

}  // namespace es
}  // namespace ts_comp
