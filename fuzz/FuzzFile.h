// Fuzz support: the input bytes as a file in a scratch folder of this process, for code that opens paths.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "input/CBinaryBuffer.h"

namespace kiv_fuzz {

// The scratch folder (made once, ends in "/") and the file holding the current input.
class FuzzFile {
public:
    FuzzFile(const uint8_t* data, size_t size) : m_path(Folder() + "input.es") {
        FILE* f = std::fopen(m_path.c_str(), "wb");
        if (f == nullptr) std::abort();
        if (size != 0 && std::fwrite(data, 1, size, f) != size) std::abort();
        std::fclose(f);
    }
    // The input's file goes with it, so that a run ended without exit handlers leaves an empty folder only.
    ~FuzzFile() { std::remove(m_path.c_str()); }
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
            std::string pattern = inMemory ? "/dev/shm/kiv-fuzz-XXXXXX" : "/tmp/kiv-fuzz-XXXXXX";
            if (mkdtemp(pattern.data()) == nullptr) std::abort();
            return pattern + "/";
        }();
        // Registered once the name is made, so that it runs while the name still exists.
        static const bool removedAtExit = std::atexit(RemoveFolder) == 0;
        (void)removedAtExit;
        return folder;
    }

private:
    static void RemoveFolder() { rmdir(Folder().c_str()); }

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
