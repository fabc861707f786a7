// Any bytes through the AC-3 and E-AC-3 sync-frame recognisers and header parsers, frame after frame.
#include "FuzzFile.h"
#include "es/audio/ac3/CEnhancedFrameForDD.h"
#include "es/audio/ac3/CLegacyCoreFrameForDD.h"
#include "es/audio/ac3/DolbyDigitalSync.h"
#include "input/CBinaryBuffer.h"

using namespace ts_comp;
using namespace ts_comp::es::dolby_digital_audio;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kiv_fuzz::WalkUnits(data, size, [](CBinaryBuffer& buffer) {
        if (IsLegacyCoreFrame(buffer)) {
            CLegacyCoreFrameForDD().Parse(buffer);
        } else if (IsEnhancedFrame(buffer)) {
            CEnhancedFrameForDD().Parse(buffer);
        }
    });
    return 0;
}
