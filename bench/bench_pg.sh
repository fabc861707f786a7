#!/bin/sh
# Builds bench_pg, runs the scaling benchmark (12,500 to 100,000 display sets; the fitted complexity shows
# whether the time is linear in the size) and measures one 100,000-set run with /usr/bin/time -v.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-bench}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIV_BUILD_BENCH=ON -DKIV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target bench_pg -j2 >/dev/null
"$build/bench/bench_pg" --benchmark_counters_tabular=true
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
/usr/bin/time -v "$build/bench/bench_pg" --once "$tmp/pg.pgs" 100000 2>"$tmp/time.txt"
grep -E "Elapsed|Maximum resident" "$tmp/time.txt"
ls -l "$tmp/pg.pgs" | awk '{print "stream bytes:", $5}'
start=$(date +%s.%N); cat "$tmp/pg.pgs" >/dev/null; end=$(date +%s.%N)
echo "cat: $(echo "$end - $start" | bc) s"
