// Any bytes through the MPEG-2 access-unit splitter (sequence, GOP and picture layers).
#include "SplitAll.h"
#include "es/video/mpeg2/CMpeg2VideoParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return kiv_fuzz::SplitAll<ts_comp::es::mpeg2_video::CMpeg2VideoParser>(data, size);
}
