// Analyser of a presentation graphics (subtitle) stream: one KIV item per segment of each display set.
#pragma once

#include <cstdint>
#include <vector>

#include "es/CEs.h"

namespace ts_comp { namespace es {

class CPresentationGraphicsEs : public CEs {
public:
    explicit CPresentationGraphicsEs(const PRIVATE_LIBRARY::CL_CString& esPath);
    ~CPresentationGraphicsEs() override;

    bool CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) override;
    void GetReportText(PRIVATE_LIBRARY::CL_CString& out) override;
    void GetXmlText(PRIVATE_LIBRARY::CL_CString& out) override;

    // Frame duration in 90 kHz ticks of a 4-bit frame_rate code (0 for codes without one).
    static int64_t FrameDuration(uint8_t frameRateCode);
};

}}  // namespace ts_comp::es
