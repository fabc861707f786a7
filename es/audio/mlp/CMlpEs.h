// Analyser of MLP audio streams.
#pragma once

#include <cstdint>
#include <vector>

#include "es/audio/CAudioEs.h"

namespace ts_comp {
namespace es {

// Reads the attributes of the first access unit on construction and writes one audio item per access unit,
// its decoding time stamp ahead of its presentation by the decoder delay of the first restart header.
class CMlpEs : public CAudioEs {
public:
    // Throws CTsMuxException (code 15) for a file below 192 bytes or a first unit that does not qualify.
    explicit CMlpEs(const PRIVATE_LIBRARY::CL_CString& esPath);
    ~CMlpEs() override;

    bool CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) override;
    void GetReportText(PRIVATE_LIBRARY::CL_CString& out) override;
    void GetXmlText(PRIVATE_LIBRARY::CL_CString& out) override;

private:
    bool ParseAttributes();

    int32_t m_audio_sampling_frequency = 0;
    int32_t m_6ch_decorder_channel_assignment = 0;
    int32_t m_8ch_decorder_channel_assignment = 0;
    int32_t m_restart_header_exists = 0;
    int32_t m_substreams = 0;
    int32_t m_max_chan[3] = {0, 0, 0};
};

}  // namespace es
}  // namespace ts_comp
