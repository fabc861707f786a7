// Any bytes through the MPEG-2 access-unit splitter; the end of the file inside a unit may throw the
// bit buffer's exception, nothing else may escape.
#include "FuzzFile.h"
#include "es/video/mpeg2/CMpeg2VideoParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kiv_fuzz::FuzzFile input(data, size);
    ts_comp::es::mpeg2_video::CMpeg2VideoParser parser;
    if (!parser.Open(input.Path())) return 0;
    try {
        while (parser.GetNextAccessUnit() != nullptr) {
        }
    } catch (const ts_comp::CBinaryBuffer::BinaryBufferException&) {
    }
    return 0;
}
