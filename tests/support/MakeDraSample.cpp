// Writes FRAMES (default 48) DRA frames made with DraBuilder.h: 3/2+LFE at 48 kHz (coded channel fields 4 and 1,
// sum/difference and joint intensity coding on), 8 blocks (1024 samples) a frame, 1536 to 1552 bytes in turn.
// g++ -std=c++17 -O2 -I tests tests/support/MakeDraSample.cpp -o make_dra_sample && ./make_dra_sample OUT.dra [FRAMES]
#include <cstdio>
#include <cstdlib>

#include "support/DraBuilder.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) return std::fprintf(stderr, "usage: %s OUTPUT.dra [FRAMES]\n", argv[0]), 2;
    std::vector<uint8_t> kinds[5];
    for (unsigned k = 0; k < 5; ++k) kiv_test::DraFrame{0, 3, 8, 4, 1, 0, 1, 1, 9, 1536 + 4 * k}.AppendTo(kinds[k]);
    FILE* out = std::fopen(argv[1], "wb");
    bool ok = out != nullptr;
    for (unsigned long long i = 0, n = argc == 3 ? std::strtoull(argv[2], nullptr, 10) : 48; ok && i < n; ++i) {
        ok = std::fwrite(kinds[(i * 3) % 5].data(), 1, kinds[(i * 3) % 5].size(), out) == kinds[(i * 3) % 5].size();
    }
    return ok && std::fclose(out) == 0 ? 0 : 1;
}
