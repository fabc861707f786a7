// PG analyser throughput: a stream of many small display sets indexed and timed end to end.
// `bench_pg --once FILE SETS [OBJECT_BYTES]` analyses one generated stream once (for /usr/bin/time),
// `bench_pg --write FILE SETS [OBJECT_BYTES]` only writes it; otherwise Google Benchmark runs.
#include <benchmark/benchmark.h>

#include <chrono>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "es/graphics/pg/CPresentationGraphicsEs.h"
#include "support/GraphicsBuilder.h"

using namespace kiv_test::gfx;

namespace {

// Writes `sets` display sets (PCS, WDS, PDS, ODS, END; every 50th an epoch start) to path; returns its size.
size_t WriteStream(const std::string& path, int64_t sets, size_t objectBytes = 400) {
    Pcs start;
    start.state = 2;
    start.objects = {{0, 0}};
    Pcs normal = start;
    normal.state = 0;
    Bytes head;
    Append(head, Wds({{0, 100, 900, 1600, 100}}));
    Append(head, Pds(0, 0, {{0, 16, 128, 128, 0}, {1, 235, 128, 128, 255}}));
    Append(head, Ods(0, 1600, 100, objectBytes));
    Append(head, End());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 0;
    size_t total = 0;
    for (int64_t i = 0; i < sets; ++i) {
        Pcs& p = i % 50 == 0 ? start : normal;
        p.number = static_cast<uint16_t>(i);
        Bytes set = p.Build();
        Append(set, head);
        total += std::fwrite(set.data(), 1, set.size(), f);
    }
    std::fclose(f);
    return total;
}

std::vector<uint64_t> Starts(int64_t sets) {
    std::vector<uint64_t> starts(static_cast<size_t>(sets));
    for (size_t i = 0; i < starts.size(); ++i) starts[i] = 90000 + i * 180000;
    return starts;
}

bool Analyse(const std::string& es, const std::string& kiv, int64_t sets) {
    ts_comp::es::CPresentationGraphicsEs analyser{PRIVATE_LIBRARY::CL_CString(es.c_str())};
    return analyser.CreateKiv(kiv.c_str(), Starts(sets));
}

void BM_PgCreateKiv(benchmark::State& state) {
    const int64_t sets = state.range(0);
    const std::string es = "/tmp/bench_pg_" + std::to_string(sets) + ".pgs";
    const size_t size = WriteStream(es, sets);
    for (auto _ : state) {
        if (!Analyse(es, es + ".kiv", sets)) state.SkipWithError("CreateKiv failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
    state.SetComplexityN(sets);
    std::remove(es.c_str());
    std::remove((es + ".kiv").c_str());
}
BENCHMARK(BM_PgCreateKiv)->RangeMultiplier(2)->Range(12500, 100000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace

int main(int argc, char** argv) {
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "--write") == 0) {
        const size_t objectBytes = argc == 5 ? static_cast<size_t>(std::atoll(argv[4])) : 400;
        return WriteStream(argv[2], std::atoll(argv[3]), objectBytes) != 0 ? 0 : 1;
    }
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "--once") == 0) {
        const int64_t sets = std::atoll(argv[3]);
        const std::string es = argv[2];
        const size_t objectBytes = argc == 5 ? static_cast<size_t>(std::atoll(argv[4])) : 400;
        const size_t size = WriteStream(es, sets, objectBytes);
        const auto start = std::chrono::steady_clock::now();
        const bool ok = Analyse(es, es + ".kiv", sets);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%lld display sets, %zu bytes: %s in %.3f s, %.0f MB/s\n", static_cast<long long>(sets), size,
                    ok ? "indexed" : "FAILED", seconds, static_cast<double>(size) / seconds / 1e6);
        return ok ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
