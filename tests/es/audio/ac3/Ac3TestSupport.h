// Helpers of the AC-3 tests: KIV files decoded independently of the writer, a recording notice.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "KivNotice.h"
#include "support/TempDir.h"

namespace kiv_test {

struct AudioItem {
    uint64_t type, size, dts, pts, reserved;
    bool operator==(const AudioItem& o) const {
        return type == o.type && size == o.size && dts == o.dts && pts == o.pts && reserved == o.reserved;
    }
};

// Bits [offset, offset + width) of a 14-byte item, most significant first.
inline uint64_t ItemBits(const uint8_t* item, unsigned offset, unsigned width) {
    uint64_t v = 0;
    for (unsigned i = 0; i < width; ++i) {
        const unsigned bit = offset + i;
        v = (v << 1) | ((item[bit / 8] >> (7 - bit % 8)) & 1u);
    }
    return v;
}

// File type and items of an audio KIV file; fileType is -1 for a file shorter than 4 bytes.
struct AudioKivFile {
    int64_t fileType = -1;
    size_t trailingBytes = 0;
    std::vector<AudioItem> items;
};

inline AudioKivFile ReadAudioKiv(const std::string& path) {
    const std::vector<uint8_t> bytes = TempDir::Read(path);
    AudioKivFile f;
    if (bytes.size() < 4) return f;
    f.fileType = (int64_t{bytes[0]} << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3];
    size_t pos = 4;
    for (; pos + 14 <= bytes.size(); pos += 14) {
        const uint8_t* it = bytes.data() + pos;
        f.items.push_back({ItemBits(it, 0, 8), ItemBits(it, 8, 32), ItemBits(it, 40, 33), ItemBits(it, 73, 33),
                           ItemBits(it, 106, 6)});
    }
    f.trailingBytes = bytes.size() - pos;
    return f;
}

// Counts progress calls and aborts after a given number of them (never when negative).
class RecordingNotice : public kiv_comp::CKivNotice {
public:
    explicit RecordingNotice(int abortAfter = -1) : m_abortAfter(abortAfter) {}
    void NotifyProgress(int64_t processed, int64_t total) override {
        progress.push_back(processed);
        totals.push_back(total);
        if (m_abortAfter >= 0 && static_cast<int>(progress.size()) >= m_abortAfter) Abort();
    }
    bool IsAborted() override {
        ++abortQueries;
        if (m_abortAfter == 0) Abort();
        return CKivNotice::IsAborted();
    }
    std::vector<int64_t> progress;
    std::vector<int64_t> totals;
    int abortQueries = 0;

private:
    int m_abortAfter;
};

}  // namespace kiv_test
