// Audio items set whole give the bytes of the same values set by field id, across the file buffer's end.
#include <gtest/gtest.h>

#include "kiv/CAudioKiv.h"
#include "kiv/CAudioKivPackedItem.h"
#include "support/KivReader.h"

TEST(AudioKivPackedItem, BytesOfTheItemSetById) {
    const uint64_t k33 = uint64_t{1} << 33, all = ~uint64_t{0};
    const uint64_t rows[][4] = {{0, 964, 90000, 90000}, {1, 114, k33 - 120, 0}, {255, 0, 0, 90450},
                                {0x1FF, 0x1FFFFFFFF, k33 + 5, 3 * k33 + 7}, {all, all, all, all}};  // type, size, dts, pts
    kiv_test::TempDir dir;
    const std::string packedPath = dir.File("packed.kiv"), plainPath = dir.File("plain.kiv");
    {
        ts_comp::kiv::CAudioKiv packedKiv, plainKiv;
        ASSERT_TRUE(packedKiv.Create(packedPath.c_str()) && plainKiv.Create(plainPath.c_str()));
        ts_comp::kiv::CAudioKivPackedItem packed;
        ts_comp::kiv::CAudioKivItem plain;
        for (size_t k = 0; k < 40000; ++k) {  // 560,000 bytes
            const uint64_t* v = rows[k % 5];
            packed.Set(v[0], v[1], v[2], v[3]);
            for (uint64_t id = 0; id < 4; ++id) plain.SetValue(id, v[id]);
            ASSERT_TRUE(packedKiv.WriteFinalItem(packed) && packedKiv.WriteItem(packed) && plainKiv.WriteItem(plain) &&
                        plainKiv.WriteItem(plain)) << k;
        }
    }
    EXPECT_EQ(kiv_test::TempDir::Read(packedPath), kiv_test::TempDir::Read(plainPath));
}
