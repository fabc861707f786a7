// Streams longer than 4 GiB through the creator: frames are written as sparse files (header bytes only,
// the payload a hole of zeros), so item counts, time stamps and progress past 4 GiB are checked cheaply.
// Only kinds whose units may be far larger than a file-system block can be made sparse this way.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "KivCreator.h"
#include "support/KivReader.h"
#include "support/DraBuilder.h"
#include "support/LpcmBuilder.h"
#include "support/Mpeg2Builder.h"
#include "support/RecordingNotice.h"
#include "support/TempDir.h"

namespace kiv_test {
namespace {

constexpr uint64_t kFourGiB = uint64_t{1} << 32;

struct BigRow {
    const char* name;
    kiv_comp::CKivCreator::ES_TYPE type;
    std::vector<uint8_t> frame;  // one whole unit, repeated to past 4 GiB
    uint64_t ptsStep;            // 90 kHz ticks per unit, worked out by hand
    size_t itemBytes;            // bytes of one item in the KIV file
    std::vector<uint8_t> lead;   // bytes before the first unit
};

std::vector<uint8_t> LpcmFrame() {
    LpcmHeaderCodes codes;
    codes.channelAssignment = 9;  // 3/2+LFE, carried as 6 channels
    codes.bitsPerSample = 3;      // 24 bits
    // 64 KiB frames: the header alone lands in one block of sixteen.
    return LpcmBuilder().Codes(codes).Frame(65532).Take();
}

// Closed GOPs of one I picture at 25 Hz, each a MiB long: one slice byte, then zero stuffing.
std::vector<uint8_t> Mpeg2Gop() {
    std::vector<uint8_t> unit = Mpeg2Builder().Gop(1).Picture(1, 3, 0, 0, 1).Bytes();
    unit.resize(size_t{1} << 20, 0);
    return unit;
}

// DRA frames of 48 kHz and 8 blocks, each a MiB long: the declared 64 bytes, then zeros up to the next sync word.
std::vector<uint8_t> DraMiBFrame() {
    std::vector<uint8_t> frame;
    DraFrame().AppendTo(frame);
    frame.resize(size_t{1} << 20, 0);
    return frame;
}

// Writes the frame's bytes up to its last non-zero byte at every frame position; the rest stays a hole.
uint64_t WriteSparse(const std::string& path, const std::vector<uint8_t>& lead, const std::vector<uint8_t>& frame,
                     uint64_t frames) {
    const auto last = std::find_if(frame.rbegin(), frame.rend(), [](uint8_t b) { return b != 0; });
    const size_t head = static_cast<size_t>(frame.rend() - last);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(::pwrite(fd, lead.data(), lead.size(), 0), static_cast<ssize_t>(lead.size()));
    for (uint64_t i = 0; i < frames; ++i) {
        const off_t at = static_cast<off_t>(lead.size() + i * frame.size());
        EXPECT_EQ(::pwrite(fd, frame.data(), head, at), static_cast<ssize_t>(head));
    }
    const uint64_t size = lead.size() + frames * frame.size();
    EXPECT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
    ::close(fd);
    return size;
}

class BeyondFourGiB : public ::testing::TestWithParam<BigRow> {};

TEST_P(BeyondFourGiB, EveryFrameIndexedAndProgressReachesTheEnd) {
    const BigRow& row = GetParam();
    const uint64_t frames = kFourGiB / row.frame.size() + 3;
    TempDir dir;
    const std::string es = dir.File("big.es"), kiv = dir.File("big.kiv");
    const uint64_t size = WriteSparse(es, row.lead, row.frame, frames);
    ASSERT_GT(size, kFourGiB);

    RecordingNotice notice;
    kiv_comp::CKivCreator creator;
    ASSERT_TRUE(creator.CreateKiv(row.type, es.c_str(), kiv.c_str(), {90000}, &notice)) << creator.GetLastErrorMessage();

    // The header and the last two frame items and the end item.
    std::vector<uint8_t> bytes = TempDir::Read(kiv);
    ASSERT_EQ(bytes.size(), 4 + (frames + 1) * row.itemBytes);
    std::vector<uint8_t> tail(bytes.begin(), bytes.begin() + 4);
    tail.insert(tail.end(), bytes.end() - 3 * row.itemBytes, bytes.end());
    const Kiv parsed = ParseKiv(tail);
    ASSERT_EQ(parsed.items.size(), 3u);
    // Time stamps step by the unit's duration up to the end item, wherever the first one falls.
    EXPECT_EQ(parsed.items[0].size, row.frame.size());
    EXPECT_EQ(parsed.items[1].size, row.frame.size());
    EXPECT_EQ(parsed.items[1].pts - parsed.items[0].pts, row.ptsStep);
    EXPECT_EQ(parsed.items[1].dts - parsed.items[0].dts, row.ptsStep);
    EXPECT_EQ(parsed.items[2].type, 255u);
    EXPECT_EQ(parsed.items[2].pts - parsed.items[1].pts, row.ptsStep);

    ASSERT_FALSE(notice.progress.empty());
    EXPECT_EQ(notice.totals.back(), static_cast<int64_t>(size));
    EXPECT_EQ(notice.progress.back(), static_cast<int64_t>(size));
}

INSTANTIATE_TEST_SUITE_P(
    Sparse, BeyondFourGiB,
    ::testing::Values(BigRow{"Lpcm", kiv_comp::CKivCreator::ES_TYPE_HDMV_LPCM, LpcmFrame(), 450, 14, {}},
                      BigRow{"Mpeg2", kiv_comp::CKivCreator::ES_TYPE_MPEG2_VIDEO, Mpeg2Gop(), 3600, 15,
                             Mpeg2Builder().Sequence(1080, 3, 1).Bytes()},
                      BigRow{"Dra", kiv_comp::CKivCreator::ES_TYPE_DRA, DraMiBFrame(), 1920, 14, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kiv_test
