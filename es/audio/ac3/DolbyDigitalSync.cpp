#include "es/audio/ac3/DolbyDigitalSync.h"

#include <cstdint>

#include "es/audio/ac3/Ac3Constants.h"
#include "input/CBinaryBuffer.h"

namespace ts_comp {
namespace es {
namespace dolby_digital_audio {

namespace {

// bsid (top five bits of byte 5) of the sync frame ahead, or -1 without a whole 10-byte head and sync word.
int PeekBsid(CBinaryBuffer& buffer) {
    uint8_t head[kRecogniseBytes];
    if (buffer.PeekBytes(head, kRecogniseBytes) < kRecogniseBytes) return -1;
    if (head[0] != kSyncByte0 || head[1] != kSyncByte1) return -1;
    return head[5] >> 3;
}

}  // namespace

bool IsLegacyCoreFrame(CBinaryBuffer& buffer) {
    const int bsid = PeekBsid(buffer);
    return bsid >= 0 && bsid <= kMaxLegacyBsid;
}

bool IsEnhancedFrame(CBinaryBuffer& buffer) { return PeekBsid(buffer) == kEnhancedBsid; }

}  // namespace dolby_digital_audio
}  // namespace es
}  // namespace ts_comp
