// Graphics items set whole: the bytes read back field by field, through the file's buffer and past its end.
#include <gtest/gtest.h>

#include "kiv/CGraphicsKiv.h"
#include "kiv/CGraphicsKivPackedItem.h"
#include "support/KivReader.h"

namespace {

using namespace ts_comp::kiv;

TEST(GraphicsKivPackedItem, WritesEveryFieldCutToItsWidth) {
    const uint64_t k33 = uint64_t{1} << 33;
    // Values given to Set (type, size, dts, pts, sub, first, last), the item read back.
    const struct { uint64_t in[7]; kiv_test::KivItem out; } rows[] = {
        {{0x16, 14, 90000, 90001, 2, 0, 0}, {0x16, 14, 90000, 90001, 2, 0, 0}},
        {{0x15, 403, 1, k33 - 1, 0, 1, 1}, {0x15, 403, 1, k33 - 1, 0, 1, 1}},
        {{0x80, 3, k33 - 1, 0, 0, 0, 1}, {0x80, 3, k33 - 1, 0, 0, 0, 1}},
        {{0x1FF, 0x1FFFFFFFF, k33 + 5, 3 * k33 + 7, 7, 3, 2}, {0xFF, 0xFFFFFFFF, 5, 7, 3, 1, 0}},
        {{~uint64_t{0}, ~uint64_t{0}, ~uint64_t{0}, ~uint64_t{0}, ~uint64_t{0}, ~uint64_t{0}, ~uint64_t{0}},
         {0xFF, 0xFFFFFFFF, k33 - 1, k33 - 1, 3, 1, 1}},
        {{255, 0, 0, 0x1A5A5A5A5, 0, 0, 0}, {255, 0, 0, 0x1A5A5A5A5, 0, 0, 0}},
    };
    kiv_test::TempDir dir;
    const std::string path = dir.File("packed.kiv");
    const size_t count = 40000;  // about 600,000 bytes: the writes cross the end of the file's buffer
    {
        CGraphicsKiv kiv;
        ASSERT_TRUE(kiv.Create(path.c_str()));
        CGraphicsKivPackedItem item;
        for (size_t k = 0; k < count; ++k) {
            const uint64_t* v = rows[k % 6].in;
            item.Set(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
            ASSERT_TRUE(kiv.WriteItem(item)) << k;
        }
        kiv.Close();
    }
    const kiv_test::Kiv read = kiv_test::ReadKiv(path);
    EXPECT_EQ(read.fileType, 3);
    ASSERT_EQ(read.items.size(), count);
    for (size_t k = 0; k < count; ++k) ASSERT_EQ(read.items[k], rows[k % 6].out) << k;
}

}  // namespace
