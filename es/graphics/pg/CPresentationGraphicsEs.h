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
};

}}  // namespace ts_comp::es
