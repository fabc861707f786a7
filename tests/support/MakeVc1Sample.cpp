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
    for (uint8_t& b : bytes) {
        g_state ^= g_state << 13, g_state ^= g_state >> 17, g_state ^= g_state << 5;
        b = static_cast<uint8_t>(g_state >> 24);
    }
    return bytes;
}

Vc1Picture Pic(uint8_t ptype, uint8_t fcm = 0, uint8_t fptype = 0, uint8_t rff = 0) {
    Vc1Picture p;
    p.ptype = ptype, p.fcm = fcm, p.fptype = fptype, p.rff = rff;
    return p;
}

bool Write(std::FILE* f, const Vc1Builder& b) {
    return std::fwrite(b.Bytes().data(), 1, b.Size(), f) == b.Size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.vc1 [SECONDS]\n", argv[0]);
        return 2;
    }
    std::FILE* f = std::fopen(argv[1], "wb");
    bool ok = f != nullptr;
    if (argc == 2) {
        Vc1Sequence s;
        s.interlace = s.pulldown = s.tfcntrflag = 1, s.frameRateNr = 3, s.frameRateDr = 2, s.hrdBuckets = 2;
        Vc1Builder b;
        b.SequenceHeader(s).Script("U N").Picture(Pic(12), Body(600)).Picture(Pic(0, 0, 0, 1), Body(300));
        b.Picture(Pic(8), Body(150)).Picture(Pic(8, 0, 0, 1), Body(150)).Picture(Pic(0, 3, 3), Body(300));
        b.Picture(Pic(8, 3, 4), Body(150)).Picture(Pic(8), Body(150)).EntryPoint().Picture(Pic(12, 2), Body(600));
        b.Picture(Pic(0), Body(300)).Picture(Pic(8, 0, 0, 1), Body(150)).Picture(Pic(8), Body(150)).Script("E");
        ok = ok && Write(f, b);
    } else {
        for (long second = std::atol(argv[2]); ok && second > 0; --second) {
            Vc1Builder b;
            b.Head();
            for (int k = 0; k < 25; ++k) {
                const uint8_t ptype = k == 0 ? 12 : k % 3 == 1 ? 0 : 8;
                const size_t size = (ptype == 12 ? 150000 : ptype == 0 ? 60000 : 30000) + Body(1)[0] * 40;
                b.Picture(Pic(ptype), Body(size));
            }
            ok = Write(f, b);
        }
    }
    if (f == nullptr || !ok || std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
