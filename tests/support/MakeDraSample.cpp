// Writes a DRA stream made with DraBuilder.h: 3/2+LFE at 48 kHz (coded channel fields 4 and 1, sum/difference
// and joint intensity coding on), 8 blocks (1024 samples) a frame, frames of 1536 to 1552 bytes in turn.
// Build and run: g++ -std=c++17 -O2 -I tests tests/support/MakeDraSample.cpp -o make_dra_sample &&
//                ./make_dra_sample samples/dra_48k_5.1.dra 48        (FRAMES, default 48)
#include <cstdio>
#include <cstdlib>

#include "support/DraBuilder.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.dra [FRAMES]\n", argv[0]);
        return 2;
    }
    const unsigned long long frames = argc == 3 ? std::strtoull(argv[2], nullptr, 10) : 48;
    std::vector<uint8_t> kinds[5];
    for (unsigned k = 0; k < 5; ++k) {
        kiv_test::DraFrame f{0, 3, 8, 4, 1, 0, 1, 1, 9};
        f.bytes = 1536 + 4 * k;
        f.AppendTo(kinds[k]);
    }
    FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) return 1;
    for (unsigned long long i = 0; i < frames; ++i) {
        const std::vector<uint8_t>& f = kinds[(i * 3) % 5];
        if (std::fwrite(f.data(), 1, f.size(), out) != f.size()) return 1;
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
