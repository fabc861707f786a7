// Any bytes through the graphics segment parser: the index of segments, then each segment parsed and
// each interactive composition joined into a file; and the segments taken one after another.
#include <string>

#include "FuzzFile.h"
#include "es/graphics/segments/CGspGsParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kiv_fuzz::FuzzFile input(data, size);
    CGspGsParser parser;
    if (!parser.Open(input.Path())) return 0;
    const std::string composition = kiv_fuzz::FuzzFile::Folder() + "ic.dat";
    for (uint32_t i = 0; i < parser.GetSegmentCount(); ++i) {
        parser.GetSegmentAt(i);
        parser.BuildCompositionFile(i, composition.c_str());
    }
    CGspGsParser taking;
    if (taking.Open(input.Path())) {
        while (taking.TakeNextSegment() != nullptr) {
        }
    }
    return 0;
}
