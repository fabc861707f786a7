// Streams longer than 4 GiB through the creator, written as sparse files (unit headers only, the
// payload a hole of zeros): item count, sizes and time steps past 4 GiB, progress up to the end.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <tuple>

#include "KivCreator.h"
#include "support/DraBuilder.h"
#include "support/KivReader.h"
#include "support/LpcmBuilder.h"
#include "support/Mpeg2Builder.h"
#include "support/RecordingNotice.h"

namespace kiv_test {
namespace {

constexpr uint64_t kFourGiB = uint64_t{1} << 32;

// One whole unit (repeated to past 4 GiB, after `lead`) and its 90 kHz step, worked out by hand.
struct BigRow { const char* name; kiv_comp::CKivCreator::ES_TYPE type; std::vector<uint8_t> unit; uint64_t ptsStep; std::vector<uint8_t> lead; };

// `unit` padded with zeros to `size` bytes.
std::vector<uint8_t> Sized(std::vector<uint8_t> unit, size_t size) { return unit.resize(size, 0), unit; }

// Writes the unit's bytes up to its last non-zero byte at every unit position; the rest stays a hole.
uint64_t WriteSparse(const std::string& path, const BigRow& row, uint64_t units) {
    const size_t head = static_cast<size_t>(std::find_if(row.unit.rbegin(), row.unit.rend(), [](uint8_t b) { return b != 0; }).base() - row.unit.begin());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    bool ok = ::pwrite(fd, row.lead.data(), row.lead.size(), 0) == static_cast<ssize_t>(row.lead.size());
    for (uint64_t i = 0; i < units; ++i) {
        ok = ok && ::pwrite(fd, row.unit.data(), head, static_cast<off_t>(row.lead.size() + i * row.unit.size())) == static_cast<ssize_t>(head);
    }
    const uint64_t size = row.lead.size() + units * row.unit.size();
    EXPECT_TRUE(ok && ::ftruncate(fd, static_cast<off_t>(size)) == 0 && ::close(fd) == 0);
    return size;
}

class BeyondFourGiB : public ::testing::TestWithParam<BigRow> {};

TEST_P(BeyondFourGiB, EveryUnitIndexedAndProgressReachesTheEnd) {
    const BigRow& row = GetParam();
    const uint64_t units = kFourGiB / row.unit.size() + 3;
    TempDir dir;
    const std::string es = dir.File("big.es"), kiv = dir.File("big.kiv");
    const uint64_t size = WriteSparse(es, row, units);
    ASSERT_GT(size, kFourGiB);
    RecordingNotice notice;
    kiv_comp::CKivCreator creator;
    ASSERT_TRUE(creator.CreateKiv(row.type, es.c_str(), kiv.c_str(), {90000}, &notice)) << creator.GetLastErrorMessage();
    // The last two unit items and the end item step by the unit's duration, wherever the first one falls.
    const std::vector<KivItem> items = ReadKiv(kiv).items;
    ASSERT_EQ(items.size(), units + 1);
    const KivItem* last = &items[units - 2];
    EXPECT_EQ(std::make_tuple(last[0].size, last[1].size, last[2].type), std::make_tuple(row.unit.size(), row.unit.size(), 255u));
    EXPECT_EQ(std::make_tuple(last[1].pts - last[0].pts, last[1].dts - last[0].dts, last[2].pts - last[1].pts),
              std::make_tuple(row.ptsStep, row.ptsStep, row.ptsStep));
    ASSERT_FALSE(notice.progress.empty());
    EXPECT_EQ(std::make_pair(notice.progress.back(), notice.totals.back()), std::make_pair(int64_t(size), int64_t(size)));
}

std::vector<uint8_t> DraUnit() {
    std::vector<uint8_t> frame;
    return DraFrame().AppendTo(frame), Sized(frame, size_t{1} << 20);
}

// LPCM: 64 KiB frames (the header alone in one block of sixteen), 3/2+LFE carried as 6 channels of 24 bits.
// MPEG-2: closed GOPs of one I picture at 25 Hz, a MiB each (one slice byte, then zero stuffing).
// DRA: 48 kHz frames of 8 blocks, a MiB each (the declared 64 bytes, then zeros up to the next sync word).
INSTANTIATE_TEST_SUITE_P(Sparse, BeyondFourGiB, ::testing::Values(
    BigRow{"Lpcm", kiv_comp::CKivCreator::ES_TYPE_HDMV_LPCM, LpcmBuilder().Codes({9, 1, 3, 0}).Frame(65532).Take(), 450, {}},
    BigRow{"Mpeg2", kiv_comp::CKivCreator::ES_TYPE_MPEG2_VIDEO, Sized(Mpeg2Builder().Gop(1).Picture(1, 3, 0, 0, 1).Bytes(), size_t{1} << 20),
           3600, Mpeg2Builder().Sequence(1080, 3, 1).Bytes()},
    BigRow{"Dra", kiv_comp::CKivCreator::ES_TYPE_DRA, DraUnit(), 1920, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kiv_test
