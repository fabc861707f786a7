// The buffered file: open modes, reads and seeks across the buffer, buffered writes, failures.
#include "foundation/CL_CFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/ErrorClassification.h"
#include "support/TempDir.h"

namespace {

using PRIVATE_LIBRARY::CL_CFile;
using PRIVATE_LIBRARY::CL_CString;

constexpr uint32_t kBuf = 262144;
const char* const kEof = "The function tries to read at end of file";

std::vector<uint8_t> Pattern(size_t n) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>((i * 7) ^ (i >> 8) ^ (i >> 16));
    return v;
}

int64_t DiskSize(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
}

std::string Disk(const std::string& path) {
    const std::vector<uint8_t> b = kiv_test::TempDir::Read(path);
    return std::string(b.begin(), b.end());
}

// Changes the file behind the CL_CFile's back: a read that still sees the old bytes came from the read-ahead.
void Overwrite(const std::string& path, int64_t offset, uint8_t value, size_t count) {
    const std::vector<uint8_t> bytes(count, value);
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_EQ(::pwrite(fd, bytes.data(), count, offset), static_cast<ssize_t>(count));
    ::close(fd);
}

class CL_CFileTest : public ::testing::Test {
protected:
    kiv_test::TempDir dir;
    CL_CFile f{kBuf};
};

TEST_F(CL_CFileTest, ModeTable) {
    struct Case {
        const char* mode;
        bool readable, writable;
        uint32_t flags;
        bool truncates;
    };
    const Case cases[] = {
        {"rb", true, false, 0x201, false},  {"rt", true, false, 0x001, false},  {"r+b", false, true, 0x301, false},
        {"wb", false, true, 0x202, true},   {"w+b", false, true, 0x302, true},  {"ab", false, true, 0x204, false},
        {"a+", false, true, 0x104, false},  {"xyz", false, false, 0x000, false}, {"rbw", true, true, 0x203, false},
        {"rbxw", true, false, 0x201, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const std::string p = dir.Write("mode.bin", {1, 2, 3, 4});
        ASSERT_EQ(f.Open(p.c_str(), c.mode), 1);
        EXPECT_EQ(f.IsReadable(), c.readable);
        EXPECT_EQ(f.IsWritable(), c.writable);
        EXPECT_EQ(f.GetOpenFlags(), c.flags);
        f.Close();
        EXPECT_EQ(DiskSize(p), c.truncates ? 0 : 4);
        EXPECT_EQ(f.GetOpenFlags(), 0u);
    }
}

TEST_F(CL_CFileTest, OpenFailuresAndClosedFile) {
    EXPECT_EQ(f.Open(dir.File("missing.bin").c_str(), "rb"), 0);
    EXPECT_EQ(f.GetLastErrorNumber(), ENOENT);
    EXPECT_STREQ(f.GetLastErrorText(), "No such file or directory");
    EXPECT_EQ(f.Open(dir.Path().c_str(), "rb"), 0);
    EXPECT_EQ(f.GetLastErrorNumber(), EISDIR);
    EXPECT_EQ(f.Open(nullptr, "rb"), 0);
    EXPECT_EQ(f.Tell(), -1);
    EXPECT_EQ(f.GetLength(), -1);
    EXPECT_EQ(f.Seek(0, 0), 0);
    EXPECT_EQ(f.Rewind(), 0);
    EXPECT_EQ(CL_CFile(0).GetBufferSize(), kBuf);
    uint8_t b[4];
    EXPECT_EQ(f.Read(b, 4, 4), 0u);
    EXPECT_EQ(f.GetLastErrorNumber(), EBADF);
    EXPECT_STREQ(f.GetLastErrorText(), "Bad file descriptor");
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

// Chunk sizes that straddle the buffer in every way, then the end of the file.
TEST_F(CL_CFileTest, SequentialReadsAcrossTheBufferBoundary) {
    const std::vector<uint8_t> data = Pattern(2 * kBuf + 12345);
    const std::string p = dir.Write("big.bin", data);
    for (const std::vector<uint32_t>& plan : std::vector<std::vector<uint32_t>>{
             {1}, {3}, {kBuf - 1}, {kBuf}, {kBuf + 1}, {1, kBuf}, {kBuf - 1, 2, kBuf}, {7, 3 * kBuf}}) {
        SCOPED_TRACE(plan.front());
        ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
        std::vector<uint8_t> got, chunk(3 * kBuf + 1);
        for (size_t step = 0;; ++step) {
            const uint32_t want = plan[step % plan.size()];
            const uint32_t n = f.Read(chunk.data(), static_cast<uint32_t>(chunk.size()), want);
            got.insert(got.end(), chunk.begin(), chunk.begin() + n);
            ASSERT_EQ(f.Tell(), static_cast<int64_t>(got.size()));
            if (n < want) break;
        }
        EXPECT_TRUE(got == data);
        EXPECT_STREQ(f.GetLastErrorText(), kEof);
    }
    uint8_t b[8];
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    EXPECT_EQ(f.Read(b, 8, 20), 8u) << "bounded by the destination";
    CL_CFile small(7);
    ASSERT_EQ(small.Open(p.c_str(), "rb"), 1);
    ASSERT_EQ(small.Seek(13, 0), 1);
    ASSERT_EQ(small.Read(b, 8, 8), 8u);
    EXPECT_EQ(0, std::memcmp(b, data.data() + 13, 8));
}

// Each step: seek, then read 3 bytes there and step back over them.
TEST_F(CL_CFileTest, SeekTable) {
    const int64_t size = 2 * kBuf + 100;
    const std::vector<uint8_t> data = Pattern(static_cast<size_t>(size));
    ASSERT_EQ(f.Open(dir.Write("seek.bin", data).c_str(), "rb"), 1);
    struct Step {
        int64_t offset;
        int origin, result;
        int64_t position;  // -2: not checked
    };
    const Step steps[] = {{kBuf - 1, 0, 1, kBuf - 1}, {kBuf + 1, 0, 1, kBuf + 1}, {-2, 1, 1, kBuf - 1},
                          {-1, 2, 1, size - 1},       {0, 2, 1, size},         {-size, 2, 1, 0},
                          {5, 0, 1, 5},               {10, 3, 0, 5},           {-1, 0, 0, -2},
                          {size + 50, 0, 1, size + 50}, {INT64_MAX, 1, 0, -2}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.offset);
        EXPECT_EQ(f.Seek(s.offset, s.origin), s.result);
        if (s.position == -2) continue;
        EXPECT_EQ(f.Tell(), s.position);
        uint8_t b[3] = {};
        const uint32_t n = f.Read(b, 3, 3);
        ASSERT_EQ(n, static_cast<uint32_t>(std::max<int64_t>(0, std::min<int64_t>(3, size - s.position))));
        EXPECT_EQ(0, n == 0 ? 0 : std::memcmp(b, data.data() + s.position, n));
        EXPECT_EQ(f.Seek(-static_cast<int64_t>(n), 1), 1);
    }
    EXPECT_EQ(f.Seek(-1, 0), 0);
    EXPECT_EQ(f.GetLastErrorNumber(), EINVAL);
}

TEST_F(CL_CFileTest, SeeksInsideTheReadAheadStayInIt) {
    const std::vector<uint8_t> data = Pattern(1000);
    const std::string p = dir.Write("ra.bin", data);
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    uint8_t b[4];
    ASSERT_EQ(f.Read(b, 1, 1), 1u);
    Overwrite(p, 0, 0xEE, 1000);
    ASSERT_EQ(f.Seek(-1, 1), 1);
    ASSERT_EQ(f.Read(b, 1, 1), 1u);
    EXPECT_EQ(b[0], data[0]);
    ASSERT_EQ(f.Seek(999, 0), 1);
    ASSERT_EQ(f.Read(b, 1, 1), 1u);
    EXPECT_EQ(b[0], data[999]);
    EXPECT_EQ(f.GetLength(), 1000) << "a read-only file keeps the length measured at open";
    ASSERT_EQ(f.Seek(1000, 0), 1);  // the end is outside the read-ahead: the file is read again
    ASSERT_EQ(f.Seek(-1, 1), 1);
    ASSERT_EQ(f.Read(b, 1, 1), 1u);
    EXPECT_EQ(b[0], 0xEE);
    ASSERT_EQ(f.Rewind(), 1);
    ASSERT_EQ(f.Read(b, 1, 1), 1u);
    EXPECT_EQ(b[0], 0xEE) << "rewind drops the read-ahead";
}

TEST_F(CL_CFileTest, PeekAndConsumeFollowTheFilePosition) {
    const size_t size = 2 * kBuf + 777;
    const std::vector<uint8_t> data = Pattern(size);
    ASSERT_EQ(f.Open(dir.Write("peek.bin", data).c_str(), "rb"), 1);
    const uint8_t* view = nullptr;
    ASSERT_EQ(f.PeekBuffered(&view), kBuf);
    f.ConsumeBuffered(3);
    uint8_t b[2];
    ASSERT_EQ(f.Read(b, 2, 2), 2u);
    EXPECT_EQ(b[0], data[3]);
    ASSERT_EQ(f.PeekBuffered(&view), kBuf - 5);
    EXPECT_EQ(view[0], data[5]);
    f.ConsumeBuffered(kBuf - 5);
    ASSERT_EQ(f.PeekBuffered(&view), kBuf) << "an empty buffer is refilled once";
    EXPECT_EQ(view[0], data[kBuf]);
    f.ConsumeBuffered(10);
    ASSERT_EQ(f.Seek(-20, 1), 1);
    ASSERT_EQ(f.PeekBuffered(&view), kBuf);
    EXPECT_EQ(view[0], data[kBuf - 10]);
    ASSERT_EQ(f.Seek(2 * kBuf, 0), 1);
    ASSERT_EQ(f.PeekBuffered(&view), 777u);
    f.ConsumeBuffered(1000);
    EXPECT_EQ(f.Tell(), static_cast<int64_t>(size)) << "consuming stops at the end of the view";
    EXPECT_EQ(f.PeekBuffered(&view), 0u);
    EXPECT_STREQ(f.GetLastErrorText(), kEof);
}

TEST_F(CL_CFileTest, WritesStayBufferedUntilTheBufferIsFull) {
    const std::string p = dir.File("w.bin");
    const std::vector<uint8_t> data = Pattern(2 * kBuf + 5);
    ASSERT_EQ(f.Open(p.c_str(), "wb"), 1);
    EXPECT_EQ(f.Write(data.data(), 10), 10u);
    EXPECT_EQ(DiskSize(p), 0);
    EXPECT_EQ(f.GetLength(), 10);
    EXPECT_EQ(f.Write(data.data() + 10, kBuf - 10), kBuf - 10);
    EXPECT_EQ(DiskSize(p), kBuf);
    EXPECT_EQ(f.Write(data.data() + kBuf, kBuf + 5), kBuf + 5);
    EXPECT_EQ(DiskSize(p), 2 * kBuf);
    EXPECT_EQ(f.Tell(), 2 * kBuf + 5);
    f.Close();
    EXPECT_TRUE(kiv_test::TempDir::Read(p) == data);
    {
        CL_CFile g((p + "t").c_str(), "wt", kBuf);  // text mode translates nothing; the destructor writes out
        EXPECT_TRUE(g.WriteLine("a\r\nb"));
    }
    EXPECT_EQ(Disk(p + "t"), "a\r\nb\n");
}

TEST_F(CL_CFileTest, UpdateAndAppendModes) {
    const std::string p = dir.File("u.bin");
    ASSERT_EQ(f.Open(p.c_str(), "w+b"), 1);
    ASSERT_EQ(f.Write("0123456789", 10), 10u);
    ASSERT_EQ(f.Seek(5, 0), 1);
    ASSERT_EQ(f.Write("ab", 2), 2u);
    EXPECT_EQ(f.GetLength(), 10) << "overwriting inside does not grow the file";
    ASSERT_EQ(f.Seek(8, 0), 1);
    ASSERT_EQ(f.Write("cdef", 4), 4u);
    EXPECT_EQ(f.GetLength(), 12) << "unwritten bytes past the end count";
    f.Close();
    EXPECT_EQ(Disk(p), "01234ab7cdef");
    ASSERT_EQ(f.Open(p.c_str(), "a+b"), 1);
    ASSERT_EQ(f.Seek(0, 0), 1);
    ASSERT_EQ(f.Write("g", 1), 1u);
    EXPECT_EQ(f.Tell(), 13) << "appending goes to the end whatever the position";
    f.Close();
    EXPECT_EQ(Disk(p), "01234ab7cdefg");
}

// Only read modes without "+" read; writing needs a write mode; both leave the file as it was.
TEST_F(CL_CFileTest, WrongDirectionRecordsBadDescriptor) {
    const std::string p = dir.Write("rw.bin", {1, 2, 3});
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    EXPECT_EQ(f.Write("x", 1), 0u);
    EXPECT_EQ(f.GetLastErrorNumber(), 9);
    EXPECT_FALSE(f.WriteLine("x"));
    for (const char* mode : {"ab", "r+b", "a+b"}) {
        ASSERT_EQ(f.Open(p.c_str(), mode), 1);
        uint8_t b[2];
        EXPECT_EQ(f.Read(b, 2, 2), 0u) << mode;
        EXPECT_EQ(f.GetLastErrorNumber(), 9) << mode;
        const uint8_t* view = nullptr;
        EXPECT_EQ(f.PeekBuffered(&view), 0u) << mode;
    }
    f.Close();
    EXPECT_EQ(DiskSize(p), 3);
}

TEST_F(CL_CFileTest, FullDiskOnFlush) {
    if (f.Open("/dev/full", "wb") != 1) GTEST_SKIP() << "/dev/full is not available";
    const std::vector<uint8_t> data = Pattern(2 * kBuf);
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
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT, 0644);
    const bool sparse = ::ftruncate(fd, size) == 0;
    ::close(fd);
    if (!sparse) GTEST_SKIP() << "no sparse files here";
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
