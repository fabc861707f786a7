// KIV items and files: exact bytes, field isolation, item counts, seeks and type checks.
#include <gtest/gtest.h>

#include "kiv/CAudioKiv.h"
#include "kiv/CAudioKivItem.h"
#include "kiv/CKivFactory.h"
#include "kiv/CMvcDependentViewVideoKiv.h"
#include "kiv/CMvcDependentViewVideoKivItem.h"
#include "kiv/CVideoKiv.h"
#include "kiv/CVideoKivItem.h"
#include "support/KivReader.h"

namespace {

using kiv_test::TempDir;
using namespace ts_comp::kiv;
using Bytes = std::vector<uint8_t>;

Bytes ItemBytes(const CKivItem& item) { return Bytes(item.GetBytes(), item.GetBytes() + item.GetItemSize()); }

const uint64_t k2Pow33 = uint64_t{1} << 33;

TEST(KivItem, PacksToExactBytes) {
    // Item type, (field id, value) pairs set in this order, the item's bytes.
    const struct { uint32_t type; std::vector<std::pair<uint64_t, uint64_t>> values; Bytes bytes; } cases[] = {
        {2, {{0, 0}, {1, 964}, {2, 90000}, {3, 90000}},
         {0x00, 0x00, 0x00, 0x03, 0xC4, 0x00, 0x00, 0xAF, 0xC8, 0x00, 0x00, 0x57, 0xE4, 0x00}},
        {2, {{0, 255}, {3, 90450}}, {0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x58, 0x54, 0x80}},
        {1, {{0, 1}, {1, 1000}, {2, 3003}, {3, 6006}, {6, 1}, {7, 3}},
         {0x01, 0x00, 0x00, 0x03, 0xE8, 0x00, 0x00, 0x05, 0xDD, 0x80, 0x00, 0x05, 0xDD, 0x80, 0x70}},
        // Time stamps keep their low 33 bits, sizes their low 32.
        {2, {{1, 0x1FFFFFFFFull}, {0, 0x1FF}, {2, k2Pow33 + 90000}, {3, 3 * k2Pow33 + 90000}},
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xAF, 0xC8, 0x00, 0x00, 0x57, 0xE4, 0x00}},
        {1, {{5, 1}}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}},
        {3, {{0, 0x16}, {1, 0x1234}, {2, 1}, {3, k2Pow33 - 1}, {5, 2}, {6, 1}, {7, 0}},
         {0x16, 0x00, 0x00, 0x12, 0x34, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xC0, 0xA0}},
        {3, {{7, 1}}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x10}},
        {5, {{0, 1}, {1, 1000}, {2, 3003}, {3, 6006}, {6, 1}, {7, 3}, {9, 0x12345678}, {10, 0x9ABCDEF0}},
         {0x01, 0x00, 0x00, 0x03, 0xE8, 0x00, 0x00, 0x05, 0xDD, 0x80, 0x00, 0x05, 0xDD, 0x80, 0x70, 0x12, 0x34, 0x56,
          0x78, 0x9A, 0xBC, 0xDE, 0xF0}},
    };
    for (const auto& c : cases) {
        std::unique_ptr<CKivItem> item = CKivFactory::MakeItem(c.type);
        EXPECT_EQ(ItemBytes(*item), Bytes(c.bytes.size(), 0)) << "items start zero-filled";
        for (const auto& v : c.values) item->SetValue(v.first, v.second);
        EXPECT_EQ(ItemBytes(*item), c.bytes) << "type " << c.type;
    }
    for (uint32_t type : {0u, 4u, 6u}) EXPECT_EQ(CKivFactory::MakeItem(type), nullptr) << type;
}

// All fields set to ones, then each one cleared: only that field changes, whatever its alignment.
TEST(KivItem, ClearingOneFieldLeavesEveryOtherIntact) {
    for (uint32_t type : {1u, 2u, 3u, 5u}) {
        std::unique_ptr<CKivItem> item = CKivFactory::MakeItem(type), copy = CKivFactory::MakeItem(type);
        for (size_t i = 0; i < item->GetMemberCount(); ++i) item->SetValue(item->GetMemberAt(i).Id(), ~uint64_t{0});
        EXPECT_EQ(ItemBytes(*item), Bytes(item->GetItemSize(), 0xFF)) << type;
        for (size_t target = 0; target < item->GetMemberCount(); ++target) {
            *copy = *item;
            copy->SetValue(copy->GetMemberAt(target).Id(), 0);
            for (size_t other = 0; other < copy->GetMemberCount(); ++other) {
                const CKivMember& m = copy->GetMemberAt(other);
                EXPECT_EQ(copy->GetValue(m.Id()), other == target ? 0 : (uint64_t{1} << m.BitWidth()) - 1)
                    << "type " << type << " cleared " << target << " read " << m.Name();
            }
        }
    }
    CVideoKivItem video;
    video.SetValue(3, 12345);
    video.SetValue(42, ~uint64_t{0});
    EXPECT_EQ(video.GetValue(42), 0u) << "an unknown id reads 0 and writes nothing";
    EXPECT_EQ(ItemBytes(video), (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0C, 0x0E, 0x40, 0}));
}

// The four common fields set at once land where SetValue puts them, values too wide included, whatever the
// item held around them.
TEST(KivItem, CommonValuesAsSetValue) {
    const uint64_t values[] = {0x1A5, 0x123456789, k2Pow33 + 90000, 3 * k2Pow33 + 7};
    for (uint32_t type : {1u, 2u, 3u, 5u}) {
        for (uint64_t fill : {uint64_t{0}, ~uint64_t{0}}) {
            std::unique_ptr<CKivItem> at = CKivFactory::MakeItem(type), by = CKivFactory::MakeItem(type);
            for (size_t i = 0; i < at->GetMemberCount(); ++i) at->SetValue(at->GetMemberAt(i).Id(), fill);
            *by = *at;
            at->SetCommonValues(values[0], values[1], values[2], values[3]);
            for (uint64_t id = 0; id < 4; ++id) by->SetValue(id, values[id]);
            EXPECT_EQ(ItemBytes(*at), ItemBytes(*by)) << "type " << type << " fill " << fill;
        }
    }
}

// Ten audio items of sizes 100, 101, ... with pts 1920 apart, over a longer file that Create truncates;
// cut inside the last item, the file counts and reads the whole ones only.
TEST(KivFile, CountAndReadBack) {
    TempDir dir;
    const std::string path = dir.Write("a.kiv", Bytes(1000, 0x11));
    CAudioKiv kiv;
    ASSERT_TRUE(kiv.Create(path.c_str()));
    CAudioKivItem item;
    for (int i = 0; i < 10; ++i) {
        item.SetValue(1, 100 + i);
        item.SetValue(3, 90000 + 1920 * i);
        ASSERT_TRUE(kiv.WriteItem(item));
    }
    kiv.Close();
    const kiv_test::Kiv written = kiv_test::ReadKiv(path);
    EXPECT_EQ(written.fileType, 2);
    ASSERT_EQ(written.items.size(), 10u);
    EXPECT_EQ(written.items[1], (kiv_test::KivItem{0, 101, 0, 91920}));
    Bytes bytes = TempDir::Read(path);
    bytes.resize(bytes.size() - 5);
    ASSERT_TRUE(kiv.Open(dir.Write("cut.kiv", bytes).c_str()));
    EXPECT_EQ(kiv.GetItemCount(), 9);
    for (int i = 0; i < 9; ++i) ASSERT_TRUE(kiv.ReadItem(item) && item.GetValue(1) == uint64_t(100 + i)) << i;
    EXPECT_FALSE(kiv.ReadItem(item));
}

TEST(KivFile, ItemsOfAnotherTypeAreRefused) {
    TempDir dir;
    CVideoKivItem video;
    CMvcDependentViewVideoKivItem mvc;
    CAudioKiv audio;
    ASSERT_TRUE(audio.Create(dir.File("a.kiv").c_str()));
    EXPECT_FALSE(audio.WriteItem(video) || audio.WriteItem(mvc));
    audio.Close();
    EXPECT_EQ(TempDir::Read(dir.File("a.kiv")), (Bytes{0, 0, 0, 2}));
    ASSERT_TRUE(audio.Open(dir.File("a.kiv").c_str()));
    EXPECT_FALSE(audio.ReadItem(video));
    CMvcDependentViewVideoKiv mvcKiv;
    ASSERT_TRUE(mvcKiv.Create(dir.File("m.kiv").c_str()));
    EXPECT_FALSE(mvcKiv.WriteItem(video));
    EXPECT_TRUE(mvcKiv.WriteItem(mvc));
    mvcKiv.Close();
    EXPECT_EQ(TempDir::Read(dir.File("m.kiv")).size(), 4u + 23u);
}

TEST(KivFile, OpenChecksTheFileType) {
    TempDir dir;
    const std::pair<Bytes, const char*> cases[] = {
        {{0, 0, 0, 1, 1, 2, 3}, "current(1) real(2)"}, {{0, 0, 2}, "current(-1) real(2)"},
        {{}, "current(-1) real(2)"},                   {{0x7F, 0xFF, 0xFF, 0xFF}, "current(2147483647) real(2)"},
        {{0x00, 0x00, 0x02, 0x00}, "current(512) real(2)"},
    };
    for (const auto& c : cases) {
        CAudioKiv kiv;
        EXPECT_EQ(kiv.GetErrorCode(), 5);
        EXPECT_FALSE(kiv.Open(dir.Write("x.kiv", c.first).c_str()));
        EXPECT_EQ(kiv.GetErrorMessage(), std::string("The kiv_file_type is invalid. ") + c.second);
        EXPECT_EQ(kiv.GetErrorCode(), 15);
        EXPECT_TRUE(kiv.IsOpen()) << "the file itself did open";
    }
    CVideoKiv video;
    EXPECT_FALSE(video.Open(dir.File("missing.kiv").c_str()));
    EXPECT_EQ(std::string(video.GetErrorMessage()) + "|" + std::to_string(video.GetErrorCode()), "No such file or directory|8");
    EXPECT_EQ(video.GetItemCount(), -1);
    EXPECT_FALSE(video.Create(dir.File("no/such/folder.kiv").c_str()));
    EXPECT_STREQ(video.GetErrorMessage(), "No such file or directory") << "a failed Create stores nothing";
}

}  // namespace
