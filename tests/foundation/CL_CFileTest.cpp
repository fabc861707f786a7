#include "foundation/CL_CFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "foundation/ErrorClassification.h"
#include "support/TempDir.h"

namespace {

using PRIVATE_LIBRARY::CL_CFile;
using PRIVATE_LIBRARY::CL_CString;

constexpr uint32_t kBuf = 262144;
const char* const kEndOfFileText = "The function tries to read at end of file";

std::vector<uint8_t> Pattern(size_t n) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>((i * 7) ^ (i >> 8) ^ (i >> 16));
    return v;
}

int64_t DiskSize(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
}

// Changes bytes of the file behind the CL_CFile's back: a later read that still sees the old
// bytes came from the read-ahead, one that sees the new bytes went to the system.
void Overwrite(const std::string& path, int64_t offset, const std::vector<uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), offset), static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

class CL_CFileTest : public ::testing::Test {
protected:
    kiv_test::TempDir dir;
};

TEST_F(CL_CFileTest, ClosedFileAnswers) {
    CL_CFile f(kBuf);
    EXPECT_FALSE(f.IsOpen());
    EXPECT_FALSE(f.IsReadable());
    EXPECT_FALSE(f.IsWritable());
    EXPECT_EQ(f.Tell(), -1);
    EXPECT_EQ(f.GetLength(), -1);
    EXPECT_EQ(f.Seek(0, 0), 0);
    EXPECT_EQ(f.Rewind(), 0);
    EXPECT_EQ(f.GetBufferSize(), kBuf);
    EXPECT_EQ(CL_CFile(0).GetBufferSize(), kBuf);
    uint8_t b[4];
    EXPECT_EQ(f.Read(b, 4, 4), 0u);
    EXPECT_EQ(f.GetLastErrorNumber(), EBADF);
    EXPECT_STREQ(f.GetLastErrorText(), std::strerror(EBADF));
    EXPECT_FALSE(f.WriteLine("x"));
    EXPECT_EQ(f.GetLastErrorNumber(), 9);
    f.Close();
}

TEST_F(CL_CFileTest, OpenFailuresRecordErrno) {
    CL_CFile f(kBuf);
    EXPECT_EQ(f.Open(dir.File("missing.bin").c_str(), "rb"), 0);
    EXPECT_EQ(f.GetLastErrorNumber(), ENOENT);
    EXPECT_STREQ(f.GetLastErrorText(), "No such file or directory");
    EXPECT_EQ(ts_comp::ClassifyFileError(f.GetLastErrorNumber(), ts_comp::kFileOperationOpen), 8);
    EXPECT_FALSE(f.IsOpen());

    EXPECT_EQ(f.Open(dir.File("no/such/dir.bin").c_str(), "wb"), 0);
    EXPECT_EQ(f.GetLastErrorNumber(), ENOENT);

    EXPECT_EQ(f.Open(dir.Path().c_str(), "rb"), 0);
    EXPECT_EQ(f.GetLastErrorNumber(), EISDIR);
    EXPECT_STREQ(f.GetLastErrorText(), "Is a directory");
    EXPECT_EQ(ts_comp::ClassifyFileError(f.GetLastErrorNumber(), ts_comp::kFileOperationOpen), 10);

    EXPECT_EQ(f.Open(nullptr, "rb"), 0);
    EXPECT_FALSE(f.IsOpen());
}

TEST_F(CL_CFileTest, OpenWithoutPermission) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions are not enforced for root";
    const std::string p = dir.Write("locked.bin", {1, 2, 3});
    ASSERT_EQ(::chmod(p.c_str(), 0), 0);
    CL_CFile f(kBuf);
    EXPECT_EQ(f.Open(p.c_str(), "rb"), 0);
    EXPECT_EQ(f.GetLastErrorNumber(), EACCES);
    EXPECT_STREQ(f.GetLastErrorText(), "Permission denied");
    EXPECT_EQ(ts_comp::ClassifyFileError(f.GetLastErrorNumber(), ts_comp::kFileOperationOpen), 10);
}

struct ModeCase {
    const char* mode;
    bool readable;
    bool writable;
    uint32_t flags;
    bool truncates;
};

TEST_F(CL_CFileTest, ModeTable) {
    const ModeCase cases[] = {
        {"rb", true, false, 0x201, false},  {"r", true, false, 0x001, false},
        {"rt", true, false, 0x001, false},  {"r+b", false, true, 0x301, false},
        {"wb", false, true, 0x202, true},   {"w+b", false, true, 0x302, true},
        {"ab", false, true, 0x204, false},  {"a+", false, true, 0x104, false},
        {"", false, false, 0x000, false},   {"xyz", false, false, 0x000, false},
        {"rbw", true, true, 0x203, false},  {"rbxw", true, false, 0x201, false},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.mode);
        const std::string p = dir.Write("mode.bin", {1, 2, 3, 4});
        CL_CFile f(kBuf);
        ASSERT_EQ(f.Open(p.c_str(), c.mode), 1);
        EXPECT_TRUE(f.IsOpen());
        EXPECT_EQ(f.IsReadable(), c.readable);
        EXPECT_EQ(f.IsWritable(), c.writable);
        EXPECT_EQ(f.GetOpenFlags(), c.flags);
        EXPECT_EQ(f.Tell(), 0);
        f.Close();
        EXPECT_EQ(DiskSize(p), c.truncates ? 0 : 4);
        EXPECT_FALSE(f.IsOpen());
        EXPECT_EQ(f.GetOpenFlags(), 0u);
    }
}

TEST_F(CL_CFileTest, CreatedFileIsReadWriteForEveryone) {
    const mode_t old = ::umask(0);
    CL_CFile f(kBuf);
    ASSERT_EQ(f.Open(dir.File("new.bin").c_str(), "wb"), 1);
    f.Close();
    ::umask(old);
    struct stat st;
    ASSERT_EQ(::stat(dir.File("new.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u);
}

TEST_F(CL_CFileTest, ReadingPastTheEndOfAShortFile) {
    const std::string p = dir.Write("four.bin", {10, 20, 30, 40});
    CL_CFile f(kBuf);
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    EXPECT_EQ(f.GetLength(), 4);
    uint8_t b[10] = {};
    EXPECT_EQ(f.Read(b, sizeof(b), 10), 4u);
    EXPECT_STREQ(f.GetLastErrorText(), kEndOfFileText);
    EXPECT_EQ(std::vector<uint8_t>(b, b + 4), (std::vector<uint8_t>{10, 20, 30, 40}));
    EXPECT_EQ(f.Tell(), 4);
    EXPECT_EQ(f.Read(b, sizeof(b), 1), 0u);
    EXPECT_STREQ(f.GetLastErrorText(), kEndOfFileText);
    EXPECT_EQ(f.Tell(), 4);

    const std::string empty = dir.Write("empty.bin", {});
    ASSERT_EQ(f.Open(empty.c_str(), "rb"), 1);
    EXPECT_EQ(f.GetLength(), 0);
    EXPECT_EQ(f.Read(b, sizeof(b), 1), 0u);
    EXPECT_STREQ(f.GetLastErrorText(), kEndOfFileText);
    f.Close();
}

TEST_F(CL_CFileTest, ReadIsBoundedByTheDestinationSize) {
    const std::string p = dir.Write("d.bin", Pattern(100));
    CL_CFile f(kBuf);
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    uint8_t b[8];
    EXPECT_EQ(f.Read(b, 8, 20), 8u);
    EXPECT_EQ(f.Tell(), 8);
    EXPECT_EQ(f.Read(b, 8, 20), 8u);
    EXPECT_EQ(b[0], Pattern(100)[8]);
    f.Close();
}

// Chunk sizes that straddle the buffer in every way; the bytes and positions must match the file.
TEST_F(CL_CFileTest, SequentialReadsAcrossTheBufferBoundary) {
    const size_t size = 3 * kBuf + 12345;
    const std::vector<uint8_t> data = Pattern(size);
    const std::string p = dir.Write("big.bin", data);
    const std::vector<std::vector<uint32_t>> plans = {
        {1}, {3}, {4096}, {kBuf - 1}, {kBuf}, {kBuf + 1}, {2 * kBuf + 7}, {1, kBuf}, {kBuf - 1, 2, kBuf}, {7, 3 * kBuf},
    };
    for (const auto& plan : plans) {
        SCOPED_TRACE(plan.front());
        CL_CFile f(kBuf);
        ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
        std::vector<uint8_t> got;
        std::vector<uint8_t> chunk(3 * kBuf + 1);
        size_t step = 0;
        for (;;) {
            const uint32_t want = plan[step++ % plan.size()];
            const uint32_t n = f.Read(chunk.data(), static_cast<uint32_t>(chunk.size()), want);
            got.insert(got.end(), chunk.begin(), chunk.begin() + n);
            ASSERT_EQ(f.Tell(), static_cast<int64_t>(got.size()));
            if (n < want) break;
        }
        EXPECT_EQ(got.size(), size);
        EXPECT_TRUE(got == data);
        EXPECT_STREQ(f.GetLastErrorText(), kEndOfFileText);
        f.Close();
    }
}

struct SeekStep {
    int64_t offset;
    int origin;
    int result;
    int64_t position;  // Tell afterwards
};

TEST_F(CL_CFileTest, SeekTable) {
    const size_t size = 2 * kBuf + 100;
    const std::vector<uint8_t> data = Pattern(size);
    const std::string p = dir.Write("seek.bin", data);
    CL_CFile f(kBuf);
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    const SeekStep steps[] = {
        {kBuf - 1, 0, 1, kBuf - 1},
        {kBuf, 0, 1, kBuf},
        {kBuf + 1, 0, 1, kBuf + 1},
        {-2, 1, 1, kBuf - 1},
        {0, 1, 1, kBuf - 1},
        {-1, 2, 1, static_cast<int64_t>(size) - 1},
        {0, 2, 1, static_cast<int64_t>(size)},
        {-static_cast<int64_t>(size), 2, 1, 0},
        {5, 0, 1, 5},
        {10, 3, 0, 5},
        {5, -1, 0, 5},
        {-1, 0, 0, -2},  // failed: position unchecked
        {100, 0, 1, 100},
        {static_cast<int64_t>(size) + 50, 0, 1, static_cast<int64_t>(size) + 50},
        {INT64_MAX, 1, 0, -2},
        {0, 0, 1, 0},
    };
    for (size_t i = 0; i < sizeof(steps) / sizeof(steps[0]); ++i) {
        const SeekStep& s = steps[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(f.Seek(s.offset, s.origin), s.result);
        if (s.position == -2) continue;
        EXPECT_EQ(f.Tell(), s.position);
        uint8_t b[3] = {};
        const uint32_t n = f.Read(b, 3, 3);
        const int64_t left = static_cast<int64_t>(size) - s.position;
        const uint32_t expected = left <= 0 ? 0 : static_cast<uint32_t>(std::min<int64_t>(3, left));
        ASSERT_EQ(n, expected);
        for (uint32_t k = 0; k < n; ++k) EXPECT_EQ(b[k], data[static_cast<size_t>(s.position) + k]);
        EXPECT_EQ(f.Seek(-static_cast<int64_t>(n), 1), 1);
    }
    f.Close();
}

TEST_F(CL_CFileTest, NegativeSeekRecordsEinval) {
    const std::string p = dir.Write("n.bin", Pattern(10));
    CL_CFile f(kBuf);
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    EXPECT_EQ(f.Seek(-1, 0), 0);
    EXPECT_EQ(f.GetLastErrorNumber(), EINVAL);
    EXPECT_STREQ(f.GetLastErrorText(), "Invalid argument");
    f.Close();
}

TEST_F(CL_CFileTest, SeekInsideTheReadAheadNeedsNoSystemCall) {
    const std::vector<uint8_t> data = Pattern(1000);
    const std::string p = dir.Write("ra.bin", data);
    CL_CFile f(kBuf);
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    uint8_t b[4];
    ASSERT_EQ(f.Read(b, 1, 1), 1u);
    Overwrite(p, 0, std::vector<uint8_t>(1000, 0xEE));

    ASSERT_EQ(f.Seek(-1, 1), 1);
    EXPECT_EQ(f.Tell(), 0);
    ASSERT_EQ(f.Read(b, 1, 1), 1u);
    EXPECT_EQ(b[0], data[0]) << "seek back by 1 must stay in the read-ahead";
    ASSERT_EQ(f.Seek(999, 0), 1);
    ASSERT_EQ(f.Read(b, 1, 1), 1u);
    EXPECT_EQ(b[0], data[999]);
    ASSERT_EQ(f.Seek(500, 0), 1);
    ASSERT_EQ(f.Read(b, 4, 4), 4u);
    EXPECT_EQ(b[3], data[503]);

    // The end of the read-ahead is outside it: that seek goes to the file and sees its new bytes.
    ASSERT_EQ(f.Seek(1000, 0), 1);
    ASSERT_EQ(f.Seek(-1, 1), 1);
    ASSERT_EQ(f.Read(b, 1, 1), 1u);
    EXPECT_EQ(b[0], 0xEE);
    f.Close();
}

TEST_F(CL_CFileTest, LengthOfAReadOnlyFileIsTheOneMeasuredAtOpen) {
    const std::string p = dir.Write("grow.bin", Pattern(10));
    CL_CFile f(kBuf);
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    {
        std::ofstream out(p, std::ios::binary | std::ios::app);
        out << "more";
    }
    EXPECT_EQ(f.GetLength(), 10);
    CL_CFile g(kBuf);
    ASSERT_EQ(g.Open(p.c_str(), "r+b"), 1);
    EXPECT_EQ(g.GetLength(), 14);
    g.Close();
    f.Close();
}

TEST_F(CL_CFileTest, WritesStayBufferedUntilTheBufferIsFull) {
    const std::string p = dir.File("w.bin");
    const std::vector<uint8_t> data = Pattern(3 * kBuf + 5);
    CL_CFile f(kBuf);
    ASSERT_EQ(f.Open(p.c_str(), "wb"), 1);
    EXPECT_EQ(f.Write(data.data(), 10), 10u);
    EXPECT_EQ(DiskSize(p), 0);
    EXPECT_EQ(f.Tell(), 10);
    EXPECT_EQ(f.GetLength(), 10);
    EXPECT_EQ(f.Write(data.data() + 10, kBuf - 10), kBuf - 10);
    EXPECT_EQ(DiskSize(p), kBuf);
    EXPECT_EQ(f.Write(data.data() + kBuf, kBuf + 1), kBuf + 1);
    EXPECT_EQ(DiskSize(p), 2 * kBuf);
    EXPECT_EQ(f.Tell(), 2 * kBuf + 1);
    EXPECT_EQ(f.GetLength(), 2 * kBuf + 1);
    EXPECT_EQ(f.Write(data.data() + 2 * kBuf + 1, kBuf + 4), kBuf + 4);
    EXPECT_EQ(DiskSize(p), 3 * kBuf);
    f.Close();
    EXPECT_EQ(DiskSize(p), static_cast<int64_t>(data.size()));
    EXPECT_TRUE(kiv_test::TempDir::Read(p) == data);
}

TEST_F(CL_CFileTest, DestructorWritesOutAnOpenFile) {
    const std::string p = dir.File("d.bin");
    {
        CL_CFile f(p.c_str(), "wb", kBuf);
        ASSERT_TRUE(f.IsOpen());
        EXPECT_TRUE(f.WriteLine("line"));
    }
    EXPECT_EQ(kiv_test::TempDir::Read(p), (std::vector<uint8_t>{'l', 'i', 'n', 'e', '\n'}));
}

TEST_F(CL_CFileTest, TextAndBinaryModesWriteTheSameBytes) {
    for (const char* mode : {"wt", "wb", "w"}) {
        SCOPED_TRACE(mode);
        const std::string p = dir.File(std::string("t_") + mode);
        CL_CFile f(kBuf);
        ASSERT_EQ(f.Open(p.c_str(), mode), 1);
        EXPECT_TRUE(f.WriteLine("a\nb"));
        EXPECT_TRUE(f.WriteLine(""));
        EXPECT_EQ(f.Write("\r\n", 2), 2u);
        f.Close();
        EXPECT_EQ(kiv_test::TempDir::Read(p), (std::vector<uint8_t>{'a', '\n', 'b', '\n', '\n', '\r', '\n'}));
    }
}

// Only read modes without "+" read; the others record a bad descriptor and leave the file as it was.
TEST_F(CL_CFileTest, WrongDirectionRecordsBadDescriptor) {
    const std::string p = dir.Write("rw.bin", {1, 2, 3});
    CL_CFile f(kBuf);
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    EXPECT_EQ(f.Write("x", 1), 0u);
    EXPECT_EQ(f.GetLastErrorNumber(), 9);
    EXPECT_STREQ(f.GetLastErrorText(), "Bad file descriptor");
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

TEST_F(CL_CFileTest, FullDiskOnFlushAndOnClose) {
    CL_CFile f(kBuf);
    if (f.Open("/dev/full", "wb") != 1) GTEST_SKIP() << "/dev/full is not available";
    const std::vector<uint8_t> data = Pattern(kBuf + 100);
    EXPECT_EQ(f.Write(data.data(), 50), 50u) << "buffered, not yet written";
    EXPECT_EQ(f.Write(data.data(), kBuf), kBuf - 50) << "the first full buffer fails";
    EXPECT_EQ(f.GetLastErrorNumber(), ENOSPC);
    EXPECT_STREQ(f.GetLastErrorText(), "No space left on device");
    EXPECT_EQ(ts_comp::ClassifyFileError(f.GetLastErrorNumber(), ts_comp::kFileOperationWrite), 14);

    ASSERT_EQ(f.Open("/dev/full", "wb"), 1);
    EXPECT_EQ(f.Write(data.data(), 2 * kBuf), 0u) << "whole buffers go straight to the file";
    EXPECT_EQ(f.GetLastErrorNumber(), ENOSPC);

    ASSERT_EQ(f.Open("/dev/full", "wb"), 1);
    EXPECT_TRUE(f.WriteLine("abc"));
    EXPECT_EQ(f.GetLastErrorNumber(), ENOSPC) << "left over from before";
    CL_CFile g(kBuf);
    ASSERT_EQ(g.Open("/dev/full", "wb"), 1);
    EXPECT_TRUE(g.WriteLine("abc"));
    EXPECT_EQ(g.GetLastErrorNumber(), 0);
    g.Close();
    EXPECT_EQ(g.GetLastErrorNumber(), ENOSPC);
    f.Close();
}

TEST_F(CL_CFileTest, UpdateFileOverwritesAndGrows) {
    const std::string p = dir.File("u.bin");
    CL_CFile f(kBuf);
    ASSERT_EQ(f.Open(p.c_str(), "w+b"), 1);
    ASSERT_EQ(f.Write("0123456789", 10), 10u);
    EXPECT_EQ(f.GetLength(), 10);
    ASSERT_EQ(f.Seek(5, 0), 1);
    ASSERT_EQ(f.Write("ab", 2), 2u);
    EXPECT_EQ(f.GetLength(), 10) << "overwriting inside does not grow the file";
    ASSERT_EQ(f.Seek(8, 0), 1);
    ASSERT_EQ(f.Write("cdef", 4), 4u);
    EXPECT_EQ(f.GetLength(), 12) << "unwritten bytes past the end count";
    EXPECT_EQ(f.Tell(), 12);
    EXPECT_EQ(f.Rewind(), 1);
    EXPECT_EQ(f.Tell(), 0);
    f.Close();
    const std::vector<uint8_t> disk = kiv_test::TempDir::Read(p);
    EXPECT_EQ(std::string(disk.begin(), disk.end()), "01234ab7cdef");
}

TEST_F(CL_CFileTest, AppendGoesToTheEnd) {
    const std::string p = dir.Write("a.bin", {'a', 'b', 'c'});
    CL_CFile f(kBuf);
    ASSERT_EQ(f.Open(p.c_str(), "ab"), 1);
    EXPECT_EQ(f.Tell(), 0);
    ASSERT_EQ(f.Write("de", 2), 2u);
    EXPECT_EQ(f.Tell(), 5);
    EXPECT_EQ(f.GetLength(), 5);
    f.Close();
    ASSERT_EQ(f.Open(p.c_str(), "a+b"), 1);
    ASSERT_EQ(f.Write("f", 1), 1u);
    EXPECT_EQ(f.Tell(), 6);
    ASSERT_EQ(f.Seek(0, 0), 1);
    ASSERT_EQ(f.Write("g", 1), 1u);
    EXPECT_EQ(f.Tell(), 7);
    f.Close();
    const std::vector<uint8_t> disk = kiv_test::TempDir::Read(p);
    EXPECT_EQ(std::string(disk.begin(), disk.end()), "abcdefg");

    const std::string created = dir.File("created_by_append.bin");
    ASSERT_EQ(f.Open(created.c_str(), "a"), 1);
    f.Close();
    EXPECT_EQ(DiskSize(created), 0);
}

TEST_F(CL_CFileTest, RewindDropsTheReadAhead) {
    const std::vector<uint8_t> data = Pattern(100);
    const std::string p = dir.Write("rw.bin", data);
    CL_CFile f(kBuf);
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    uint8_t b[50];
    ASSERT_EQ(f.Read(b, 50, 50), 50u);
    Overwrite(p, 0, {0x11});
    ASSERT_EQ(f.Rewind(), 1);
    EXPECT_EQ(f.Tell(), 0);
    ASSERT_EQ(f.Read(b, 1, 1), 1u);
    EXPECT_EQ(b[0], 0x11);
    f.Close();
}

TEST_F(CL_CFileTest, PathIsNormalisedAndClearedOnClose) {
    const std::string p = dir.Write("p.bin", {1});
    const std::string messy = dir.Path() + "//.//p.bin";
    CL_CFile f(kBuf);
    ASSERT_EQ(f.Open(messy.c_str(), "rb"), 1);
    CL_CString path;
    EXPECT_EQ(std::string(f.GetPath(path).GetString()), dir.Path() + "/./p.bin");
    f.Close();
    EXPECT_STREQ(f.GetPath(path).GetString(), "");
}

TEST_F(CL_CFileTest, PeekAndConsumeFollowTheFilePosition) {
    const size_t size = 2 * kBuf + 777;
    const std::vector<uint8_t> data = Pattern(size);
    const std::string p = dir.Write("peek.bin", data);
    CL_CFile f(kBuf);
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    const uint8_t* view = nullptr;
    ASSERT_EQ(f.PeekBuffered(&view), kBuf);
    EXPECT_EQ(std::memcmp(view, data.data(), kBuf), 0);
    f.ConsumeBuffered(3);
    EXPECT_EQ(f.Tell(), 3);
    uint8_t b[2];
    ASSERT_EQ(f.Read(b, 2, 2), 2u);
    EXPECT_EQ(b[0], data[3]);
    EXPECT_EQ(b[1], data[4]);
    ASSERT_EQ(f.PeekBuffered(&view), kBuf - 5);
    EXPECT_EQ(view[0], data[5]);
    ASSERT_EQ(f.PeekBuffered(&view), kBuf - 5) << "peeking twice does not move";
    f.ConsumeBuffered(kBuf - 5);
    EXPECT_EQ(f.Tell(), kBuf);
    ASSERT_EQ(f.PeekBuffered(&view), kBuf) << "an empty buffer is refilled once";
    EXPECT_EQ(std::memcmp(view, data.data() + kBuf, kBuf), 0);
    f.ConsumeBuffered(10);
    ASSERT_EQ(f.Seek(-20, 1), 1) << "back across the buffer start";
    EXPECT_EQ(f.Tell(), kBuf - 10);
    ASSERT_EQ(f.PeekBuffered(&view), kBuf);
    EXPECT_EQ(view[0], data[kBuf - 10]);
    ASSERT_EQ(f.Seek(2 * kBuf, 0), 1);
    ASSERT_EQ(f.PeekBuffered(&view), 777u);
    EXPECT_EQ(std::memcmp(view, data.data() + 2 * kBuf, 777), 0);
    f.ConsumeBuffered(1000);
    EXPECT_EQ(f.Tell(), static_cast<int64_t>(size)) << "consuming more than the view stops at its end";
    EXPECT_EQ(f.PeekBuffered(&view), 0u);
    EXPECT_STREQ(f.GetLastErrorText(), kEndOfFileText);
    EXPECT_EQ(f.Tell(), static_cast<int64_t>(size));
    EXPECT_EQ(f.Read(b, 1, 1), 0u);
    f.Close();
}

TEST_F(CL_CFileTest, SmallBufferBehavesLikeTheLargeOne) {
    const std::vector<uint8_t> data = Pattern(1000);
    const std::string p = dir.Write("small.bin", data);
    CL_CFile f(7);
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    std::vector<uint8_t> got(1000);
    uint32_t at = 0;
    for (uint32_t want : {1u, 6u, 7u, 8u, 13u, 14u, 15u, 100u}) {
        ASSERT_EQ(f.Read(got.data() + at, want, want), want);
        at += want;
        ASSERT_EQ(f.Tell(), at);
        ASSERT_EQ(f.Seek(-1, 1), 1);
        ASSERT_EQ(f.Seek(1, 1), 1);
    }
    EXPECT_EQ(f.Read(got.data() + at, 1000 - at, 1000), 1000 - at);
    EXPECT_TRUE(got == data);
    f.Close();
}

TEST_F(CL_CFileTest, OffsetsBeyondFourGigabytes) {
    const std::string p = dir.File("sparse.bin");
    const int64_t size = (int64_t{5} << 30) + 3;
    {
        const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        if (::ftruncate(fd, size) != 0) {
            ::close(fd);
            GTEST_SKIP() << "no sparse files here";
        }
        ::close(fd);
    }
    CL_CFile f(kBuf);
    ASSERT_EQ(f.Open(p.c_str(), "r+b"), 1);
    EXPECT_EQ(f.GetLength(), size);
    const int64_t at = (int64_t{4} << 30) + 17;
    ASSERT_EQ(f.Seek(at, 0), 1);
    ASSERT_EQ(f.Write("KIV", 3), 3u);
    EXPECT_EQ(f.Tell(), at + 3);
    f.Close();
    ASSERT_EQ(f.Open(p.c_str(), "rb"), 1);
    ASSERT_EQ(f.Seek(at, 0), 1);
    char b[8] = {};
    ASSERT_EQ(f.Read(b, 3, 3), 3u);
    EXPECT_EQ(std::string(b, 3), "KIV");
    ASSERT_EQ(f.Seek(-2, 2), 1);
    EXPECT_EQ(f.Tell(), size - 2);
    EXPECT_EQ(f.Read(b, 8, 8), 2u);
    f.Close();
}

}  // namespace
