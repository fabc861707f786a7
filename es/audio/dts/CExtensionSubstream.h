// One DTS-HD extension substream: its header and the word that follows the header.
#pragma once

#include <cstdint>

#include "es/audio/dts/CExtensionSubstreamHeader.h"

namespace ts_comp {
class CBinaryBuffer;
class CBitView;
namespace es {
namespace dts {

// Parses the header, reads the word after it and leaves the buffer after the whole substream.
class CExtensionSubstream {
public:
    // False when the header does not parse. A header or word cut off by the end of the file throws the bit
    // buffer's exception; the payload is passed by a seek and may end past the end of the file.
    bool Parse(CBinaryBuffer& buffer);
    bool Parse(CBitView& view);
    // Reads the header's sizes and frame duration only and leaves the buffer after the whole substream. Where
    // the file holds kMostExtensionHeaderBytes from the view's position on, nothing Parse reads can be cut
    // off, so the sizes and the duration, the position after it and the result are those of Parse.
    void PassOver(CBitView& view);

    CExtensionSubstreamHeader header;
    uint32_t extensionSubStreamSync = 0;
};

}  // namespace dts
}  // namespace es
}  // namespace ts_comp
