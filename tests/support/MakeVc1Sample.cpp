// Writes VC-1 advanced-profile streams made with Vc1Builder.h, with pseudo-random picture data.
// Without SECONDS: the bundled sample, 1080i at 30000/1001 Hz with pull-down flags, HRD parameters, user
// data, field pairs and two entry points, closed by an end of sequence. With SECONDS: a benchmark stream,
// 1080p at 25 Hz, an entry point every second (I, then P B B), pictures of tens of KB.
// Build and run: g++ -std=c++17 -O2 -I tests tests/support/MakeVc1Sample.cpp -o make_vc1_sample &&
//                ./make_vc1_sample samples/vc1_1080i_29.97.vc1
#include <cstdio>
#include <cstdlib>

#include "support/Vc1Builder.h"

using namespace kiv_test;

namespace {

uint32_t g_state = 2463534242u;

std::vector<uint8_t> Body(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes) g_state ^= g_state << 13, g_state ^= g_state >> 17, g_state ^= g_state << 5, b = uint8_t(g_state >> 24);
    return bytes;
}

// A picture of PTYPE code, FCM, FPTYPE and RFF with `size` bytes of data; size 0 writes an entry point.
void Add(Vc1Builder& b, uint8_t ptype, uint8_t fcm, uint8_t fptype, uint8_t rff, size_t size) {
    size == 0 ? b.EntryPoint() : b.Picture(Vc1Picture{ptype, fcm, fptype, 0, rff}, Body(size));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) return std::fprintf(stderr, "usage: %s OUTPUT.vc1 [SECONDS]\n", argv[0]), 2;
    std::FILE* f = std::fopen(argv[1], "wb");
    bool ok = f != nullptr;
    for (long second = argc == 2 ? 1 : std::atol(argv[2]); ok && second > 0; --second) {
        Vc1Builder b;
        if (argc == 2) {
            Vc1Sequence s;
            s.interlace = s.pulldown = s.tfcntrflag = 1, s.frameRateNr = 3, s.frameRateDr = 2, s.hrdBuckets = 2;
            b.SequenceHeader(s).Script("U N");
            const int pictures[][5] = {{12, 0, 0, 0, 600}, {0, 0, 0, 1, 300}, {8, 0, 0, 0, 150}, {8, 0, 0, 1, 150},
                                       {0, 3, 3, 0, 300},  {8, 3, 4, 0, 150}, {8, 0, 0, 0, 150}, {0, 0, 0, 0, 0},
                                       {12, 2, 0, 0, 600}, {0, 0, 0, 0, 300}, {8, 0, 0, 1, 150}, {8, 0, 0, 0, 150}};
            for (const int* p : pictures) Add(b, p[0], p[1], p[2], p[3], p[4]);
            b.Script("E");
        } else {
            b.Head();
            for (int k = 0; k < 25; ++k) {
                const uint8_t ptype = k == 0 ? 12 : k % 3 == 1 ? 0 : 8;
                Add(b, ptype, 0, 0, 0, (ptype == 12 ? 150000 : ptype == 0 ? 60000 : 30000) + Body(1)[0] * 40);
            }
        }
        ok = std::fwrite(b.Bytes().data(), 1, b.Size(), f) == b.Size();
    }
    if (f == nullptr || !ok || std::fclose(f) != 0) return std::perror(argv[1]), 1;
    return 0;
}
