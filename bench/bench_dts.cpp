// Throughput of the DTS analyser's scan over a file in the page cache (KIV_BENCH_DTS_FILE, or a generated
// 256 MiB stream of 2012-byte core frames each followed by a 3000-byte extension substream).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "es/audio/dts/CDtsHDEs.h"
#include "support/DtsBuilder.h"

namespace {

std::string StreamPath() {
    if (const char* path = std::getenv("KIV_BENCH_DTS_FILE")) return path;
    const std::string path = "/tmp/kiv-bench-dts-256m.dts";
    if (std::ifstream(path)) return path;
    const std::vector<uint8_t> unit = kiv_test::JoinUnits({kiv_test::DtsCore(9, 1, 13, 0, 0, 2011), kiv_test::DtsExt(3000)});
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 53600; ++i) out.write(reinterpret_cast<const char*>(unit.data()), std::streamsize(unit.size()));
    return path;
}

void BM_DtsCreateKiv(benchmark::State& state) {
    const std::string path = StreamPath(), kiv = path + ".bench.kiv";
    int64_t bytes = 0;
    for (auto _ : state) {
        ts_comp::es::CDtsHDEs es(PRIVATE_LIBRARY::CL_CString(path.c_str()));
        if (!es.CreateKiv(kiv.c_str(), {0})) state.SkipWithError("CreateKiv failed");
        bytes += std::ifstream(path, std::ios::binary | std::ios::ate).tellg();
    }
    state.SetBytesProcessed(bytes);
    std::remove(kiv.c_str());
}
BENCHMARK(BM_DtsCreateKiv)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
