// ES file reader and bit buffer over both kinds of file, with the fake libvarnel.so on the loader path:
// plain files through their 256 KiB buffer, .VES files through Varnel's 64 KiB chunks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#include "foundation/CL_CString.h"
#include "input/CBinaryBuffer.h"
#include "input/CEsFileReader.h"
#include "input/CVarnelLibrary.h"
#include "support/KivReader.h"

namespace {

using ts_comp::es::CEsFileReader;
using Bytes = std::vector<uint8_t>;

TEST(EsFiles, ReadSeekViewAndFailLikeAFile) {
    ASSERT_TRUE(ts_comp::es::CVarnelLibrary::Get().IsLoaded()) << "fake libvarnel.so not found";
    // The bytes one view holds, whether the name is normalised (Varnel reports it as given), the text after a
    // short read at the end, errno recorded for a missing file (Varnel gives a text and no number), Tell and
    // GetLength after a failed open.
    const struct { const char* name; uint32_t window; bool normalisedName; const char* endText; int missingError; int64_t missingTell; } rows[] = {
        {"b.es", 262144, true, "The function tries to read at end of file", ENOENT, -1}, {"b.VES", 65536, false, nullptr, 0, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        kiv_test::TempDir dir;
        std::mt19937 rng(row.window);
        Bytes bytes(2 * row.window + 3);
        for (auto& b : bytes) b = static_cast<uint8_t>(rng() % 3 == 0 ? 0 : rng());
        const auto size = static_cast<int64_t>(bytes.size());
        const std::string path = dir.Write(row.name, bytes), asGiven = dir.Path() + "//" + row.name;
        CEsFileReader r;
        ASSERT_TRUE(r.Open(asGiven.c_str()));
        PRIVATE_LIBRARY::CL_CString name;
        EXPECT_EQ(std::string(r.GetFileName(name).GetString()), row.normalisedName ? path : asGiven);
        EXPECT_EQ(r.GetLength(), size);
        // Views, reads and a step back keep logical positions.
        const uint8_t* data = nullptr;
        uint8_t got[8] = {};
        const auto next = [&r, &got] { return r.Read(got, 1) == 1 ? got[0] : -1; };  // the byte read, -1 for none
        ASSERT_EQ(r.PeekBuffered(&data), row.window);
        r.ConsumeBuffered(10);
        ASSERT_EQ(r.Read(got, 5), 5u);
        EXPECT_EQ(got[0], bytes[10]);
        ASSERT_EQ(r.PeekBuffered(&data), row.window - 15);
        EXPECT_EQ(data[0], bytes[15]);
        r.ConsumeBuffered(5);
        ASSERT_TRUE(r.Seek(-3, 1));
        EXPECT_EQ(next(), bytes[17]);
        EXPECT_EQ(r.Skip(row.window), row.window);
        EXPECT_EQ(r.Tell(), row.window + 18);
        // Seeks (offset, origin, position), each followed by a read of the byte there.
        const int64_t w = row.window;
        const int64_t seeks[][3] = {{100, 7, 100}, {-10, 2, size - 10}, {-w, 1, size - 9 - w}, {w + 5, 0, w + 5}};
        for (const auto& s : seeks) {
            ASSERT_TRUE(r.Seek(s[0], static_cast<int>(s[1]))) << s[0];
            EXPECT_EQ(r.Tell(), s[2]);
            EXPECT_EQ(next(), bytes[static_cast<size_t>(s[2])]);
        }
        EXPECT_FALSE(r.Seek(-size - 5, 1));
        ASSERT_TRUE(r.Rewind());
        EXPECT_EQ(next(), bytes[0]) << "rewind delivers the first bytes though the buffer holds later ones";
        ASSERT_TRUE(r.Seek(-5, 2));
        EXPECT_EQ(r.Read(got, 8), 5u);
        EXPECT_STREQ(row.endText == nullptr ? nullptr : r.GetLastErrorText(), row.endText);
        CEsFileReader missing;
        EXPECT_FALSE(missing.Open((dir.Path() + "/missing" + row.name).c_str()));
        EXPECT_EQ(missing.GetLastErrorNumber(), row.missingError);
        EXPECT_STREQ(missing.GetLastErrorText(), std::strerror(ENOENT));
        EXPECT_EQ(std::make_pair(missing.Tell(), missing.GetLength()), std::make_pair(row.missingTell, row.missingTell));
        // The bit buffer across views: every byte, searches for the first 00 00, a peek across a view's end.
        ts_comp::CBinaryBuffer b;
        ASSERT_TRUE(b.Open(path.c_str()));
        EXPECT_EQ(b.GetSize(), size);
        for (const uint8_t byte : bytes) ASSERT_EQ(b.ReadByte(), byte);
        EXPECT_THROW(b.ReadByte(), ts_comp::CBinaryBuffer::BinaryBufferReadException);
        for (size_t start : {0u, row.window - 1u, 2u * row.window - 5u}) {
            const auto pair =
                std::adjacent_find(bytes.begin() + start, bytes.end(), [](int x, int y) { return x == 0 && y == 0; });
            ASSERT_TRUE(b.Seek(static_cast<int64_t>(start), 0));
            EXPECT_EQ(b.SearchCode(0x0000), pair != bytes.end());
            EXPECT_EQ(b.Tell(), pair - bytes.begin());
        }
        ASSERT_TRUE(b.Seek(w - 1, 0));
        uint64_t peeked = 0;
        EXPECT_EQ(b.PeekBits(&peeked, 24), 24u);
        EXPECT_EQ(peeked, kiv_test::KivBits(bytes.data(), static_cast<unsigned>(w - 1) * 8, 24));
        EXPECT_EQ(b.GetBits(24), peeked);
    }
}

}  // namespace
