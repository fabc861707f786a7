// Throughput of the HDMV LPCM analyser over a file in the page cache (KIV_BENCH_LPCM_FILE, or a
// generated 256 MiB stream of 5 ms six-channel 24-bit frames).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "es/audio/lpcm/CHdmvLpcmEs.h"
#include "foundation/CL_CString.h"

namespace {

std::string StreamPath() {
    if (const char* path = std::getenv("KIV_BENCH_LPCM_FILE")) return path;
    const std::string path = "/tmp/kiv-bench-lpcm-256m.lpcm";
    std::ifstream probe(path);
    if (probe) return path;
    std::vector<char> frame(4324, 0x5A);
    frame[0] = 0x10;  // payload 4320, 3/2+LFE, 48 kHz, 24 bits
    frame[1] = static_cast<char>(0xE0);
    frame[2] = static_cast<char>(0x91);
    frame[3] = static_cast<char>(0xC0);
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 62080; ++i) out.write(frame.data(), static_cast<std::streamsize>(frame.size()));
    return path;
}

void BM_HdmvLpcmCreateKiv(benchmark::State& state) {
    const std::string path = StreamPath();
    const std::string kiv = path + ".bench.kiv";
    int64_t bytes = 0;
    for (auto _ : state) {
        ts_comp::es::CHdmvLpcmEs es(PRIVATE_LIBRARY::CL_CString(path.c_str()));
        if (!es.CreateKiv(kiv.c_str(), {0})) state.SkipWithError("CreateKiv failed");
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        bytes += static_cast<int64_t>(in.tellg());
    }
    state.SetBytesProcessed(bytes);
    std::remove(kiv.c_str());
}
BENCHMARK(BM_HdmvLpcmCreateKiv)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
