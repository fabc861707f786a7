// Audio items under their earlier names, read by the shared KIV reader (kept for suites that use them).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/KivReader.h"
#include "support/RecordingNotice.h"

namespace kiv_test {

struct AudioItem {
    uint64_t type, size, dts, pts, reserved;
    bool operator==(const AudioItem& o) const {
        return type == o.type && size == o.size && dts == o.dts && pts == o.pts && reserved == o.reserved;
    }
};

struct AudioKivFile {
    std::vector<AudioItem> items;
};

inline AudioKivFile ReadAudioKiv(const std::string& path) {
    AudioKivFile f;
    for (const KivItem& i : ReadKiv(path).items) f.items.push_back({i.type, i.size, i.dts, i.pts, 0});
    return f;
}

}  // namespace kiv_test
