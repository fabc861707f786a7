// Any bytes as a stream of one kind (KIV_FUZZ_ES_TYPE) through the exported creator: it must return
// true or false, never crash, hang or let an exception out.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzFile.h"
#include "FuzzStarts.h"
#include "KivCreator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kiv_fuzz::FuzzFile input(data, size);
    const std::vector<uint32_t> starts = kiv_fuzz::StartValues(KIV_FUZZ_ES_TYPE);
    const std::string kiv = kiv_fuzz::FuzzFile::Folder() + "out.kiv";
    kiv_comp::CKivCreator creator;
    creator.SetTempPath(kiv_fuzz::FuzzFile::Folder().c_str());
    creator.CreateKiv(static_cast<kiv_comp::CKivCreator::ES_TYPE>(KIV_FUZZ_ES_TYPE), input.Path(),
                      kiv.c_str(), starts, nullptr);
    return 0;
}
