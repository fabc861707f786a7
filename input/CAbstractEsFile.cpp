#include "input/CAbstractEsFile.h"

#include <algorithm>

namespace ts_comp {
namespace es {

uint64_t CAbstractEsFile::Skip(uint64_t count) {
    uint64_t done = 0;
    const uint8_t* data = nullptr;
    while (done < count) {
        const uint32_t available = PeekBuffered(&data);
        if (available == 0) break;
        const auto take = static_cast<uint32_t>(std::min<uint64_t>(available, count - done));
        ConsumeBuffered(take);
        done += take;
    }
    return done;
}

}  // namespace es
}  // namespace ts_comp
