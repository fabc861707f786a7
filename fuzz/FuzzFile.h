// Fuzz support: the input bytes as a file in a scratch folder of this process, for code that opens paths.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

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
    const char* Path() const { return m_path.c_str(); }

    static const std::string& Folder() {
        static const std::string folder = [] {
            std::string pattern = "/tmp/kiv-fuzz-XXXXXX";
            if (mkdtemp(pattern.data()) == nullptr) std::abort();
            return pattern + "/";
        }();
        return folder;
    }

private:
    std::string m_path;
};

}  // namespace kiv_fuzz
