// Varnel files through the real loader, with the fake libvarnel.so on the loader path.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "foundation/CL_CString.h"
#include "input/CBinaryBuffer.h"
#include "input/CEsFileImpVNLDLL.h"
#include "input/CEsFileReader.h"
#include "input/CVarnelLibrary.h"
#include "input/ReferenceScans.h"
#include "support/TempDir.h"

namespace {

using ts_comp::es::CEsFileReader;
using Bytes = std::vector<uint8_t>;

constexpr size_t kChunk = 65536;  // what the fake serves per read

Bytes Random(size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes bytes(size);
    for (auto& b : bytes) b = static_cast<uint8_t>(rng() % 3 == 0 ? 0 : rng());
    return bytes;
}

class Varnel : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ts_comp::es::CVarnelLibrary::Get().IsLoaded()) << "fake libvarnel.so not found"; }
    kiv_test::TempDir m_dir;
};

TEST_F(Varnel, ServesTheFileUnderItsOwnNameAndReportsItsFailures) {
    const Bytes bytes = Random(1000, 1);
    m_dir.Write("a.VES", bytes);
    const std::string asGiven = m_dir.Path() + "//a.VES";  // Varnel reports it unnormalised
    CEsFileReader reader;
    ASSERT_TRUE(reader.Open(asGiven.c_str()));
    PRIVATE_LIBRARY::CL_CString name;
    EXPECT_STREQ(reader.GetFileName(name).GetString(), asGiven.c_str());
    EXPECT_EQ(reader.GetLength(), 1000);
    ASSERT_TRUE(reader.Seek(100, 7));  // unknown origin: from the start
    EXPECT_EQ(reader.Tell(), 100);
    ASSERT_TRUE(reader.Seek(-10, 2));
    uint8_t got[8] = {};
    EXPECT_EQ(reader.Read(got, 8), 8u);
    EXPECT_EQ(got[0], bytes[990]);
    EXPECT_EQ(reader.Read(got, 8), 2u);
    EXPECT_FALSE(reader.Seek(-5000, 1));
    ts_comp::es::CEsFileImpVNLDLL direct;
    EXPECT_EQ(direct.GetEsType(), -1);
    ASSERT_TRUE(direct.Open(asGiven.c_str()));
    EXPECT_EQ(direct.GetEsType(), 7);
    CEsFileReader missing;
    EXPECT_FALSE(missing.Open(m_dir.File("missing.VES").c_str()));
    EXPECT_EQ(missing.GetLastErrorNumber(), 0) << "Varnel gives a text and no number";
    EXPECT_STREQ(missing.GetLastErrorText(), std::strerror(ENOENT));
    EXPECT_EQ(missing.Tell(), 0);
}

TEST_F(Varnel, BulkViewKeepsPositionsLogical) {
    const Bytes bytes = Random(2 * kChunk + 3, 2);
    CEsFileReader reader;
    ASSERT_TRUE(reader.Open(m_dir.Write("b.VES", bytes).c_str()));
    const uint8_t* data = nullptr;
    ASSERT_EQ(reader.PeekBuffered(&data), kChunk);
    reader.ConsumeBuffered(10);
    uint8_t got[5] = {};
    ASSERT_EQ(reader.Read(got, 5), 5u);
    EXPECT_EQ(got[0], bytes[10]);
    ASSERT_EQ(reader.PeekBuffered(&data), kChunk - 15);
    EXPECT_EQ(data[0], bytes[15]);
    reader.ConsumeBuffered(5);
    ASSERT_TRUE(reader.Seek(-3, 1));
    ASSERT_EQ(reader.Read(got, 1), 1u);
    EXPECT_EQ(got[0], bytes[17]);
    EXPECT_EQ(reader.Skip(2 * kChunk), 2 * kChunk - 15);
    EXPECT_EQ(reader.PeekBuffered(&data), 0u);
}

TEST_F(Varnel, BitBufferReadsAndSearchesAcrossChunks) {
    const Bytes bytes = Random(3 * kChunk + 11, 3);
    ts_comp::CBinaryBuffer b;
    ASSERT_TRUE(b.Open(m_dir.Write("c.VES", bytes).c_str()));
    EXPECT_EQ(b.GetSize(), static_cast<int64_t>(bytes.size()));
    Bytes seen;
    try {
        for (;;) seen.push_back(b.ReadByte());
    } catch (const ts_comp::CBinaryBuffer::BinaryBufferReadException&) {
    }
    EXPECT_EQ(seen, bytes);
    for (size_t start : {size_t{0}, kChunk - 1, 2 * kChunk - 5}) {
        const auto want = kiv_test::ReferenceSearch(bytes, start, 0x0000, UINT64_MAX >> 1);
        ASSERT_TRUE(b.Seek(static_cast<int64_t>(start), 0));
        EXPECT_EQ(b.SearchCode(0x0000), want.found);
        EXPECT_EQ(b.Tell(), want.position);
    }
    ASSERT_TRUE(b.Seek(kChunk - 1, 0));
    uint64_t peeked = 0;
    EXPECT_EQ(b.PeekBits(&peeked, 24), 24u);
    EXPECT_EQ(b.GetBits(24), peeked);
}

}  // namespace
