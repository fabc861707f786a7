// KIV files on disk: header, item count, seeking, type checks of items and of opened files.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "kiv/CAudioKiv.h"
#include "kiv/CAudioKivItem.h"
#include "kiv/CGraphicsKiv.h"
#include "kiv/CKivFactory.h"
#include "kiv/CMvcDependentViewVideoKiv.h"
#include "kiv/CMvcDependentViewVideoKivItem.h"
#include "kiv/CVideoKiv.h"
#include "kiv/CVideoKivItem.h"
#include "support/TempDir.h"

namespace {

using kiv_test::TempDir;
using ts_comp::kiv::CAudioKiv;
using ts_comp::kiv::CAudioKivItem;
using ts_comp::kiv::CKiv;
using ts_comp::kiv::CKivFactory;
using ts_comp::kiv::CKivItem;
using ts_comp::kiv::CMvcDependentViewVideoKiv;
using ts_comp::kiv::CMvcDependentViewVideoKivItem;
using ts_comp::kiv::CVideoKiv;
using ts_comp::kiv::CVideoKivItem;

// Writes `count` audio items of sizes 100, 101, ... with pts 1920 apart, then closes the file.
std::string WriteAudioFile(const TempDir& dir, const std::string& name, int count) {
    const std::string path = dir.File(name);
    CAudioKiv kiv;
    EXPECT_TRUE(kiv.Create(path.c_str()));
    CAudioKivItem item;
    for (int i = 0; i < count; ++i) {
        item.SetValue(1, 100 + i);
        item.SetValue(2, 90000 + 1920 * i);
        item.SetValue(3, 90000 + 1920 * i);
        EXPECT_TRUE(kiv.WriteItem(item));
    }
    return path;
}

TEST(KivFile, TenAudioItemsMakeAFileOf144Bytes) {
    TempDir dir;
    const std::string path = WriteAudioFile(dir, "a.kiv", 10);
    const std::vector<uint8_t> bytes = TempDir::Read(path);
    ASSERT_EQ(bytes.size(), 4u + 140u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4), (std::vector<uint8_t>{0, 0, 0, 2}));
    // Item 1 starts right after item 0: size 101 sits in bytes 1 to 4 of the second item.
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 18, bytes.begin() + 23),
              (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x00, 101}));

    CAudioKiv reader;
    ASSERT_TRUE(reader.Open(path.c_str()));
    EXPECT_TRUE(reader.IsOpen());
    EXPECT_EQ(reader.GetItemCount(), 10);
    EXPECT_EQ(reader.GetCurrentItemIndex(), 0);
    EXPECT_TRUE(reader.SeekToItem(10));  // exactly the end of the file
    EXPECT_EQ(reader.GetCurrentItemIndex(), 10);
    EXPECT_FALSE(reader.SeekToItem(11));
    EXPECT_FALSE(reader.SetItemIndex(11));
    EXPECT_TRUE(reader.SetItemIndex(0));

    CAudioKivItem item;
    for (int i : {7, 0, 9, 3}) {
        ASSERT_TRUE(reader.ReadItemAt(i, item)) << i;
        EXPECT_EQ(item.GetValue(1), uint64_t(100 + i));
        EXPECT_EQ(item.GetValue(3), uint64_t(90000 + 1920 * i));
        EXPECT_EQ(reader.GetCurrentItemIndex(), i + 1);
    }
    ASSERT_TRUE(reader.SeekToItem(9));
    ASSERT_TRUE(reader.ReadItem(item));
    EXPECT_FALSE(reader.ReadItem(item));  // nothing after the last item
    EXPECT_FALSE(reader.ReadItemAt(10, item));
}

TEST(KivFile, ItemOfAnotherTypeIsRefusedAndNothingIsWritten) {
    TempDir dir;
    const std::string path = dir.File("a.kiv");
    {
        CAudioKiv kiv;
        ASSERT_TRUE(kiv.Create(path.c_str()));
        CVideoKivItem video;
        CMvcDependentViewVideoKivItem mvc;
        EXPECT_FALSE(kiv.WriteItem(video));
        EXPECT_FALSE(kiv.WriteItem(mvc));
        EXPECT_EQ(kiv.GetItemCount(), 0);
    }
    EXPECT_EQ(TempDir::Read(path), (std::vector<uint8_t>{0, 0, 0, 2}));

    // The MVC writer takes only its own items, not plain video ones.
    CMvcDependentViewVideoKiv mvcKiv;
    ASSERT_TRUE(mvcKiv.Create(dir.File("m.kiv").c_str()));
    CVideoKivItem video;
    CMvcDependentViewVideoKivItem mvc;
    EXPECT_FALSE(mvcKiv.WriteItem(video));
    EXPECT_TRUE(mvcKiv.WriteItem(mvc));
    mvcKiv.Close();
    EXPECT_EQ(TempDir::Read(dir.File("m.kiv")).size(), 4u + 23u);

    CAudioKiv reader;
    ASSERT_TRUE(reader.Open(path.c_str()));
    EXPECT_FALSE(reader.ReadItem(video));
    EXPECT_FALSE(reader.ReadItemAt(0, video));
}

struct WrongTypeCase {
    std::vector<uint8_t> content;
    const char* message;
};

class KivOpenWrongType : public ::testing::TestWithParam<WrongTypeCase> {};

TEST_P(KivOpenWrongType, FailsWithTypeMessageAndCode15) {
    TempDir dir;
    const std::string path = dir.Write("x.kiv", GetParam().content);
    CAudioKiv kiv;
    EXPECT_EQ(kiv.GetErrorCode(), 5);
    EXPECT_FALSE(kiv.Open(path.c_str()));
    EXPECT_STREQ(kiv.GetErrorMessage(), GetParam().message);
    EXPECT_EQ(kiv.GetErrorCode(), 15);
    EXPECT_TRUE(kiv.IsOpen());  // the file itself did open
}

INSTANTIATE_TEST_SUITE_P(
    Files, KivOpenWrongType,
    ::testing::Values(
        WrongTypeCase{{0, 0, 0, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
                      "The kiv_file_type is invalid. current(1) real(2)"},
        WrongTypeCase{{0, 0, 0, 5}, "The kiv_file_type is invalid. current(5) real(2)"},
        WrongTypeCase{{0, 0, 2}, "The kiv_file_type is invalid. current(-1) real(2)"},
        WrongTypeCase{{}, "The kiv_file_type is invalid. current(-1) real(2)"},
        WrongTypeCase{{0x7F, 0xFF, 0xFF, 0xFF}, "The kiv_file_type is invalid. current(2147483647) real(2)"},
        WrongTypeCase{{0x00, 0x00, 0x02, 0x00}, "The kiv_file_type is invalid. current(512) real(2)"}));

TEST(KivFile, VideoFileWrittenByTheWriterIsRefusedByTheAudioWriter) {
    TempDir dir;
    const std::string path = dir.File("v.kiv");
    {
        CVideoKiv video;
        ASSERT_TRUE(video.Create(path.c_str()));
        CVideoKivItem item;
        ASSERT_TRUE(video.WriteItem(item));
    }
    CAudioKiv audio;
    EXPECT_FALSE(audio.Open(path.c_str()));
    EXPECT_STREQ(audio.GetErrorMessage(), "The kiv_file_type is invalid. current(1) real(2)");
    EXPECT_EQ(audio.GetErrorCode(), 15);
    CVideoKiv video;
    EXPECT_TRUE(video.Open(path.c_str()));
    EXPECT_EQ(video.GetItemCount(), 1);
}

TEST(KivFile, MissingFileGivesTheSystemTextAndCode8) {
    TempDir dir;
    ts_comp::kiv::CGraphicsKiv kiv;
    EXPECT_FALSE(kiv.Open(dir.File("missing.kiv").c_str()));
    EXPECT_STREQ(kiv.GetErrorMessage(), "No such file or directory");
    EXPECT_EQ(kiv.GetErrorCode(), 8);
    EXPECT_FALSE(kiv.IsOpen());
    EXPECT_EQ(kiv.GetItemCount(), -1);
    EXPECT_FALSE(kiv.SeekToItem(0));
}

TEST(KivFile, CreateInAMissingFolderFailsWithoutMessage) {
    TempDir dir;
    CAudioKiv kiv;
    EXPECT_FALSE(kiv.Create(dir.File("no/such/folder.kiv").c_str()));
    EXPECT_FALSE(kiv.IsOpen());
    EXPECT_STREQ(kiv.GetErrorMessage(), "");
    EXPECT_EQ(kiv.GetErrorCode(), 5);
}

TEST(KivFile, CreateTruncatesAnExistingFileAndClosesTheOpenOne) {
    TempDir dir;
    const std::string path = WriteAudioFile(dir, "a.kiv", 3);
    CAudioKiv kiv;
    ASSERT_TRUE(kiv.Open(path.c_str()));
    const std::string other = dir.File("b.kiv");
    ASSERT_TRUE(kiv.Create(other.c_str()));
    PRIVATE_LIBRARY::CL_CString openPath;
    kiv.GetFilePath(openPath);
    EXPECT_EQ(std::string(openPath.GetString()), other);
    kiv.Close();
    EXPECT_FALSE(kiv.IsOpen());
    ASSERT_TRUE(kiv.Create(path.c_str()));
    kiv.Close();
    EXPECT_EQ(TempDir::Read(path).size(), 4u);
}

TEST(KivFile, CountIgnoresATruncatedLastItem) {
    TempDir dir;
    const std::string path = WriteAudioFile(dir, "a.kiv", 2);
    std::vector<uint8_t> bytes = TempDir::Read(path);
    bytes.resize(bytes.size() - 5);
    dir.Write("a.kiv", bytes);
    CAudioKiv kiv;
    ASSERT_TRUE(kiv.Open(path.c_str()));
    EXPECT_EQ(kiv.GetItemCount(), 1);
    CAudioKivItem item;
    EXPECT_TRUE(kiv.ReadItemAt(0, item));
    EXPECT_FALSE(kiv.ReadItemAt(1, item));  // a short read
}

TEST(KivFile, ManyItemsThroughTheBufferRoundTrip) {
    // More items than fit in one buffer of the file, so the buffer is written out several times.
    TempDir dir;
    const std::string path = dir.File("v.kiv");
    const int count = 50000;
    {
        CVideoKiv kiv;
        ASSERT_TRUE(kiv.Create(path.c_str()));
        CVideoKivItem item;
        for (int i = 0; i < count; ++i) {
            item.SetValue(1, i);
            item.SetValue(3, uint64_t(i) * 3003);
            item.SetValue(7, i % 3);
            ASSERT_TRUE(kiv.WriteItem(item));
        }
        EXPECT_EQ(kiv.GetItemCount(), count);
        EXPECT_EQ(kiv.GetCurrentItemIndex(), count);
    }
    CVideoKiv kiv;
    ASSERT_TRUE(kiv.Open(path.c_str()));
    ASSERT_EQ(kiv.GetItemCount(), count);
    CVideoKivItem item;
    for (int i = 0; i < count; ++i) {
        ASSERT_TRUE(kiv.ReadItem(item));
        ASSERT_EQ(item.GetValue(1), uint64_t(i));
        ASSERT_EQ(item.GetValue(3), uint64_t(i) * 3003);
        ASSERT_EQ(item.GetValue(7), uint64_t(i % 3));
    }
}

TEST(KivFactory, EachTypeGivesItsWriterAndItem) {
    for (uint32_t type : {1u, 2u, 3u, 5u}) {
        std::unique_ptr<CKiv> kiv = CKivFactory::MakeKiv(type);
        std::unique_ptr<CKivItem> item = CKivFactory::MakeItem(type);
        ASSERT_NE(kiv, nullptr);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(kiv->GetKivFileType(), type);
        EXPECT_EQ(item->GetItemType(), type);
        EXPECT_EQ(kiv->GetItemSize(), item->GetItemSize());
        EXPECT_NE(CKivFactory::GetTypeName(type), nullptr);
    }
    for (uint32_t type : {0u, 4u, 6u, 255u, 0xFFFFFFFFu}) {
        EXPECT_EQ(CKivFactory::MakeKiv(type), nullptr) << type;
        EXPECT_EQ(CKivFactory::MakeItem(type), nullptr) << type;
        EXPECT_EQ(CKivFactory::GetTypeName(type), nullptr) << type;
    }
}

}  // namespace
