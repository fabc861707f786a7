// Any bytes as a joined interactive composition file: pages, effects, button groups, buttons, commands.
#include "FuzzFile.h"
#include "es/graphics/segments/CGspIC.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kiv_fuzz::FuzzFile input(data, size);
    CGspIC composition;
    if (!composition.Parse(input.Path())) return 0;
    for (uint32_t i = 0; i < composition.GetPageCount(); ++i) composition.GetPage(i);
    return 0;
}
