// Any bytes through the AVC access-unit splitter and its syntax reads (parameter sets, SEI, slice headers).
#include "SplitAll.h"
#include "es/video/avc/CAvcVideoParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return kiv_fuzz::SplitAll<ts_comp::es::avc_video::CAvcVideoParser>(data, size);
}
