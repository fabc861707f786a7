// ES file reader: implementation choice, values without implementation, plain-file behaviour, Varnel absent.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/CL_CString.h"
#include "input/CBinaryBuffer.h"
#include "input/CEsFileImpVNLDLL.h"
#include "input/CEsFileReader.h"
#include "input/CVarnelLibrary.h"
#include "support/TempDir.h"

namespace {

using PRIVATE_LIBRARY::CL_CString;
using ts_comp::es::CEsFileReader;
using Bytes = std::vector<uint8_t>;

constexpr size_t kWindow = 262144;

Bytes Counting(size_t size) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i ^ (i >> 8) ^ (i >> 16));
    return bytes;
}

std::string FileName(CEsFileReader& reader) {
    CL_CString out("junk");
    return reader.GetFileName(out).GetString();
}

struct PathCase {
    const char* path;
    bool varnel;
};

class VarnelPaths : public ::testing::TestWithParam<PathCase> {};

TEST_P(VarnelPaths, UpperCaseSuffixAfterMoreThanThreeCharacters) {
    EXPECT_EQ(CEsFileReader::IsVarnelPath(GetParam().path), GetParam().varnel) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Names, VarnelPaths,
                         ::testing::Values(PathCase{"a.VES", true}, PathCase{"xVES", true}, PathCase{"/d/VES", true},
                                           PathCase{"VES", false}, PathCase{"a.ves", false}, PathCase{"a.VEs", false},
                                           PathCase{"a.VES.bin", false}, PathCase{"ES", false}, PathCase{"", false},
                                           PathCase{nullptr, false}));

TEST(EsFileReader, WithoutImplementation) {
    CEsFileReader reader;
    EXPECT_EQ(reader.GetLastErrorText(), nullptr);
    EXPECT_EQ(reader.GetLastErrorNumber(), 0);
    EXPECT_FALSE(reader.IsReadable());
    EXPECT_EQ(FileName(reader), "");
    EXPECT_EQ(reader.Tell(), 0);
    EXPECT_FALSE(reader.Rewind());
    EXPECT_EQ(reader.GetLength(), 0);
    EXPECT_FALSE(reader.IsOpen());
    uint8_t byte = 0;
    EXPECT_EQ(reader.Read(&byte, 1), 0u);
    EXPECT_FALSE(reader.Seek(0, 0));
    const uint8_t* data = nullptr;
    EXPECT_EQ(reader.PeekBuffered(&data), 0u);
    EXPECT_EQ(reader.Skip(5), 0u);
    reader.Close();
    EXPECT_EQ(reader.Tell(), 0);
}

class PlainFile : public ::testing::Test {
protected:
    kiv_test::TempDir m_dir;
};

TEST_F(PlainFile, FailedOpenKeepsTheError) {
    CEsFileReader reader;
    EXPECT_FALSE(reader.Open(m_dir.File("missing.es").c_str()));
    EXPECT_EQ(reader.GetLastErrorNumber(), ENOENT);
    ASSERT_NE(reader.GetLastErrorText(), nullptr);
    EXPECT_STREQ(reader.GetLastErrorText(), std::strerror(ENOENT));
    EXPECT_FALSE(reader.IsOpen());
    uint8_t byte = 0;
    EXPECT_EQ(reader.Read(&byte, 1), 0u);
    EXPECT_FALSE(reader.Seek(0, 0));
    EXPECT_EQ(reader.Tell(), -1);
    EXPECT_EQ(reader.GetLength(), -1);
}

TEST_F(PlainFile, NameLengthAndShortReadAtTheEnd) {
    const std::string path = m_dir.Write("a.ves", {1, 2, 3, 4});
    CEsFileReader reader;
    const std::string doubled = m_dir.Path() + "//a.ves";
    ASSERT_TRUE(reader.Open(doubled.c_str()));
    EXPECT_TRUE(reader.IsReadable());
    EXPECT_EQ(FileName(reader), path);
    EXPECT_EQ(reader.GetLength(), 4);
    uint8_t got[10] = {};
    EXPECT_EQ(reader.Read(got, 10), 4u);
    EXPECT_EQ(got[3], 4);
    EXPECT_STREQ(reader.GetLastErrorText(), "The function tries to read at end of file");
    EXPECT_EQ(reader.Tell(), 4);
}

TEST_F(PlainFile, SeekOriginsAndRewind) {
    const Bytes bytes = Counting(kWindow + 50);
    CEsFileReader reader;
    ASSERT_TRUE(reader.Open(m_dir.Write("b.es", bytes).c_str()));
    uint8_t byte = 0;
    ASSERT_TRUE(reader.Seek(kWindow + 10, 0));
    ASSERT_EQ(reader.Read(&byte, 1), 1u);
    EXPECT_EQ(byte, bytes[kWindow + 10]);
    ASSERT_TRUE(reader.Seek(7, 5));  // unknown origin: from the start
    EXPECT_EQ(reader.Tell(), 7);
    ASSERT_TRUE(reader.Seek(-2, 2));
    EXPECT_EQ(reader.Tell(), static_cast<int64_t>(bytes.size()) - 2);
    ASSERT_TRUE(reader.Seek(-kWindow, 1));
    EXPECT_EQ(reader.Tell(), 48);
    // The read buffer holds later data; Rewind must still deliver the first bytes.
    ASSERT_TRUE(reader.Seek(kWindow + 5, 0));
    ASSERT_EQ(reader.Read(&byte, 1), 1u);
    ASSERT_TRUE(reader.Rewind());
    uint8_t first[3] = {};
    ASSERT_EQ(reader.Read(first, 3), 3u);
    EXPECT_EQ(Bytes(first, first + 3), Bytes(bytes.begin(), bytes.begin() + 3));
}

class PlainSizes : public PlainFile, public ::testing::WithParamInterface<size_t> {};

TEST_P(PlainSizes, ChunkedReadsAndBulkViewGiveTheFile) {
    const Bytes bytes = Counting(GetParam());
    CEsFileReader reader;
    ASSERT_TRUE(reader.Open(m_dir.Write("c.es", bytes).c_str()));
    EXPECT_EQ(reader.GetLength(), static_cast<int64_t>(bytes.size()));
    Bytes seen;
    uint8_t chunk[1000];
    for (uint32_t n; (n = reader.Read(chunk, sizeof chunk)) != 0;) seen.insert(seen.end(), chunk, chunk + n);
    EXPECT_EQ(seen, bytes);
    ASSERT_TRUE(reader.Rewind());
    seen.clear();
    const uint8_t* data = nullptr;
    for (uint32_t n; (n = reader.PeekBuffered(&data)) != 0;) {
        const uint32_t take = n > 3 ? n - 3 : n;
        seen.insert(seen.end(), data, data + take);
        reader.ConsumeBuffered(take);
        ASSERT_EQ(reader.Tell(), static_cast<int64_t>(seen.size()));
    }
    EXPECT_EQ(seen, bytes);
    ASSERT_TRUE(reader.Rewind());
    EXPECT_EQ(reader.Skip(3), std::min<uint64_t>(3, bytes.size()));
    EXPECT_EQ(reader.Skip(bytes.size()), bytes.size() > 3 ? bytes.size() - 3 : 0);
    EXPECT_EQ(reader.Tell(), static_cast<int64_t>(bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(Sizes, PlainSizes, ::testing::Values(0, 1, kWindow, kWindow + 1, 3 * kWindow + 17));

TEST_F(PlainFile, SkipThenReadAcrossTheBoundary) {
    const Bytes bytes = Counting(kWindow + 100);
    CEsFileReader reader;
    ASSERT_TRUE(reader.Open(m_dir.Write("d.es", bytes).c_str()));
    EXPECT_EQ(reader.Skip(kWindow - 2), kWindow - 2);
    uint8_t got[4] = {};
    ASSERT_EQ(reader.Read(got, 4), 4u);
    EXPECT_EQ(Bytes(got, got + 4), Bytes(bytes.begin() + kWindow - 2, bytes.begin() + kWindow + 2));
    EXPECT_EQ(reader.Skip(1000), 98u);
}

TEST_F(PlainFile, VarnelAbsentFailsWithoutErrorNumber) {
    ASSERT_FALSE(ts_comp::es::CVarnelLibrary::Get().IsLoaded()) << "a libvarnel.so is on the loader path";
    const std::string path = m_dir.Write("a.VES", {1, 2, 3});
    CEsFileReader reader;
    EXPECT_FALSE(reader.Open(path.c_str()));
    EXPECT_EQ(reader.GetLastErrorNumber(), 0);
    ASSERT_NE(reader.GetLastErrorText(), nullptr);
    EXPECT_STREQ(reader.GetLastErrorText(), "");
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(reader.Tell(), 0);
    EXPECT_EQ(reader.GetLength(), 0);
    EXPECT_FALSE(reader.Rewind());
    EXPECT_FALSE(reader.Seek(0, 0));
    EXPECT_EQ(FileName(reader), "");
    uint8_t byte = 0;
    EXPECT_EQ(reader.Read(&byte, 1), 0u);
    ts_comp::es::CEsFileImpVNLDLL direct;
    EXPECT_EQ(direct.GetEsType(), 0);
    ts_comp::CBinaryBuffer bits;
    EXPECT_FALSE(bits.Open(path.c_str()));
    // The same bytes under a lower-case name are an ordinary file.
    CEsFileReader plain;
    EXPECT_TRUE(plain.Open(m_dir.Write("a.ves", {1, 2, 3}).c_str()));
}

}  // namespace
