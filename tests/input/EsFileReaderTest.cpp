// ES file reader: which files go to Varnel, answers without a file, plain-file reads, seeks and views.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/CL_CString.h"
#include "input/CBinaryBuffer.h"
#include "input/CEsFileReader.h"
#include "input/CVarnelLibrary.h"
#include "support/TempDir.h"

namespace {

using ts_comp::es::CEsFileReader;
using Bytes = std::vector<uint8_t>;

constexpr size_t kWindow = 262144;

Bytes Counting(size_t size) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i ^ (i >> 8) ^ (i >> 16));
    return bytes;
}

std::string FileName(CEsFileReader& reader) {
    PRIVATE_LIBRARY::CL_CString out("junk");
    return reader.GetFileName(out).GetString();
}

TEST(EsFileReader, VarnelPathsEndInUpperCaseVesAfterMoreThanThreeCharacters) {
    for (const char* path : {"a.VES", "xVES", "/d/VES"}) EXPECT_TRUE(CEsFileReader::IsVarnelPath(path)) << path;
    for (const char* path : {"VES", "a.ves", "a.VEs", "a.VES.bin", ""}) EXPECT_FALSE(CEsFileReader::IsVarnelPath(path));
    EXPECT_FALSE(CEsFileReader::IsVarnelPath(nullptr));
}

// Without a file (never opened, or Varnel missing for a .VES name) every query answers its empty value.
TEST(EsFileReader, WithoutAFile) {
    ASSERT_FALSE(ts_comp::es::CVarnelLibrary::Get().IsLoaded()) << "a libvarnel.so is on the loader path";
    kiv_test::TempDir dir;
    CEsFileReader never, varnel;
    EXPECT_FALSE(varnel.Open(dir.Write("a.VES", {1, 2, 3}).c_str()));
    EXPECT_STREQ(varnel.GetLastErrorText(), "");
    EXPECT_EQ(never.GetLastErrorText(), nullptr);
    for (CEsFileReader* r : {&never, &varnel}) {
        EXPECT_EQ(r->GetLastErrorNumber(), 0);
        EXPECT_FALSE(r->IsOpen());
        EXPECT_EQ(FileName(*r), "");
        EXPECT_EQ(r->Tell(), 0);
        EXPECT_EQ(r->GetLength(), 0);
        EXPECT_FALSE(r->Rewind());
        EXPECT_FALSE(r->Seek(0, 0));
        uint8_t byte = 0;
        EXPECT_EQ(r->Read(&byte, 1), 0u);
        const uint8_t* data = nullptr;
        EXPECT_EQ(r->PeekBuffered(&data), 0u);
        EXPECT_EQ(r->Skip(5), 0u);
    }
    ts_comp::CBinaryBuffer bits;
    EXPECT_FALSE(bits.Open(dir.File("a.VES").c_str()));
    CEsFileReader missing;
    EXPECT_FALSE(missing.Open(dir.File("missing.es").c_str()));
    EXPECT_EQ(missing.GetLastErrorNumber(), ENOENT);
    EXPECT_STREQ(missing.GetLastErrorText(), std::strerror(ENOENT));
    EXPECT_EQ(missing.Tell(), -1) << "a plain file that failed to open answers as a closed file";
    EXPECT_EQ(missing.GetLength(), -1);
}

TEST(EsFileReader, PlainFileNameSeeksAndRewind) {
    kiv_test::TempDir dir;
    const Bytes bytes = Counting(kWindow + 50);
    const std::string path = dir.Write("b.ves", bytes);
    CEsFileReader reader;
    ASSERT_TRUE(reader.Open((dir.Path() + "//b.ves").c_str()));
    EXPECT_EQ(FileName(reader), path);
    uint8_t byte = 0;
    ASSERT_TRUE(reader.Seek(kWindow + 10, 0));
    ASSERT_EQ(reader.Read(&byte, 1), 1u);
    EXPECT_EQ(byte, bytes[kWindow + 10]);
    ASSERT_TRUE(reader.Seek(7, 5));  // unknown origin: from the start
    EXPECT_EQ(reader.Tell(), 7);
    ASSERT_TRUE(reader.Seek(-2, 2));
    EXPECT_EQ(reader.Tell(), static_cast<int64_t>(kWindow) + 48);
    ASSERT_TRUE(reader.Seek(-static_cast<int64_t>(kWindow), 1));
    EXPECT_EQ(reader.Tell(), 48);
    ASSERT_TRUE(reader.Seek(kWindow + 5, 0));
    ASSERT_EQ(reader.Read(&byte, 1), 1u);
    ASSERT_TRUE(reader.Rewind());
    ASSERT_EQ(reader.Read(&byte, 1), 1u);
    EXPECT_EQ(byte, bytes[0]) << "rewind delivers the first bytes though the buffer holds later ones";
    ASSERT_TRUE(reader.Seek(kWindow + 45, 0));
    uint8_t got[10] = {};
    EXPECT_EQ(reader.Read(got, 10), 5u);
    EXPECT_STREQ(reader.GetLastErrorText(), "The function tries to read at end of file");
}

// Chunked reads, views taken all but 3 bytes at a time, and skips give the whole file.
TEST(EsFileReader, ChunkedReadsViewsAndSkipsGiveTheFile) {
    kiv_test::TempDir dir;
    for (size_t size : {size_t{0}, size_t{1}, kWindow, kWindow + 1, 3 * kWindow + 17}) {
        SCOPED_TRACE(size);
        const Bytes bytes = Counting(size);
        CEsFileReader reader;
        ASSERT_TRUE(reader.Open(dir.Write("c.es", bytes).c_str()));
        EXPECT_EQ(reader.GetLength(), static_cast<int64_t>(size));
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
        ASSERT_TRUE(reader.Seek(0, 0));
        EXPECT_EQ(reader.Skip(kWindow - 2), std::min(size, kWindow - 2));
        EXPECT_EQ(reader.Read(chunk, 4), std::min<size_t>(4, size - std::min(size, kWindow - 2)));
        EXPECT_EQ(reader.Skip(size), size - std::min(size, kWindow + 2));
        EXPECT_EQ(reader.Tell(), static_cast<int64_t>(size));
    }
}

}  // namespace
