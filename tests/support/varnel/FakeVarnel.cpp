// Test double of the Varnel service library: serves ordinary files through the VNL_* functions.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#define FAKE_VARNEL_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Handles are offset so that they never equal the descriptors behind them.
constexpr int kHandleBase = 1000;
std::map<int, std::string> g_paths;  // open handle -> the name it was opened under
std::string g_lastError;

// The descriptor behind an open handle, or -1.
int Fd(int handle) { return g_paths.count(handle) != 0 ? handle - kHandleBase : -1; }

}  // namespace

FAKE_VARNEL_EXPORT int VNL_open(const char* path, int /*mode*/) {
    const int fd = ::open(path, O_RDONLY);
    if (fd < 0) return g_lastError = std::strerror(errno), -1;
    g_paths[fd + kHandleBase] = path;
    return fd + kHandleBase;
}

FAKE_VARNEL_EXPORT int VNL_read(int handle, void* buffer, unsigned size) {
    return Fd(handle) < 0 ? -1 : static_cast<int>(::read(Fd(handle), buffer, size));
}

FAKE_VARNEL_EXPORT int64_t VNL_lseeki64(int handle, int64_t offset, int origin) {
    return Fd(handle) < 0 ? -1 : ::lseek(Fd(handle), offset, origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : SEEK_SET);
}

FAKE_VARNEL_EXPORT int VNL_close(int handle) {
    if (Fd(handle) < 0) return -1;
    ::close(Fd(handle));
    return g_paths.erase(handle), 0;
}

FAKE_VARNEL_EXPORT int64_t VNL_filelengthi64(int handle) {
    struct stat st;
    return Fd(handle) < 0 || ::fstat(Fd(handle), &st) != 0 ? -1 : st.st_size;
}

FAKE_VARNEL_EXPORT int64_t VNL_telli64(int handle) { return Fd(handle) < 0 ? -1 : ::lseek(Fd(handle), 0, SEEK_CUR); }

FAKE_VARNEL_EXPORT const char* VNL_GetSourceFileName(int handle) { return Fd(handle) < 0 ? nullptr : g_paths[handle].c_str(); }

FAKE_VARNEL_EXPORT const char* VNL_GetLastError(int /*handle*/) { return g_lastError.c_str(); }

// Every open stream reports stream type 7.
FAKE_VARNEL_EXPORT int VNL_GetEsType(int handle) { return Fd(handle) < 0 ? -1 : 7; }
