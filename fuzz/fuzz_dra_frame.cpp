// Any bytes through the DRA frame parser: headers of both types and sizes to the next sync word.
#include "FuzzFile.h"
#include "es/audio/dra/CDraAudioParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kiv_fuzz::FuzzFile input(data, size);
    ts_comp::es::dra_audio::CDraAudioParser parser;
    if (!parser.Open(input.Path())) return 0;
    while (parser.ParseNextFrame() != nullptr) {
    }
    return 0;
}
