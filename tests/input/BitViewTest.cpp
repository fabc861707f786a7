// Bit view: every read, peek, seek, skip and position matches the bit buffer's own calls, across the buffer's
// window edges, from partly read bytes and at the end of the file; so do reads of the bytes it holds.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "input/CBinaryBuffer.h"
#include "input/CBitView.h"
#include "input/CBitViewOfBytes.h"
#include "support/TempDir.h"

namespace {

using ts_comp::CBinaryBuffer;
using ts_comp::CBitView;
using ts_comp::CBitViewOfBytes;

struct Row {
    size_t size;
    int64_t start;
    unsigned seed;
};

class BitView : public ::testing::TestWithParam<Row> {};

// Both buffers see the same calls: `plain` the buffer's own, `viewed` through a view that lives for a few
// calls (a header) with a plain bit read between two views. -1 stands for an end-of-file exception.
TEST_P(BitView, GivesTheBuffersResults) {
    const Row row = GetParam();
    std::mt19937 rng(row.seed);
    std::vector<uint8_t> bytes(row.size);
    for (auto& b : bytes) b = static_cast<uint8_t>(rng());
    kiv_test::TempDir dir;
    const std::string path = dir.Write("es", bytes);
    CBinaryBuffer plain, viewed;
    ASSERT_TRUE(plain.Open(path.c_str()) && viewed.Open(path.c_str()));
    plain.Seek(row.start, 0);
    viewed.Seek(row.start, 0);
    const auto bits = [](auto&& read) -> int64_t {
        try {
            return static_cast<int64_t>(read());
        } catch (const CBinaryBuffer::BinaryBufferReadException&) {
            return -1;
        }
    };
    for (int header = 0; header < 300; ++header) {
        {
            CBitView view(viewed);
            for (int call = 0; call < 12; ++call) {
                const uint32_t n = 1 + rng() % 64;
                const int64_t to = plain.Tell() + static_cast<int64_t>(rng() % 64) - 16;
                SCOPED_TRACE("header " + std::to_string(header) + " call " + std::to_string(call) + " n " +
                             std::to_string(n));
                uint64_t a = 0, b = 0;
                switch (rng() % 8) {
                    case 0: EXPECT_EQ(view.Peek(&b, n), plain.PeekBits(&a, n)); EXPECT_EQ(b, a); break;
                    case 1: EXPECT_EQ(view.Seek(to), plain.Seek(to, 0)); break;
                    case 2: EXPECT_EQ(view.Skip(n + 8), plain.SkipBytes(n + 8)); break;
                    case 3:  // the buffer read directly between Release and Resume
                        view.Release();
                        EXPECT_EQ(bits([&] { return viewed.GetBits(n % 12); }),
                                  bits([&] { return plain.GetBits(n % 12); }));
                        view.Resume();
                        break;
                    case 4: {  // the bytes the view holds, read from memory, give the buffer's next bits
                        const uint8_t* data = nullptr;
                        const uint32_t k = 1 + n % 57;
                        if (view.Buffered(&data) < 8) break;
                        CBitViewOfBytes in(data);
                        const uint64_t got = in.Bits(3) << k;
                        EXPECT_EQ(got | in.Bits(k), (plain.PeekBits(&a, 3 + k), a));
                        break;
                    }
                    default: EXPECT_EQ(bits([&] { return view.Bits(n); }), bits([&] { return plain.GetBits(n); }));
                }
                EXPECT_EQ(view.Tell(), plain.Tell());
            }
        }
        const uint32_t n = rng() % 12;
        EXPECT_EQ(bits([&] { return viewed.GetBits(n); }), bits([&] { return plain.GetBits(n); }));
        ASSERT_EQ(viewed.Tell(), plain.Tell());
    }
}

constexpr size_t kWindow = 262144;

INSTANTIATE_TEST_SUITE_P(Files, BitView,
                         ::testing::Values(Row{0, 0, 1}, Row{9, 0, 2}, Row{600, 0, 3}, Row{kWindow + 300, kWindow - 900, 4},
                                           Row{2 * kWindow + 40, 2 * kWindow - 700, 5},
                                           Row{kWindow + 3, kWindow - 1000, 6}));

}  // namespace
