// Start-code prefix scan over zero runs: every call gives the positions, zero counts and values of the
// byte-at-a-time model, for runs of every length, across window edges and from unaligned starts.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "input/CBinaryBuffer.h"
#include "input/ReferenceScans.h"
#include "support/TempDir.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr size_t kWindow = 262144;

// Appends `zeros` zero bytes and then `value`.
void Run(Bytes& b, size_t zeros, uint8_t value) {
    b.insert(b.end(), zeros, 0);
    b.push_back(value);
}

// Non-zero filler up to `size`, so that a following run starts exactly there.
void FillTo(Bytes& b, size_t size) { b.resize(size, 0x47); }

struct Case {
    const char* name;
    Bytes bytes;
    size_t start;      // file position the scans begin at
    uint32_t carried;  // zero count handed to the first call
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

Bytes Random(unsigned seed, size_t size, unsigned zeroPercent) {
    std::mt19937 rng(seed);
    Bytes b(size);
    for (auto& x : b) x = rng() % 100 < zeroPercent ? 0 : static_cast<uint8_t>(1 + rng() % 3);
    return b;
}

Bytes EveryRunLength() {
    Bytes b;
    for (size_t n = 0; n < 200; ++n) Run(b, n, static_cast<uint8_t>(1 + n % 5));
    return b;
}

// Runs ending just before, on and after each window edge, one longer than a window, and one at the end.
Bytes RunsAtWindowEdges() {
    Bytes b;
    for (size_t edge : {kWindow, 2 * kWindow}) {
        for (size_t back : {1, 2, 3, 17, 64, 65}) {
            FillTo(b, edge - back - 40);
            Run(b, 40, 0x01);
        }
        FillTo(b, edge - 3);
        Run(b, 130, 0xB3);
    }
    Run(b, kWindow + 100, 0x01);
    b.insert(b.end(), 70, 0);
    return b;
}

Bytes Stuffed() {
    Bytes b;
    std::mt19937 rng(11);
    while (b.size() < 3 * kWindow) {
        for (int i = 0; i < 300; ++i) b.push_back(static_cast<uint8_t>(1 + rng() % 255));
        Run(b, 2 + rng() % 5000, rng() % 2 == 0 ? 0x01 : 0xB8);
    }
    return b;
}

Bytes SingleZeros() {
    Bytes b;
    for (size_t i = 0; i < kWindow + 77; ++i) b.push_back(i % 2 == 0 ? 0 : 0x01);
    return b;
}

std::vector<Case> Cases() {
    return {
        {"random_sparse_zeros", Random(3, 2 * kWindow + 50, 25), 0, 0},
        {"random_dense_zeros_unaligned_start", Random(5, 2 * kWindow + 9, 90), 13, 0},
        {"every_run_length", EveryRunLength(), 0, 0},
        {"runs_at_window_edges", RunsAtWindowEdges(), 0, 0},
        {"runs_at_window_edges_shifted_start", RunsAtWindowEdges(), 31, 0},
        {"stuffing_before_start_codes", Stuffed(), 5, 0},
        {"single_zeros_only", SingleZeros(), 0, 0},
        {"only_zeros", Bytes(kWindow + 1000, 0), 0, 0},
        {"carried_run_ends_at_first_byte", {0x07, 0x00, 0x01}, 0, 2},
        {"carried_count_wraps", {0x00, 0x01, 0x00, 0x00, 0x01}, 0, 0xFFFFFFFFu},
        {"empty_file_keeps_carried_run", {}, 0, 9},
    };
}

class ZeroRunScan : public ::testing::TestWithParam<Case> {};

TEST_P(ZeroRunScan, EveryCallMatchesTheByteModel) {
    const Case& c = GetParam();
    kiv_test::TempDir dir;
    ts_comp::CBinaryBuffer buffer;
    ASSERT_TRUE(buffer.Open(dir.Write("es.bin", c.bytes).c_str()));
    ASSERT_TRUE(buffer.Seek(static_cast<int64_t>(c.start), 0));
    size_t pos = c.start;
    uint32_t zeros = c.carried;
    for (int call = 0;; ++call) {
        SCOPED_TRACE("call " + std::to_string(call) + " from position " + std::to_string(pos));
        const kiv_test::PrefixOutcome want = kiv_test::ReferencePrefixScan(c.bytes, pos, zeros);
        uint8_t value = 0;
        ASSERT_EQ(buffer.ScanStartCodePrefix(zeros, value), want.found);
        ASSERT_EQ(buffer.Tell(), want.position);
        ASSERT_EQ(zeros, want.zeros);
        if (!want.found) break;
        ASSERT_EQ(value, want.value);
        pos = static_cast<size_t>(want.position);
        zeros = 0;
    }
}

INSTANTIATE_TEST_SUITE_P(Buffers, ZeroRunScan, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
