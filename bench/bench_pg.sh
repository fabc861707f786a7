#!/bin/sh
# PG analyser stress case: builds bench_pg, runs the scaling benchmark (12,500 to 100,000 display sets; the
# fitted complexity shows whether the time is linear in the size), then one 100,000-set run under
# /usr/bin/time -v for the peak memory, and `cat` of the same file for comparison.
# Usage: bench/bench_pg.sh   (BUILD_DIR selects the build folder; default build-bench)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-bench}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIV_BUILD_BENCH=ON -DKIV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target bench_pg -j2 >/dev/null
"$build/bench/bench_pg"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
/usr/bin/time -v "$build/bench/bench_pg" --once "$tmp/pg.pgs" 100000 2>"$tmp/time.txt"
grep -E "Elapsed|Maximum resident" "$tmp/time.txt"
# A subtitle-like stream: 20,000 display sets whose objects carry 8,000 coded bytes.
"$build/bench/bench_pg" --once "$tmp/pg8k.pgs" 20000 8000
rm -f "$tmp/pg8k.pgs" "$tmp/pg8k.pgs.kiv"
cat "$tmp/pg.pgs" >/dev/null
start=$(date +%s.%N); cat "$tmp/pg.pgs" >/dev/null; end=$(date +%s.%N)
size=$(stat -c %s "$tmp/pg.pgs")
python3 -c "print(f'cat FILE > /dev/null: {$size / ($end - $start) / 1e6:.0f} MB/s')"
