// Any bytes through the DTS core frame and extension substream parsers, unit after unit.
#include "FuzzFile.h"
#include "es/audio/dts/CCoreFrameHeader.h"
#include "es/audio/dts/CExtensionSubstream.h"
#include "input/CBinaryBuffer.h"

using namespace ts_comp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kiv_fuzz::FuzzFile input(data, size);
    CBinaryBuffer buffer;
    if (!buffer.Open(input.Path())) return 0;
    try {
        while (buffer.Tell() < buffer.GetSize()) {
            const int64_t before = buffer.Tell();
            uint64_t sync = 0;
            if (buffer.PeekBits(&sync, 32) == 32) {
                if (sync == 0x7FFE8001) {
                    es::dts::CCoreFrameHeader frame;
                    frame.ParseFrame(buffer);
                } else if (sync == 0x64582025) {
                    es::dts::CExtensionSubstream substream;
                    substream.Parse(buffer);
                }
            }
            if (buffer.Tell() <= before) buffer.ReadByte();
        }
    } catch (const CBinaryBuffer::BinaryBufferException&) {
    }
    return 0;
}
