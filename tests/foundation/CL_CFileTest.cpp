// The buffered file: open modes, reads, views and seeks against the file's bytes, the read-ahead, buffered
// writes, failures.
#include "foundation/CL_CFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "support/TempDir.h"

namespace {

using kiv_test::TempDir;
using PRIVATE_LIBRARY::CL_CFile;
using PRIVATE_LIBRARY::CL_CString;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kBuf = 262144;
const char* const kEof = "The function tries to read at end of file";

Bytes Pattern(size_t n) {
    Bytes v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>((i * 7) ^ (i >> 8) ^ (i >> 16));
    return v;
}

class CL_CFileTest : public ::testing::Test {
protected:
    TempDir dir;
    CL_CFile f{kBuf};
};

TEST_F(CL_CFileTest, ModeTable) {
    const struct { const char* mode; bool readable, writable; uint32_t flags; bool truncates; } cases[] = {
        {"rb", true, false, 0x201, false},  {"rt", true, false, 0x001, false},   {"r+b", false, true, 0x301, false},
        {"wb", false, true, 0x202, true},   {"w+b", false, true, 0x302, true},   {"ab", false, true, 0x204, false},
        {"a+", false, true, 0x104, false},  {"xyz", false, false, 0x000, false}, {"rbw", true, true, 0x203, false},
        {"rbxw", true, false, 0x201, false},  // three letters are read
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        const std::string p = dir.Write("mode.bin", {1, 2, 3, 4});
        ASSERT_EQ(f.Open(p.c_str(), c.mode), 1);
        EXPECT_EQ(std::make_tuple(f.IsReadable(), f.IsWritable(), f.GetOpenFlags()), std::make_tuple(c.readable, c.writable, c.flags));
        f.Close();
        EXPECT_EQ(TempDir::Read(p).size(), c.truncates ? 0u : 4u);
        EXPECT_EQ(f.GetOpenFlags(), 0u);
    }
}

// Failures return 0 and record errno and its text; a closed file answers -1 or 0. Only read modes without
// "+" read and only write modes write; refused calls leave the file as it was.
TEST_F(CL_CFileTest, FailuresRecordErrno) {
    EXPECT_EQ(f.Open(dir.File("missing.bin").c_str(), "rb"), 0);
    EXPECT_EQ(f.GetLastErrorNumber(), ENOENT);
    EXPECT_STREQ(f.GetLastErrorText(), "No such file or directory");
    EXPECT_EQ(f.Open(dir.Path().c_str(), "rb"), 0);
    EXPECT_EQ(f.GetLastErrorNumber(), EISDIR);
    EXPECT_EQ(f.Open(nullptr, "rb"), 0);
    uint8_t b[4];
    EXPECT_EQ((std::tuple<int64_t, int64_t, int, int, uint32_t>{f.Tell(), f.GetLength(), f.Seek(0, 0), f.Rewind(), f.Read(b, 4, 4)}),
              std::make_tuple(-1, -1, 0, 0, 0u));
    EXPECT_EQ(f.GetLastErrorNumber(), EBADF);
    EXPECT_STREQ(f.GetLastErrorText(), "Bad file descriptor");
    const std::string p = dir.Write("rw.bin", {1, 2, 3});
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    EXPECT_EQ(f.Write("x", 1), 0u);
    EXPECT_EQ(f.GetLastErrorNumber(), EBADF);
    EXPECT_FALSE(f.WriteLine("x"));
    for (const char* mode : {"ab", "r+b", "a+b"}) {
        const uint8_t* view = nullptr;
        ASSERT_EQ(f.Open(p.c_str(), mode), 1);
        EXPECT_EQ((std::tuple<uint32_t, int, uint32_t>{f.Read(b, 2, 2), f.GetLastErrorNumber(), f.PeekBuffered(&view)}),
                  std::make_tuple(0u, EBADF, 0u)) << mode;
    }
    f.Close();
    EXPECT_EQ(TempDir::Read(p).size(), 3u);
}

TEST_F(CL_CFileTest, CreatedFileIsReadWriteForEveryoneAndPathIsNormalised) {
    const mode_t old = ::umask(0);
    ASSERT_EQ(f.Open((dir.Path() + "//.//new.bin").c_str(), "wb"), 1);
    ::umask(old);
    CL_CString path;
    EXPECT_EQ(std::string(f.GetPath(path).GetString()), dir.Path() + "/./new.bin");
    f.Close();
    EXPECT_STREQ(f.GetPath(path).GetString(), "");
    struct stat st;
    ASSERT_EQ(::stat(dir.File("new.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u);
}

// Random reads, views with consumes, and seeks from every origin to the buffer edges and past the end,
// each compared with the file's bytes and position. Counts straddle the buffer in every way.
TEST_F(CL_CFileTest, ReadsViewsAndSeeksGiveTheFilesBytes) {
    const Bytes data = Pattern(2 * kBuf + 12345);
    const auto size = static_cast<int64_t>(data.size());
    ASSERT_EQ(f.Open(dir.Write("big.bin", data).c_str(), "rb"), 1);
    const uint8_t* view = nullptr;
    ASSERT_EQ(f.PeekBuffered(&view), kBuf) << "an empty buffer is refilled by one read";
    f.ConsumeBuffered(3);
    Bytes got(3 * kBuf + 1);
    ASSERT_EQ(f.Read(got.data(), 2, 2), 2u);
    ASSERT_EQ(f.PeekBuffered(&view), kBuf - 5) << "the view goes on in the same buffer";
    const uint32_t counts[] = {0, 1, 3, 7, kBuf - 1, kBuf, kBuf + 1, 3 * kBuf};
    std::mt19937 rng(1);
    for (int64_t step = 0, pos = 5; step < 600; ++step) {
        SCOPED_TRACE("step " + std::to_string(step) + " at " + std::to_string(pos));
        const uint32_t n = counts[rng() % 8];
        const int64_t left = size - std::min(pos, size);
        if (const unsigned op = rng() % 3; op == 0) {
            const auto want = static_cast<uint32_t>(std::min<int64_t>(n, left));
            ASSERT_EQ(f.Read(got.data(), static_cast<uint32_t>(got.size()), n), want);
            ASSERT_EQ(0, std::memcmp(got.data(), data.data() + pos, want));
            if (want < n) {
                ASSERT_STREQ(f.GetLastErrorText(), kEof);
            }
            pos += want;
        } else if (op == 1) {
            const uint32_t m = f.PeekBuffered(&view);
            ASSERT_EQ(m == 0, left == 0);
            ASSERT_LE(m, std::min<int64_t>(left, kBuf));
            ASSERT_EQ(0, std::memcmp(view, data.data() + pos, m));
            f.ConsumeBuffered(n);
            pos += std::min(n, m);
        } else {
            const int64_t targets[] = {0, 1, kBuf - 1, kBuf, kBuf + 1, 2 * kBuf, size - 1, size, size + 50, pos - 1};
            const int64_t target = std::max<int64_t>(0, targets[rng() % 10]), origin = rng() % 3;
            ASSERT_EQ(f.Seek(target - (origin == 0 ? 0 : origin == 1 ? pos : size), static_cast<int>(origin)), 1);
            pos = target;
        }
        ASSERT_EQ(f.Tell(), pos);
    }
    ASSERT_EQ(f.Seek(5, 0), 1);
    EXPECT_EQ(f.Seek(-1, 0), 0);
    EXPECT_EQ(f.GetLastErrorNumber(), EINVAL);
    EXPECT_EQ(f.Seek(10, 3), 0) << "an unknown origin";
    EXPECT_EQ(f.Seek(INT64_MAX, 1), 0);
    EXPECT_EQ(f.Tell(), 5);
    EXPECT_EQ(f.Read(got.data(), 8, 20), 8u) << "bounded by the destination";
    CL_CFile small(7);
    ASSERT_EQ(small.Open(dir.File("big.bin").c_str(), "rb"), 1);
    ASSERT_EQ(small.Seek(13, 0), 1);
    ASSERT_EQ(small.Read(got.data(), 8, 8), 8u);
    EXPECT_EQ(0, std::memcmp(got.data(), data.data() + 13, 8));
}

// The file is changed behind the CL_CFile's back: a read that still sees the old bytes came from the
// read-ahead.
TEST_F(CL_CFileTest, SeeksInsideTheReadAheadStayInIt) {
    const Bytes data = Pattern(1000);
    const std::string p = dir.Write("ra.bin", data);
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    uint8_t b[4];
    const auto next = [this, &b] { return f.Read(b, 1, 1) == 1 ? b[0] : -1; };  // the byte read, -1 for none
    ASSERT_EQ(next(), data[0]);
    dir.Write("ra.bin", Bytes(1000, 0xEE));
    const int64_t steps[][3] = {{-1, 1, data[0]}, {999, 0, data[999]},
                                {1000, 0, -1},  // the end is outside the read-ahead: the file is read again
                                {-1, 1, 0xEE}};
    for (const auto& s : steps) {
        ASSERT_EQ(f.Seek(s[0], static_cast<int>(s[1])), 1);
        EXPECT_EQ(next(), s[2]) << s[0];
    }
    EXPECT_EQ(f.GetLength(), 1000) << "a read-only file keeps the length measured at open";
    ASSERT_EQ(f.Rewind(), 1);
    EXPECT_EQ(next(), 0xEE) << "rewind drops the read-ahead";
}

TEST_F(CL_CFileTest, WritesStayBufferedUntilTheBufferIsFull) {
    const std::string p = dir.File("w.bin");
    const Bytes data = Pattern(2 * kBuf + 5);
    ASSERT_EQ(f.Open(p.c_str(), "wb"), 1);
    const uint32_t writes[][2] = {{10, 0}, {kBuf - 10, kBuf}, {kBuf + 5, 2 * kBuf}};  // count, bytes on disk after
    for (uint32_t i = 0, done = 0; i < 3; done += writes[i++][0]) {
        EXPECT_EQ(f.Write(data.data() + done, writes[i][0]), writes[i][0]);
        EXPECT_EQ(TempDir::Read(p).size(), writes[i][1]);
        EXPECT_EQ(f.GetLength(), done + writes[i][0]);
    }
    EXPECT_EQ(f.Tell(), 2 * kBuf + 5);
    f.Close();
    EXPECT_TRUE(TempDir::Read(p) == data);
    {
        CL_CFile g((p + "t").c_str(), "wt", kBuf);  // text mode translates nothing; the destructor writes out
        EXPECT_TRUE(g.WriteLine("a\r\nb"));
    }
    EXPECT_EQ(TempDir::Text(p + "t"), "a\r\nb\n");
}

// Writes after seeks: overwriting inside does not grow the file, unwritten bytes past the end count, and
// appending goes to the end whatever the position. A mode opens the file again.
TEST_F(CL_CFileTest, UpdateAndAppendModes) {
    const std::string p = dir.File("u.bin");
    const struct { const char* mode; int64_t at; std::string text; int64_t tell, length; } steps[] = {
        {"w+b", 0, "0123456789", 10, 10}, {nullptr, 5, "ab", 7, 10}, {nullptr, 8, "cdef", 12, 12}, {"a+b", 0, "g", 13, 13}};
    for (const auto& s : steps) {
        ASSERT_TRUE(s.mode == nullptr || f.Open(p.c_str(), s.mode) == 1);
        ASSERT_EQ(f.Seek(s.at, 0), 1);
        ASSERT_EQ(f.Write(s.text.data(), static_cast<uint32_t>(s.text.size())), s.text.size());
        EXPECT_EQ(std::make_pair(f.Tell(), f.GetLength()), std::make_pair(s.tell, s.length)) << s.text;
    }
    f.Close();
    EXPECT_EQ(TempDir::Text(p), "01234ab7cdefg");
    ASSERT_EQ(f.Open(p.c_str(), "r+b"), 1);
    ASSERT_EQ(f.Write("x", 1), 1u);
    EXPECT_EQ(f.Truncate(), 1) << "the pending write goes out and the file ends after it";
    f.Close();
    EXPECT_EQ(TempDir::Text(p), "x");
    EXPECT_EQ(f.Truncate(), 0);
}

TEST_F(CL_CFileTest, FullDiskOnFlush) {
    if (f.Open("/dev/full", "wb") != 1) GTEST_SKIP() << "/dev/full is not available";
    const Bytes data = Pattern(2 * kBuf);
    EXPECT_EQ(f.Write(data.data(), 50), 50u);
    EXPECT_EQ(f.Write(data.data(), kBuf), kBuf - 50) << "the first full buffer fails";
    EXPECT_EQ(f.GetLastErrorNumber(), ENOSPC);
    EXPECT_STREQ(f.GetLastErrorText(), "No space left on device");
    ASSERT_EQ(f.Open("/dev/full", "wb"), 1);
    EXPECT_EQ(f.Write(data.data(), 2 * kBuf), 0u) << "whole buffers go straight to the file";
}

TEST_F(CL_CFileTest, OffsetsBeyondFourGigabytes) {
    const std::string p = dir.File("sparse.bin");
    const int64_t size = (int64_t{5} << 30) + 3, at = (int64_t{4} << 30) + 17;
    if (::truncate(dir.Write("sparse.bin", {}).c_str(), size) != 0) GTEST_SKIP() << "no sparse files here";
    ASSERT_EQ(f.Open(p.c_str(), "r+b"), 1);
    EXPECT_EQ(f.GetLength(), size);
    ASSERT_EQ(f.Seek(at, 0), 1);
    ASSERT_EQ(f.Write("KIV", 3), 3u);
    EXPECT_EQ(f.Tell(), at + 3);
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    ASSERT_EQ(f.Seek(at, 0), 1);
    char b[8] = {};
    ASSERT_EQ(f.Read(b, 3, 3), 3u);
    EXPECT_EQ(std::string(b, 3), "KIV");
    ASSERT_EQ(f.Seek(-2, 2), 1);
    EXPECT_EQ(f.Read(b, 8, 8), 2u);
}

}  // namespace
