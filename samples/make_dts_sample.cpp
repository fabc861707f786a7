// Interleaves DTS core frames with DTS-HD extension substreams: after every core frame of IN it writes one
// extension substream (7.1, 48 kHz, 512 samples, EXT_BYTES bytes in all, zero payload) built field by field
// by tests/support/DtsBuilder.h.
// Build: g++ -std=c++17 -O2 -I tests samples/make_dts_sample.cpp -o make_dts_sample
// Use:   ./make_dts_sample IN.dts OUT.dts [EXT_BYTES]   (default 1500)
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "support/DtsBuilder.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s IN.dts OUT.dts [EXT_BYTES]\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<uint8_t> core((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    kiv_test::DtsExtensionSubstream ext;
    ext.bytes = argc > 3 ? static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)) : 1500;
    const std::vector<uint8_t> substream = ext.Build();
    std::ofstream out(argv[2], std::ios::binary);
    size_t frames = 0;
    for (size_t pos = 0; pos + 10 <= core.size(); ++frames) {
        if (core[pos] != 0x7F || core[pos + 1] != 0xFE || core[pos + 2] != 0x80 || core[pos + 3] != 0x01) {
            std::fprintf(stderr, "no core sync word at byte %zu\n", pos);
            return 1;
        }
        // FSIZE: 14 bits starting at bit 46 of the frame.
        const size_t size = (((core[pos + 5] & 0x03u) << 12) | (core[pos + 6] << 4) | (core[pos + 7] >> 4)) + 1;
        if (pos + size > core.size()) break;
        out.write(reinterpret_cast<const char*>(&core[pos]), static_cast<std::streamsize>(size));
        out.write(reinterpret_cast<const char*>(substream.data()), static_cast<std::streamsize>(substream.size()));
        pos += size;
    }
    std::fprintf(stderr, "%zu core frames, %zu extension substreams of %u bytes\n", frames, frames, ext.bytes);
    return out ? 0 : 1;
}
