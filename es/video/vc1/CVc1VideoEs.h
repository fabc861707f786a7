// Analyser of VC-1 advanced-profile video streams: attributes, KIV items with time stamps, report and XML.
#pragma once

#include <cstdint>
#include <vector>

#include "es/CEs.h"

namespace ts_comp {
namespace es {

// Reads the first sequence header on construction (throws CTsMuxException when there is none).
class CVc1VideoEs : public CEs {
public:
    explicit CVc1VideoEs(const PRIVATE_LIBRARY::CL_CString& esPath);
    ~CVc1VideoEs() override;

    bool CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) override;
    void GetReportText(PRIVATE_LIBRARY::CL_CString& out) override;
    void GetXmlText(PRIVATE_LIBRARY::CL_CString& out) override;
    // Admits advanced-profile streams whose first sequence header gives the frame rate as a fraction.
    virtual bool CheckStream(const char* esPath);

private:
    bool ReadSequenceAttributes();
    uint32_t GetVideoFormatCode() const;
    uint32_t GetFrameRateCode() const;
    uint32_t GetAspectRatioCode() const;

    uint8_t m_displayExt = 0;
    uint16_t m_dispHorizSize = 0;
    uint16_t m_dispVertSize = 0;
    uint8_t m_aspectRatioFlag = 0;
    uint8_t m_aspectRatio = 0;
    uint8_t m_interlace = 0;
    uint8_t m_frameRateFlag = 0;
    uint8_t m_level = 0;
    double m_frameRate = 0.0;
    int32_t m_framePeriod = 0;
    // Flags of the most recent sequence header met while indexing.
    uint8_t m_interlaceInUse = 0;
    uint8_t m_psf = 0;
    uint32_t m_maxFieldsPerEntryPoint = 0;
};

}  // namespace es
}  // namespace ts_comp
