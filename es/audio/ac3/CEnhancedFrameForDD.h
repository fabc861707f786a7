// Fields of one E-AC-3 sync frame's bit stream information.
#pragma once

#include <cstdint>

namespace ts_comp {
class CBinaryBuffer;
namespace es {
namespace dolby_digital_audio {

// Parses the whole E-AC-3 bsi, through the additional bsi, and keeps the fields the analyser reports.
class CEnhancedFrameForDD {
public:
    virtual ~CEnhancedFrameForDD();
    // Reads the frame at the buffer position and leaves the buffer after the frame (2 * frmsiz + 2 bytes);
    // false only when the buffer runs out of data.
    bool Parse(CBinaryBuffer& buffer);

    uint16_t frmsiz = 0;
    uint8_t fscod = 0;
    uint8_t acmod = 0;
    uint8_t lfeon = 0;
    uint8_t bsid = 0;
    uint8_t compre = 0;
    uint8_t bsmod = 0;
    uint8_t dsurmod = 0;
    uint8_t frmsizecod = 0;
    uint8_t chanmape = 0;
    uint16_t chanmap = 0;
    // Not kept by the analyser; for callers that look at the stream layout.
    uint8_t strmtyp = 0;
    uint8_t substreamid = 0;

private:
    void ParseMixingMetadata(CBinaryBuffer& buffer, uint8_t numblkscod);
    void ParseInformationalMetadata(CBinaryBuffer& buffer);
};

}  // namespace dolby_digital_audio
}  // namespace es
}  // namespace ts_comp
