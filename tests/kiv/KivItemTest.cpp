// Bit packing of the four item kinds: member tables, exact bytes, field isolation, hostile tables.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "kiv/CAudioKivItem.h"
#include "kiv/CGraphicsKivItem.h"
#include "kiv/CKivFactory.h"
#include "kiv/CMvcDependentViewVideoKivItem.h"
#include "kiv/CVideoKivItem.h"

namespace {

using ts_comp::kiv::CAudioKivItem;
using ts_comp::kiv::CGraphicsKivItem;
using ts_comp::kiv::CKivFactory;
using ts_comp::kiv::CKivItem;
using ts_comp::kiv::CKivMember;
using ts_comp::kiv::CMvcDependentViewVideoKivItem;
using ts_comp::kiv::CVideoKivItem;

std::vector<uint8_t> Bytes(const CKivItem& item) {
    return std::vector<uint8_t>(item.GetBytes(), item.GetBytes() + item.GetItemSize());
}

void Fill(CKivItem& item, const std::vector<std::pair<uint64_t, uint64_t>>& values) {
    for (const auto& v : values) item.SetValue(v.first, v.second);
}

// ---- exact bytes ------------------------------------------------------------------------------

struct PackCase {
    const char* name;
    uint32_t type;
    std::vector<std::pair<uint64_t, uint64_t>> values;
    std::vector<uint8_t> bytes;
};

class PackTest : public ::testing::TestWithParam<PackCase> {};

TEST_P(PackTest, PacksToExactBytes) {
    const PackCase& c = GetParam();
    std::unique_ptr<CKivItem> item = CKivFactory::MakeItem(c.type);
    ASSERT_NE(item, nullptr);
    Fill(*item, c.values);
    EXPECT_EQ(Bytes(*item), c.bytes);
    for (const auto& v : c.values) {
        const uint64_t width = [&] {
            CKivMember m;
            EXPECT_TRUE(item->FindMember(v.first, m));
            return m.GetBitWidth();
        }();
        const uint64_t expected = width == 64 ? v.second : v.second & ((uint64_t{1} << width) - 1);
        EXPECT_EQ(item->GetValue(v.first), expected) << "id " << v.first;
    }
}

const uint64_t k2Pow33 = uint64_t{1} << 33;

INSTANTIATE_TEST_SUITE_P(
    Items, PackTest,
    ::testing::Values(
        PackCase{"AudioUnit", 2, {{0, 0}, {1, 964}, {2, 90000}, {3, 90000}},
                 {0x00, 0x00, 0x00, 0x03, 0xC4, 0x00, 0x00, 0xAF, 0xC8, 0x00, 0x00, 0x57, 0xE4, 0x00}},
        PackCase{"AudioEndItem", 2, {{0, 255}, {1, 0}, {2, 0}, {3, 90450}},
                 {0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x58, 0x54, 0x80}},
        PackCase{"VideoClosedGopFieldPair",
                 1,
                 {{0, 1}, {1, 1000}, {2, 3003}, {3, 6006}, {6, 1}, {7, 3}},
                 {0x01, 0x00, 0x00, 0x03, 0xE8, 0x00, 0x00, 0x05, 0xDD, 0x80, 0x00, 0x05, 0xDD, 0x80, 0x70}},
        // Time stamps at or above 2^33 keep their low 33 bits: the same bytes as 90000 and 6006.
        PackCase{"AudioPtsModulo33Bits", 2, {{0, 0}, {1, 964}, {2, k2Pow33 + 90000}, {3, 3 * k2Pow33 + 90000}},
                 {0x00, 0x00, 0x00, 0x03, 0xC4, 0x00, 0x00, 0xAF, 0xC8, 0x00, 0x00, 0x57, 0xE4, 0x00}},
        PackCase{"VideoPtsModulo33Bits",
                 1,
                 {{0, 1}, {1, 1000}, {2, 3003}, {3, k2Pow33 + 6006}, {6, 1}, {7, 3}},
                 {0x01, 0x00, 0x00, 0x03, 0xE8, 0x00, 0x00, 0x05, 0xDD, 0x80, 0x00, 0x05, 0xDD, 0x80, 0x70}},
        PackCase{"VideoSequenceEndOnly", 1, {{5, 1}},
                 {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}},
        PackCase{"GraphicsFlags",
                 3,
                 {{0, 0x16}, {1, 0x1234}, {2, 1}, {3, k2Pow33 - 1}, {5, 2}, {6, 1}, {7, 0}},
                 {0x16, 0x00, 0x00, 0x12, 0x34, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xC0, 0xA0}},
        PackCase{"GraphicsLastFlag", 3, {{7, 1}}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x10}},
        PackCase{"MvcOffsets",
                 5,
                 {{0, 1}, {1, 1000}, {2, 3003}, {3, 6006}, {6, 1}, {7, 3}, {9, 0x12345678}, {10, 0x9ABCDEF0}},
                 {0x01, 0x00, 0x00, 0x03, 0xE8, 0x00, 0x00, 0x05, 0xDD, 0x80, 0x00, 0x05, 0xDD, 0x80, 0x70,
                  0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0}},
        // A size wider than 32 bits is cut to its low 32 bits; all-ones fill the field exactly.
        PackCase{"AudioSizeCut", 2, {{1, 0x1FFFFFFFFull}, {0, 0x1FF}},
                 {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        PackCase{"AudioReservedAllOnes", 2, {{4, 0x3F}}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x3F}}),
    [](const ::testing::TestParamInfo<PackCase>& info) { return std::string(info.param.name); });

// ---- member tables ----------------------------------------------------------------------------

struct TableCase {
    uint32_t type;
    uint32_t size;
    std::vector<std::pair<uint64_t, std::string>> members;  // id, name in packing order
    std::vector<uint64_t> widths;
};

class MemberTableTest : public ::testing::TestWithParam<TableCase> {};

TEST_P(MemberTableTest, IdsNamesWidthsAndPositions) {
    const TableCase& c = GetParam();
    std::unique_ptr<CKivItem> item = CKivFactory::MakeItem(c.type);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetItemType(), c.type);
    EXPECT_EQ(item->GetItemSize(), c.size);
    ASSERT_EQ(item->GetMemberCount(), c.members.size());
    uint64_t position = uint64_t{c.size} * 8 - 1;
    for (size_t i = 0; i < c.members.size(); ++i) {
        CKivMember member = item->GetMemberAt(i);
        PRIVATE_LIBRARY::CL_CString name;
        member.GetName(name);
        EXPECT_EQ(member.GetId(), c.members[i].first) << i;
        EXPECT_STREQ(name.GetString(), c.members[i].second.c_str()) << i;
        EXPECT_EQ(member.GetBitWidth(), c.widths[i]) << i;
        EXPECT_EQ(member.GetBitPosition(), position) << c.members[i].second;
        position -= c.widths[i];
        CKivMember found;
        ASSERT_TRUE(item->FindMember(c.members[i].first, found));
        EXPECT_EQ(found.GetBitPosition(), member.GetBitPosition());
    }
    // The fields fill the item exactly: the next free bit is the one before bit 0.
    EXPECT_EQ(position, UINT64_MAX);
    CKivMember none;
    EXPECT_FALSE(item->FindMember(11, none));
}

const std::vector<std::pair<uint64_t, std::string>> kCommon = {
    {0, "enc_item_type"}, {1, "enc_item_size"}, {2, "dts"}, {3, "pts"}, {4, "reserved1"}};

std::vector<std::pair<uint64_t, std::string>> With(std::vector<std::pair<uint64_t, std::string>> extra) {
    std::vector<std::pair<uint64_t, std::string>> all = kCommon;
    all.insert(all.end(), extra.begin(), extra.end());
    return all;
}

INSTANTIATE_TEST_SUITE_P(
    Items, MemberTableTest,
    ::testing::Values(
        TableCase{2, 14, kCommon, {8, 32, 33, 33, 6}},
        TableCase{1, 15,
                  With({{5, "sequence_end_code"}, {6, "closed_gop"}, {7, "picture_structure"}, {8, "reserved2"}}),
                  {8, 32, 33, 33, 6, 1, 1, 2, 4}},
        TableCase{3, 15,
                  With({{5, "enc_sub_item_type"}, {6, "first_in_sequence_flag"}, {7, "last_in_sequence_flag"},
                        {8, "reserved2"}}),
                  {8, 32, 33, 33, 6, 2, 1, 1, 4}},
        TableCase{5, 23,
                  With({{5, "sequence_end_code"}, {6, "closed_gop"}, {7, "picture_structure"}, {8, "reserved2"},
                        {9, "offset_metadata_pos"}, {10, "offset_metadata_size"}}),
                  {8, 32, 33, 33, 6, 1, 1, 2, 4, 32, 32}}));

// ---- field isolation and value semantics -------------------------------------------------------

TEST(KivItemValues, ClearingOneFieldLeavesEveryOtherFieldIntact) {
    for (uint32_t type : {1u, 2u, 3u, 5u}) {
        std::unique_ptr<CKivItem> item = CKivFactory::MakeItem(type);
        for (size_t i = 0; i < item->GetMemberCount(); ++i) item->SetValue(item->GetMemberAt(i).Id(), ~uint64_t{0});
        for (size_t i = 0; i < item->GetItemSize(); ++i) ASSERT_EQ(item->GetBytes()[i], 0xFF) << type;
        for (size_t target = 0; target < item->GetMemberCount(); ++target) {
            std::unique_ptr<CKivItem> copy = CKivFactory::MakeItem(type);
            *copy = *item;
            const uint64_t id = copy->GetMemberAt(target).Id();
            copy->SetValue(id, 0);
            EXPECT_EQ(copy->GetValue(id), 0u);
            for (size_t other = 0; other < copy->GetMemberCount(); ++other) {
                if (other == target) continue;
                const CKivMember& m = copy->GetMemberAt(other);
                EXPECT_EQ(copy->GetValue(m.Id()), (uint64_t{1} << m.BitWidth()) - 1)
                    << "type " << type << " cleared " << id << " broke " << m.Name();
            }
        }
    }
}

TEST(KivItemValues, UnknownIdReadsZeroAndWritesNothing) {
    CVideoKivItem item;
    item.SetValue(3, 12345);
    const std::vector<uint8_t> before = Bytes(item);
    item.SetValue(42, ~uint64_t{0});
    EXPECT_EQ(Bytes(item), before);
    EXPECT_EQ(item.GetValue(42), 0u);
    EXPECT_EQ(item.GetValue(3), 12345u);
}

TEST(KivItemValues, ReusedItemKeepsFieldsNotSetAgain) {
    CAudioKivItem item;
    item.SetValue(1, 964);
    item.SetValue(3, 90000);
    item.SetValue(3, 91920);
    EXPECT_EQ(item.GetValue(1), 964u);
    EXPECT_EQ(item.GetValue(3), 91920u);
}

TEST(KivItemValues, AnItemStartsZeroFilled) {
    CMvcDependentViewVideoKivItem item;
    EXPECT_EQ(Bytes(item), std::vector<uint8_t>(23, 0));
    EXPECT_EQ(item.GetItemType(), 5u);
}

// A derived table may add members; a width above 64 is refused and one that runs past the last
// byte must neither write outside the item nor disturb the packed fields.
class ExtendedAudioItem : public CAudioKivItem {
public:
    ExtendedAudioItem() {
        AddMember(20, "too_wide", 65);
        AddMember(21, "beyond_end", 8);
    }
};

TEST(KivItemValues, HostileMembersAreHarmless) {
    ExtendedAudioItem item;
    ASSERT_EQ(item.GetMemberCount(), 6u);  // the 65-bit member was not added
    EXPECT_STREQ(item.GetMemberAt(5).Name(), "beyond_end");
    item.SetValue(3, 90450);
    const std::vector<uint8_t> before = Bytes(item);
    item.SetValue(21, 0xFF);
    item.SetValue(20, 0xFF);
    EXPECT_EQ(Bytes(item), before);
    EXPECT_EQ(item.GetValue(21), 0u);
}

class WideItem : public CKivItem {
public:
    WideItem() : CKivItem(7, 22) { AddMember(30, "wide", 64); }
};

TEST(KivItemValues, SixtyFourBitFieldRoundTrips) {
    WideItem item;
    const uint64_t value = 0x8123456789ABCDEFull;
    item.SetValue(30, value);
    EXPECT_EQ(item.GetValue(30), value);
    // The 64-bit field fills bytes 14 to 21, most significant byte first.
    EXPECT_EQ(item.GetBytes()[14], 0x81);
    EXPECT_EQ(item.GetBytes()[15], 0x23);
    EXPECT_EQ(item.GetBytes()[21], 0xEF);
    EXPECT_EQ(item.GetValue(3), 0u);
}

// A 64-bit field that starts mid-byte spans nine bytes and cannot be moved in one 64-bit step.
class NineByteFieldItem : public CKivItem {
public:
    NineByteFieldItem() : CKivItem(7, 23) {
        AddMember(31, "pad", 4);
        AddMember(32, "wide", 64);
    }
};

TEST(KivItemValues, FieldAcrossNineBytes) {
    NineByteFieldItem item;
    item.SetValue(3, 90450);
    item.SetValue(32, 0xFEDCBA9876543215ull);
    EXPECT_EQ(std::vector<uint8_t>(item.GetBytes() + 14, item.GetBytes() + 23),
              (std::vector<uint8_t>{0x0F, 0xED, 0xCB, 0xA9, 0x87, 0x65, 0x43, 0x21, 0x50}));
    EXPECT_EQ(item.GetValue(32), 0xFEDCBA9876543215ull);
    item.SetValue(31, 0xF);
    EXPECT_EQ(item.GetBytes()[14], 0xFF);
    EXPECT_EQ(item.GetValue(32), 0xFEDCBA9876543215ull);
    item.SetValue(32, 0);
    EXPECT_EQ(item.GetValue(31), 0xFu);
    EXPECT_EQ(item.GetValue(3), 90450u);
    EXPECT_EQ(std::vector<uint8_t>(item.GetBytes() + 15, item.GetBytes() + 23), std::vector<uint8_t>(8, 0));
}

// Two members with one id: the first one added is the one set and read.
class DuplicateIdItem : public CAudioKivItem {
public:
    DuplicateIdItem() { AddMember(3, "pts_again", 8); }
};

TEST(KivItemValues, FirstMemberOfAnIdWins) {
    DuplicateIdItem item;
    item.SetValue(3, 90450);
    EXPECT_EQ(item.GetValue(3), 90450u);
    CKivMember found;
    ASSERT_TRUE(item.FindMember(3, found));
    EXPECT_STREQ(found.Name(), "pts");
}

}  // namespace
