// Any bytes through the DTS core frame and extension substream parsers, unit after unit.
#include "FuzzFile.h"
#include "es/audio/dts/CCoreFrameHeader.h"
#include "es/audio/dts/CExtensionSubstream.h"
#include "input/CBinaryBuffer.h"

using namespace ts_comp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kiv_fuzz::WalkUnits(data, size, [](CBinaryBuffer& buffer) {
        uint64_t sync = 0;
        if (buffer.PeekBits(&sync, 32) != 32) return;
        if (sync == 0x7FFE8001) {
            es::dts::CCoreFrameHeader().ParseFrame(buffer);
        } else if (sync == 0x64582025) {
            es::dts::CExtensionSubstream().Parse(buffer);
        }
    });
    return 0;
}
