#include "foundation/CL_CFile.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/CL_CFilePath.h"
#include "foundation/Messages.h"

namespace PRIVATE_LIBRARY {

namespace {

constexpr int kModeLettersParsed = 3;
constexpr mode_t kCreatePermissions = 0666;

uint32_t ParseMode(const char* mode) {
    uint32_t flags = 0;
    if (mode == nullptr) return flags;
    for (int i = 0; i < kModeLettersParsed && mode[i] != '\0'; ++i) {
        switch (mode[i]) {
            case 'r': flags |= CL_CFile::kFlagRead; break;
            case 'w': flags |= CL_CFile::kFlagWrite; break;
            case 'a': flags |= CL_CFile::kFlagAppend; break;
            case '+': flags |= CL_CFile::kFlagUpdate; break;
            case 'b': flags |= CL_CFile::kFlagBinary; break;
            default: break;
        }
    }
    return flags;
}

// Text mode ("t" or no "b") needs no translation here: the line end is "\n".
int AccessFlags(uint32_t flags) {
    const bool update = (flags & CL_CFile::kFlagUpdate) != 0;
    if (flags & CL_CFile::kFlagRead) return update ? O_RDWR : O_RDONLY;
    if (flags & CL_CFile::kFlagWrite) return (update ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC;
    if (flags & CL_CFile::kFlagAppend) return (update ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
    return O_RDONLY;
}

constexpr std::align_val_t kBufferAlignment{4096};
// Read-ahead lands at the file offset's place in a 64-byte line (see Refill), so the buffer has one line more.
constexpr uint32_t kLine = 64;

}  // namespace

void CL_CFile::PageAlignedDelete::operator()(uint8_t* p) const { ::operator delete[](p, kBufferAlignment); }

CL_CFile::CL_CFile(uint32_t bufferSize)
    : m_buffer(static_cast<uint8_t*>(
          ::operator new[]((bufferSize == 0 ? kDefaultBufferSize : bufferSize) + kLine, kBufferAlignment))),
      m_bufferSize(bufferSize == 0 ? kDefaultBufferSize : bufferSize) {}

CL_CFile::CL_CFile(const char* path, const char* mode, uint32_t bufferSize) : CL_CFile(bufferSize) {
    Open(path, mode);
}

// Unwritten data of a file left open is written out.
CL_CFile::~CL_CFile() { Close(); }

void CL_CFile::RecordErrno(int errorNumber) {
    m_errorNumber = errorNumber;
    m_errorText = std::strerror(errorNumber);
}

void CL_CFile::RecordEndOfFile() {
    m_errorNumber = 0;
    m_errorText = ts_comp::messages::kReadAtEndOfFile;
}

int CL_CFile::Open(const char* path, const char* mode) {
    Close();
    if (path == nullptr) {
        RecordErrno(EINVAL);
        return 0;
    }
    const uint32_t flags = ParseMode(mode);
    int descriptor;
    do {
        descriptor = ::open(path, AccessFlags(flags) | O_CLOEXEC, kCreatePermissions);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        RecordErrno(errno);
        return 0;
    }
    // A directory opens on this platform but is no file: refuse it as the open itself would elsewhere.
    struct stat status;
    if (::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(descriptor);
        RecordErrno(EISDIR);
        return 0;
    }
    const off_t end = ::lseek(descriptor, 0, SEEK_END);
    if (end < 0 || ::lseek(descriptor, 0, SEEK_SET) < 0) {
        RecordErrno(errno);
        ::close(descriptor);
        return 0;
    }
    m_descriptor = descriptor;
    m_state = 1;
    m_openFlags = flags;
    m_lengthAtOpen = end;
    m_descriptorPosition = 0;
    m_bufferMode = kBufferIdle;
    m_bufferPosition = m_bufferFill = 0;
    CL_CFilePath::Normalize(path, m_path);
    return 1;
}

void CL_CFile::Close() {
    if (m_state != 1) return;
    if (m_bufferMode == kBufferUnwritten) Flush();
    if (::close(m_descriptor) != 0) RecordErrno(errno);
    m_descriptor = -1;
    m_state = 0;
    m_openFlags = 0;
    m_path.Clear();
    m_bufferMode = kBufferIdle;
    m_bufferPosition = m_bufferFill = 0;
    m_descriptorPosition = 0;
}

bool CL_CFile::WriteOut(const uint8_t* data, uint32_t count) {
    uint32_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_descriptor, data + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            RecordErrno(errno);
            return false;
        }
        if (n == 0) {
            RecordErrno(EIO);
            return false;
        }
        done += static_cast<uint32_t>(n);
        m_descriptorPosition += n;
    }
    return true;
}

bool CL_CFile::Flush() {
    bool ok = true;
    if (m_bufferMode == kBufferUnwritten) {
        ok = WriteOut(m_buffer.get(), m_bufferPosition);
    } else if (m_bufferMode == kBufferReadAhead && m_bufferPosition < m_bufferFill) {
        const int64_t target = m_descriptorPosition - (m_bufferFill - m_bufferPosition);
        if (::lseek(m_descriptor, target, SEEK_SET) < 0) {
            RecordErrno(errno);
            ok = false;
        } else {
            m_descriptorPosition = target;
        }
    }
    m_bufferMode = kBufferIdle;
    m_bufferPosition = m_bufferFill = 0;
    return ok;
}

// The bytes land at the file offset's place in a 64-byte line. The kernel copies from the page cache
// several times slower when the destination's place in a page lies a few bytes past the source's
// (a file offset just below a page boundary read into a page-aligned buffer), which a seek to an
// arbitrary frame otherwise leaves for every read up to the next seek.
int64_t CL_CFile::Refill() {
    m_bufferMode = kBufferIdle;
    m_bufferStart = static_cast<uint32_t>(m_descriptorPosition) % kLine;
    m_bufferPosition = m_bufferFill = m_bufferStart;
    ssize_t n;
    do {
        n = ::read(m_descriptor, m_buffer.get() + m_bufferStart, m_bufferSize);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        RecordErrno(errno);
        return -1;
    }
    if (n == 0) {
        RecordEndOfFile();
        return 0;
    }
    m_bufferMode = kBufferReadAhead;
    m_bufferFill = m_bufferStart + static_cast<uint32_t>(n);
    m_descriptorPosition += n;
    return n;
}

// Whole buffers of a request, once the read-ahead is used up, go straight into dest; the rest
// comes through a refilled buffer, so the buffer ends up holding what whole-buffer refills would.
uint32_t CL_CFile::ReadSlow(uint8_t* dest, uint32_t destSize, uint32_t count) {
    if (!IsReadable()) {
        RecordErrno(EBADF);
        return 0;
    }
    if (m_bufferMode == kBufferUnwritten && !Flush()) return 0;
    if (count > destSize) count = destSize;
    uint32_t done = 0;
    while (done < count) {
        if (m_bufferMode == kBufferReadAhead && m_bufferPosition < m_bufferFill) {
            const uint32_t left = m_bufferFill - m_bufferPosition;
            const uint32_t n = count - done < left ? count - done : left;
            std::memcpy(dest + done, m_buffer.get() + m_bufferPosition, n);
            m_bufferPosition += n;
            done += n;
            continue;
        }
        const uint32_t whole = (count - done) / m_bufferSize * m_bufferSize;
        if (whole == 0) {
            if (Refill() <= 0) break;
            continue;
        }
        m_bufferMode = kBufferIdle;
        m_bufferPosition = m_bufferFill = 0;
        ssize_t n;
        do {
            n = ::read(m_descriptor, dest + done, whole);
        } while (n < 0 && errno == EINTR);
        if (n < 0) {
            RecordErrno(errno);
            break;
        }
        if (n == 0) {
            RecordEndOfFile();
            break;
        }
        m_descriptorPosition += n;
        done += static_cast<uint32_t>(n);
    }
    return done;
}

uint32_t CL_CFile::PeekSlow(const uint8_t** data) {
    *data = m_buffer.get();
    if (!IsReadable()) {
        RecordErrno(EBADF);
        return 0;
    }
    if (m_bufferMode == kBufferUnwritten && !Flush()) return 0;
    const int64_t n = Refill();
    *data = m_buffer.get() + m_bufferPosition;
    return n > 0 ? static_cast<uint32_t>(n) : 0;
}

// Whole buffers of a request, with nothing pending, are written straight from data; the file
// receives the same writes as through the buffer.
uint32_t CL_CFile::WriteSlow(const void* data, uint32_t count) {
    if (!IsWritable()) {
        RecordErrno(EBADF);
        return 0;
    }
    if (m_bufferMode == kBufferReadAhead && !Flush()) return 0;
    if (m_bufferMode != kBufferUnwritten) {
        if (m_openFlags & kFlagAppend) {
            const off_t end = ::lseek(m_descriptor, 0, SEEK_END);
            if (end < 0) {
                RecordErrno(errno);
                return 0;
            }
            m_descriptorPosition = end;
        }
        m_bufferMode = kBufferUnwritten;
        m_bufferPosition = m_bufferFill = 0;
    }
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    uint32_t taken = 0;
    while (taken < count) {
        if (m_bufferPosition == 0 && count - taken >= m_bufferSize) {
            const uint32_t whole = (count - taken) / m_bufferSize * m_bufferSize;
            if (!WriteOut(bytes + taken, whole)) return taken;
            taken += whole;
            continue;
        }
        const uint32_t room = m_bufferSize - m_bufferPosition;
        const uint32_t n = count - taken < room ? count - taken : room;
        std::memcpy(m_buffer.get() + m_bufferPosition, bytes + taken, n);
        m_bufferPosition += n;
        taken += n;
        if (m_bufferPosition == m_bufferSize) {
            const bool ok = WriteOut(m_buffer.get(), m_bufferSize);
            m_bufferPosition = 0;
            if (!ok) {
                m_bufferMode = kBufferIdle;
                return taken;
            }
        }
    }
    return count;
}

bool CL_CFile::WriteLine(const char* text) {
    if (!IsWritable()) {
        RecordErrno(EBADF);
        return false;
    }
    if (text == nullptr) text = "";
    const uint32_t length = static_cast<uint32_t>(std::strlen(text));
    if (Write(text, length) != length) return false;
    return Write("\n", 1) == 1;
}

int CL_CFile::Seek(int64_t offset, int origin) {
    if (m_state != 1) return 0;
    int64_t base;
    int whence;
    switch (origin) {
        case 0: base = 0; whence = SEEK_SET; break;
        case 1: base = Tell(); whence = SEEK_CUR; break;
        case 2: base = GetLength(); whence = SEEK_END; break;
        default: return 0;
    }
    if (base < 0) return 0;
    int64_t target;
    if (__builtin_add_overflow(base, offset, &target)) {
        RecordErrno(EINVAL);
        return 0;
    }
    if (m_bufferMode == kBufferReadAhead) {
        const int64_t first = m_descriptorPosition - (m_bufferFill - m_bufferStart);
        if (target >= first && target < m_descriptorPosition) {
            m_bufferPosition = m_bufferStart + static_cast<uint32_t>(target - first);
            return 1;
        }
    }
    if (!Flush()) return 0;
    const off_t position = ::lseek(m_descriptor, offset, whence);
    if (position < 0) {
        RecordErrno(errno);
        return 0;
    }
    m_descriptorPosition = position;
    return 1;
}

int64_t CL_CFile::GetLength() {
    if (m_state != 1) return -1;
    if ((m_openFlags & (kFlagWrite | kFlagAppend | kFlagUpdate)) == 0) return m_lengthAtOpen;
    struct stat status;
    if (::fstat(m_descriptor, &status) != 0) {
        RecordErrno(errno);
        return -1;
    }
    int64_t end = status.st_size;
    if (m_bufferMode == kBufferUnwritten && m_descriptorPosition + m_bufferPosition > end) {
        end = m_descriptorPosition + m_bufferPosition;
    }
    return end;
}

int CL_CFile::Truncate() {
    if (m_state != 1 || !Flush()) return 0;
    if (::ftruncate(m_descriptor, m_descriptorPosition) != 0) {
        RecordErrno(errno);
        return 0;
    }
    return 1;
}

int CL_CFile::Rewind() {
    if (m_state != 1) return 0;
    if (m_bufferMode == kBufferUnwritten && !Flush()) return 0;
    m_bufferMode = kBufferIdle;
    m_bufferPosition = m_bufferFill = 0;
    if (::lseek(m_descriptor, 0, SEEK_SET) < 0) {
        RecordErrno(errno);
        return 0;
    }
    m_descriptorPosition = 0;
    return 1;
}

CL_CString& CL_CFile::GetPath(CL_CString& out) const {
    out = m_path;
    return out;
}

}  // namespace PRIVATE_LIBRARY
