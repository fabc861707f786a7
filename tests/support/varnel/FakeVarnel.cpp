// Test double of the Varnel service library: serves ordinary files through the VNL_* functions.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#define FAKE_VARNEL_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr int kMaxHandles = 64;
// Handles are offset so that they never equal the descriptors behind them.
constexpr int kHandleBase = 1000;
// Stream type the fake reports for every open stream.
constexpr int kFakeEsType = 7;

struct Stream {
    int fd = -1;
    std::string path;
};

Stream g_streams[kMaxHandles];
std::string g_lastError;

Stream* Find(int handle) {
    const int index = handle - kHandleBase;
    if (index < 0 || index >= kMaxHandles || g_streams[index].fd < 0) return nullptr;
    return &g_streams[index];
}

void RecordErrno() { g_lastError = std::strerror(errno); }

}  // namespace

FAKE_VARNEL_EXPORT int VNL_open(const char* path, int /*mode*/) {
    for (int i = 0; i < kMaxHandles; ++i) {
        if (g_streams[i].fd >= 0) continue;
        const int fd = ::open(path, O_RDONLY);
        if (fd < 0) {
            RecordErrno();
            return -1;
        }
        g_streams[i].fd = fd;
        g_streams[i].path = path;
        return kHandleBase + i;
    }
    g_lastError = "too many streams";
    return -1;
}

FAKE_VARNEL_EXPORT int VNL_read(int handle, void* buffer, unsigned size) {
    Stream* s = Find(handle);
    if (s == nullptr) return -1;
    const ssize_t got = ::read(s->fd, buffer, size);
    if (got < 0) RecordErrno();
    return static_cast<int>(got);
}

FAKE_VARNEL_EXPORT int64_t VNL_lseeki64(int handle, int64_t offset, int origin) {
    Stream* s = Find(handle);
    if (s == nullptr) return -1;
    const int whence = origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : SEEK_SET;
    const off_t position = ::lseek(s->fd, offset, whence);
    if (position < 0) RecordErrno();
    return position;
}

FAKE_VARNEL_EXPORT int VNL_close(int handle) {
    Stream* s = Find(handle);
    if (s == nullptr) return -1;
    ::close(s->fd);
    s->fd = -1;
    s->path.clear();
    return 0;
}

FAKE_VARNEL_EXPORT int64_t VNL_filelengthi64(int handle) {
    Stream* s = Find(handle);
    if (s == nullptr) return -1;
    const off_t here = ::lseek(s->fd, 0, SEEK_CUR);
    const off_t end = ::lseek(s->fd, 0, SEEK_END);
    ::lseek(s->fd, here, SEEK_SET);
    return end;
}

FAKE_VARNEL_EXPORT int64_t VNL_telli64(int handle) {
    Stream* s = Find(handle);
    return s == nullptr ? -1 : ::lseek(s->fd, 0, SEEK_CUR);
}

FAKE_VARNEL_EXPORT const char* VNL_GetSourceFileName(int handle) {
    Stream* s = Find(handle);
    return s == nullptr ? nullptr : s->path.c_str();
}

FAKE_VARNEL_EXPORT const char* VNL_GetLastError(int /*handle*/) { return g_lastError.c_str(); }

FAKE_VARNEL_EXPORT int VNL_GetEsType(int handle) { return Find(handle) == nullptr ? -1 : kFakeEsType; }
