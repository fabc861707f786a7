// Analyser of an HDMV LPCM audio stream: one audio KIV item per frame, attributes from the first header.
#pragma once

#include <cstdint>
#include <vector>

#include "es/audio/CAudioEs.h"

namespace ts_comp {
namespace es {

// Reads the first frame header on construction (throws CTsMuxException below 192 bytes).
class CHdmvLpcmEs : public CAudioEs {
public:
    explicit CHdmvLpcmEs(const PRIVATE_LIBRARY::CL_CString& esPath);
    ~CHdmvLpcmEs() override;

    bool CreateKiv(const char* kivPath, std::vector<uint64_t> startPtsList) override;
    void GetReportText(PRIVATE_LIBRARY::CL_CString& out) override;
    void GetXmlText(PRIVATE_LIBRARY::CL_CString& out) override;

    // Header fields of the first frame.
    uint16_t GetAudioDataPayloadSize() const { return m_audioDataPayloadSize; }
    uint8_t GetChannelAssignment() const { return m_channelAssignment; }
    uint8_t GetSamplingFrequency() const { return m_samplingFrequency; }
    uint8_t GetBitsPerSample() const { return m_bitsPerSample; }

private:
    // Reads the next frame header and passes over its payload; false when either is cut off.
    bool NextFrame(uint32_t& frameSize);

    uint16_t m_audioDataPayloadSize;
    uint8_t m_channelAssignment;
    uint8_t m_samplingFrequency;
    uint8_t m_bitsPerSample;
};

}  // namespace es
}  // namespace ts_comp
