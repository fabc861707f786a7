// Fuzz support: the input bytes as a file in a scratch folder of this process, for code that opens paths.
#pragma once

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "input/CBinaryBuffer.h"

namespace kiv_fuzz {

// The scratch folder (made once, named after the process, ends in "/") and the file of the current input.
class FuzzFile {
public:
    FuzzFile(const uint8_t* data, size_t size) : m_path(Folder() + "input.es") {
        FILE* f = std::fopen(m_path.c_str(), "wb");
        if (f == nullptr) std::abort();
        if (size != 0 && std::fwrite(data, 1, size, f) != size) std::abort();
        std::fclose(f);
    }
    // The next input rewrites the file; the folder goes at exit, or with the next process after a crash.
    ~FuzzFile() = default;
    FuzzFile(const FuzzFile&) = delete;
    FuzzFile& operator=(const FuzzFile&) = delete;
    const char* Path() const { return m_path.c_str(); }

    static const std::string& Folder() {
        static const std::string folder = [] {
            // A memory file system where there is one: each input is written there, and on a disk the file's
            // truncation and rewrite cost far more than the run itself.
            struct stat shm {};
            const bool inMemory =
                stat("/dev/shm", &shm) == 0 && S_ISDIR(shm.st_mode) && access("/dev/shm", W_OK) == 0;
            const std::string parent = inMemory ? "/dev/shm/" : "/tmp/";
            RemoveFoldersOfEndedProcesses(parent);
            std::string pattern = parent + kPrefix + std::to_string(getpid()) + "-XXXXXX";
            if (mkdtemp(pattern.data()) == nullptr) std::abort();
            return pattern + "/";
        }();
        // Registered once the name is made, so that it runs while the name still exists.
        static const bool removedAtExit = std::atexit(RemoveFolder) == 0;
        (void)removedAtExit;
        return folder;
    }

private:
    static constexpr const char* kPrefix = "kiv-fuzz-";

    // The folder with what a run left in it (out.kiv of the creator targets; no subfolders).
    static void RemoveTree(const std::string& folder) {
        if (DIR* dir = opendir(folder.c_str())) {
            while (const dirent* entry = readdir(dir)) {
                if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
                    unlink((folder + "/" + entry->d_name).c_str());
                }
            }
            closedir(dir);
        }
        rmdir(folder.c_str());
    }
    static void RemoveFolder() { RemoveTree(Folder()); }
    // A run that ends without exit handlers (a crash, a timeout, a kill) leaves its folder: the next run
    // removes the folders whose process no longer exists.
    static void RemoveFoldersOfEndedProcesses(const std::string& parent) {
        DIR* dir = opendir(parent.c_str());
        if (dir == nullptr) return;
        while (const dirent* entry = readdir(dir)) {
            const size_t prefix = std::strlen(kPrefix);
            if (std::strncmp(entry->d_name, kPrefix, prefix) != 0) continue;
            char* end = nullptr;
            const unsigned long pid = std::strtoul(entry->d_name + prefix, &end, 10);
            const bool named = end != entry->d_name + prefix && *end == '-' && std::strlen(end) == 7 && pid != 0;
            if (named && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) RemoveTree(parent + entry->d_name);
        }
        closedir(dir);
    }

    std::string m_path;
};

// Opens the input and calls parse at each position until the end; a position parse does not move past
// is stepped over by one byte, and the walk ends at the first exception of the buffer.
template <typename Parse>
void WalkUnits(const uint8_t* data, size_t size, Parse parse) {
    FuzzFile input(data, size);
    ts_comp::CBinaryBuffer buffer;
    if (!buffer.Open(input.Path())) return;
    try {
        // The file holds the input, so its size is known without the buffer's seeks to the end and back.
        const auto end = static_cast<int64_t>(size);
        while (buffer.Tell() < end) {
            const int64_t before = buffer.Tell();
            parse(buffer);
            if (buffer.Tell() <= before) buffer.ReadByte();
        }
    } catch (const ts_comp::CBinaryBuffer::BinaryBufferException&) {
    }
}

}  // namespace kiv_fuzz
