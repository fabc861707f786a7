// Recognisers of the next AC-3 or E-AC-3 sync frame in a bit buffer.
#pragma once

namespace ts_comp {
class CBinaryBuffer;
namespace es {
namespace dolby_digital_audio {

// True when the next 10 bytes hold a sync word and a bsid of at most 8; consumes nothing.
bool IsLegacyCoreFrame(CBinaryBuffer& buffer);
// True when the next 10 bytes hold a sync word and bsid 16; consumes nothing.
bool IsEnhancedFrame(CBinaryBuffer& buffer);

}  // namespace dolby_digital_audio
}  // namespace es
}  // namespace ts_comp
