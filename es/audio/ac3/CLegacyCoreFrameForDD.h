// Fields of one AC-3 sync frame's bit stream information.
#pragma once

#include <cstdint>

namespace ts_comp {
class CBinaryBuffer;
namespace es {
namespace dolby_digital_audio {

// Parses the bsi of an AC-3 sync frame up to the second audio production information.
class CLegacyCoreFrameForDD {
public:
    virtual ~CLegacyCoreFrameForDD();
    // Reads the frame at the buffer position and leaves the buffer after the frame; false for a bsid of 9
    // or more, a sampling-rate or frame-size code outside the frame-size table, or a cut-off frame.
    bool Parse(CBinaryBuffer& buffer);

    uint8_t fscod = 0;
    uint8_t frmsizecod = 0;
    uint8_t bsid = 0;
    uint8_t bsmod = 0;
    uint8_t acmod = 0;
    uint8_t dsurmod = 0;
    uint8_t lfeon = 0;
    uint8_t compre = 0;
    uint8_t langcode = 0;
    uint8_t langcod = 255;
    uint8_t audprodie = 0;
    uint8_t compr2e = 0;
    uint8_t compr2 = 0;
    uint8_t langcod2e = 0;
    uint8_t langcod2 = 255;
};

}  // namespace dolby_digital_audio
}  // namespace es
}  // namespace ts_comp
