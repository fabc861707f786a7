// Analyser of DRA audio streams.
#pragma once

#include <cstdint>
#include <vector>

#include "es/audio/CAudioEs.h"

namespace ts_comp {
namespace es {

// Reads three attributes of the first frame header on construction and writes one audio item per frame.
class CDraEs : public CAudioEs {
public:
    // Throws CTsMuxException (code 15) for a file below 192 bytes or one that does not start with a sync word.
    explicit CDraEs(const PRIVATE_LIBRARY::CL_CString& esPath);
    ~CDraEs() override;

    bool CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) override;
    void GetReportText(PRIVATE_LIBRARY::CL_CString& out) override;
    void GetXmlText(PRIVATE_LIBRARY::CL_CString& out) override;

private:
    bool ParseAttributes(const uint8_t* head);
    // 90 kHz ticks of `blocks` blocks at the rate of `index`; an index without a rate throws (code 15).
    uint32_t GetFrameDuration(uint8_t blocks, uint8_t index);

    uint8_t m_nSampleRateIndex = 0;
    uint8_t m_nNumNormalCh = 0;
    uint8_t m_nNumLfeCh = 0;
};

}  // namespace es
}  // namespace ts_comp
