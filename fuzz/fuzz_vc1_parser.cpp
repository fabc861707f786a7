// Any bytes through the VC-1 access-unit splitter and its BDU reads (sequence headers, entry points, pictures).
#include "SplitAll.h"
#include "es/video/vc1/CVc1VideoParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return kiv_fuzz::SplitAll<ts_comp::es::vc1_video::CVc1VideoParser>(data, size);
}
