// Throughput of the MPEG-2 video analyser over a file in the page cache (KIV_BENCH_MPEG2_FILE, or the
// bundled sample when unset).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "es/video/mpeg2/CVideoEs.h"
#include "foundation/CL_CString.h"

namespace {

std::string StreamPath() {
    if (const char* path = std::getenv("KIV_BENCH_MPEG2_FILE")) return path;
    return std::string{"."} + "/samples/testsrc_480p_23.976.m2v";
}

void BM_Mpeg2CreateKiv(benchmark::State& state) {
    const std::string path = StreamPath();
    const std::string kiv = "/tmp/kiv-bench-mpeg2.bench.kiv";
    int64_t bytes = 0;
    for (auto _ : state) {
        ts_comp::es::CVideoEs es(PRIVATE_LIBRARY::CL_CString(path.c_str()));
        if (!es.CreateKiv(kiv.c_str(), {0})) state.SkipWithError("CreateKiv failed");
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        bytes += static_cast<int64_t>(in.tellg());
    }
    state.SetBytesProcessed(bytes);
    std::remove(kiv.c_str());
}
BENCHMARK(BM_Mpeg2CreateKiv)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
