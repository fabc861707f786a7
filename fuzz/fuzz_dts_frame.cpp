// Any bytes through the DTS core frame and extension substream parsers, unit after unit.
#include <cstring>

#include "FuzzFile.h"
#include "es/audio/dts/CCoreFrameHeader.h"
#include "es/audio/dts/CExtensionSubstream.h"
#include "input/CBinaryBuffer.h"

using namespace ts_comp;

namespace {

constexpr uint8_t kCoreSync[] = {0x7F, 0xFE, 0x80, 0x01};
constexpr uint8_t kExtensionSync[] = {0x64, 0x58, 0x20, 0x25};

// The first position from `at` on where a sync word starts, or `size`.
size_t NextSync(const uint8_t* data, size_t size, size_t at) {
    for (; at + 4 <= size; ++at) {
        const uint8_t* word = data + at;
        if (std::memcmp(word, kCoreSync, 4) == 0 || std::memcmp(word, kExtensionSync, 4) == 0) return at;
    }
    return size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kiv_fuzz::WalkUnits(data, size, [data, size](CBinaryBuffer& buffer) {
        // Bytes without a sync word are passed in one seek, not one step each.
        const auto at = static_cast<size_t>(buffer.Tell());
        const size_t next = NextSync(data, size, at);
        if (next != at) {
            buffer.Seek(static_cast<int64_t>(next), 0);
        } else if (data[at] == kCoreSync[0]) {
            es::dts::CCoreFrameHeader().ParseFrame(buffer);
        } else {
            es::dts::CExtensionSubstream().Parse(buffer);
        }
    });
    return 0;
}
