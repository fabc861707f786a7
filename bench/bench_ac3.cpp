// Throughput of the AC-3 analyser's scan over a file in the page cache (KIV_BENCH_AC3_FILE, or a generated
// 256 MiB stream of 640 kbit/s 48 kHz AC-3 frames of 2560 bytes).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "es/audio/ac3/CAc3Es.h"
#include "foundation/CL_CString.h"
#include "support/Ac3Builder.h"

namespace {

std::string StreamPath() {
    if (const char* path = std::getenv("KIV_BENCH_AC3_FILE")) return path;
    const std::string path = "/tmp/kiv-bench-ac3-256m.ac3";
    std::ifstream probe(path);
    if (probe) return path;
    kiv_test::Ac3Frame f;
    f.frmsizecod = 36;  // 640 kbit/s: 1280 words
    f.acmod = 7;
    f.lfeon = 1;
    const std::vector<uint8_t> frame = f.Build();
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 104858; ++i) {
        out.write(reinterpret_cast<const char*>(frame.data()), static_cast<std::streamsize>(frame.size()));
    }
    return path;
}

void BM_Ac3CreateKiv(benchmark::State& state) {
    const std::string path = StreamPath();
    const std::string kiv = path + ".bench.kiv";
    int64_t bytes = 0;
    for (auto _ : state) {
        ts_comp::es::CAc3Es es(PRIVATE_LIBRARY::CL_CString(path.c_str()));
        if (!es.CreateKiv(kiv.c_str(), {0})) state.SkipWithError("CreateKiv failed");
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        bytes += static_cast<int64_t>(in.tellg());
    }
    state.SetBytesProcessed(bytes);
    std::remove(kiv.c_str());
}
BENCHMARK(BM_Ac3CreateKiv)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
