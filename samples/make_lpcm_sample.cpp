// Wraps big-endian 24-bit PCM of six channels at 48 kHz into 5 ms HDMV LPCM frames.
// Usage: make_lpcm_sample PCM_IN LPCM_OUT   (build: g++ -std=c++17 -I tests samples/make_lpcm_sample.cpp)
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "support/LpcmBuilder.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PCM_IN LPCM_OUT\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<uint8_t> pcm((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // 240 samples of 6 channels, 3 bytes each; 3/2 channels with LFE (code 9), 48 kHz (1), 24 bits (3).
    constexpr size_t kPayload = 240 * 6 * 3;
    kiv_test::LpcmBuilder builder;
    builder.Codes({9, 1, 3, 0});
    for (size_t at = 0; at + kPayload <= pcm.size(); at += kPayload) {
        builder.Header(static_cast<uint16_t>(kPayload))
            .Payload(std::vector<uint8_t>(pcm.begin() + static_cast<std::ptrdiff_t>(at),
                                          pcm.begin() + static_cast<std::ptrdiff_t>(at + kPayload)));
    }
    const std::vector<uint8_t> stream = builder.Take();
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(stream.data()), static_cast<std::streamsize>(stream.size()));
    return out ? 0 : 1;
}
