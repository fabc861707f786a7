// Throughput of the ES input layer over one large file (KIV_BENCH_FILE), read to its end per iteration.
// `bench_input --make-file PATH BYTES` writes a pseudo-random file in which the byte pair 00 01 never occurs.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "input/CBinaryBuffer.h"
#include "input/CBinaryBufferForAvc.h"
#include "input/CEsFileReader.h"

namespace {

const char* BenchFile() {
    const char* path = std::getenv("KIV_BENCH_FILE");
    return path != nullptr ? path : "/tmp/kiv-bench-1g.es";
}

int MakeFile(const char* path, uint64_t size) {
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return 1;
    std::vector<uint8_t> block(1 << 20);
    uint64_t state = 0x9E3779B97F4A7C15ull;
    uint8_t previous = 0xFF;
    for (uint64_t written = 0; written < size;) {
        for (auto& b : block) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            b = static_cast<uint8_t>(state >> 24);
            if (previous == 0x00 && b == 0x01) b = 0x02;
            previous = b;
        }
        const size_t n = static_cast<size_t>(std::min<uint64_t>(block.size(), size - written));
        if (std::fwrite(block.data(), 1, n, out) != n) return 1;
        written += n;
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

template <typename Buffer>
std::unique_ptr<Buffer> OpenOrSkip(benchmark::State& state) {
    auto b = std::make_unique<Buffer>();
    if (!b->Open(BenchFile())) state.SkipWithError("cannot open KIV_BENCH_FILE");
    return b;
}

void Finish(benchmark::State& state, int64_t bytes) { state.SetBytesProcessed(bytes); }

void BM_ReaderBulkView(benchmark::State& state) {
    int64_t total = 0;
    for (auto _ : state) {
        ts_comp::es::CEsFileReader reader;
        if (!reader.Open(BenchFile())) state.SkipWithError("cannot open KIV_BENCH_FILE");
        const uint8_t* data = nullptr;
        uint64_t sum = 0;
        for (uint32_t n; (n = reader.PeekBuffered(&data)) != 0;) {
            sum += data[n - 1];
            reader.ConsumeBuffered(n);
            total += n;
        }
        benchmark::DoNotOptimize(sum);
    }
    Finish(state, total);
}

template <typename Buffer>
void BM_ReadByte(benchmark::State& state) {
    int64_t total = 0;
    for (auto _ : state) {
        auto owned = OpenOrSkip<Buffer>(state);
        ts_comp::CBinaryBuffer* b = owned.get();
        uint64_t sum = 0;
        try {
            for (;;) {
                sum += b->ReadByte();
                ++total;
            }
        } catch (const ts_comp::CBinaryBuffer::BinaryBufferReadException&) {
        }
        benchmark::DoNotOptimize(sum);
    }
    Finish(state, total);
}

void BM_ReadBits8(benchmark::State& state) {
    int64_t total = 0;
    for (auto _ : state) {
        auto b = OpenOrSkip<ts_comp::CBinaryBuffer>(state);
        ts_comp::CBinaryBuffer& ref = *b;
        uint64_t sum = 0;
        uint64_t v = 0;
        while (ref.ReadBits(&v, 8) == 8) {
            sum += v;
            ++total;
        }
        benchmark::DoNotOptimize(sum);
    }
    Finish(state, total);
}

void BM_SearchCodeAbsent(benchmark::State& state) {
    int64_t total = 0;
    for (auto _ : state) {
        auto b = OpenOrSkip<ts_comp::CBinaryBuffer>(state);
        ts_comp::CBinaryBuffer& ref = *b;
        benchmark::DoNotOptimize(ref.SearchCode(0x0001));
        total += ref.Tell();
    }
    Finish(state, total);
}

void BM_StartCodeScan(benchmark::State& state) {
    int64_t total = 0;
    for (auto _ : state) {
        auto b = OpenOrSkip<ts_comp::CBinaryBuffer>(state);
        uint32_t zeros = 0;
        uint8_t value = 0;
        uint64_t found = 0;
        while (b->ScanStartCodePrefix(zeros, value)) {
            found += value == 0x01;
            zeros = 0;
        }
        benchmark::DoNotOptimize(found);
        total += b->Tell();
    }
    Finish(state, total);
}

}  // namespace

BENCHMARK(BM_ReaderBulkView)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK_TEMPLATE(BM_ReadByte, ts_comp::CBinaryBuffer)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK_TEMPLATE(BM_ReadByte, ts_comp::es::avc_video::CBinaryBufferForAvc)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_ReadBits8)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_SearchCodeAbsent)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_StartCodeScan)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--make-file") == 0) {
        return MakeFile(argv[2], std::strtoull(argv[3], nullptr, 10));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
