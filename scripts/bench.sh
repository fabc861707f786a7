#!/usr/bin/env bash
# Throughput figures of the input layer on a 1 GiB file in the page cache, then every bench/bench_*.sh.
# Usage: scripts/bench.sh [DIR]   (DIR holds the scratch file; default /tmp)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-/tmp}
build=${KIV_BENCH_BUILD:-$root/build-bench}
size=$((1024 * 1024 * 1024))
file=$dir/kiv-bench-1g.es

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIV_BUILD_BENCH=ON -DKIV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target bench_input >/dev/null

if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" -ne "$size" ]; then
  echo "creating $file"
  "$build/bench/bench_input" --make-file "$file" "$size"
fi

cat "$file" >/dev/null  # bring it into the page cache
start=$(date +%s.%N)
cat "$file" >/dev/null
end=$(date +%s.%N)
cat_mbps=$(python3 -c "print(f'{$size / ($end - $start) / 1e6:.0f}')")

json=$(mktemp)
trap 'rm -f "$json"' EXIT
KIV_BENCH_FILE=$file "$build/bench/bench_input" --benchmark_format=json --benchmark_out="$json" \
  --benchmark_out_format=json >/dev/null

python3 - "$json" "$cat_mbps" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
cat = float(sys.argv[2])
print(f"{'measure':<52}{'MB/s':>10}{'cat/x':>8}")
print(f"{'cat FILE > /dev/null':<52}{cat:>10.0f}{1.0:>8.2f}")
for r in runs:
    mbps = r.get("bytes_per_second", 0) / 1e6
    ratio = cat / mbps if mbps else float("inf")
    print(f"{r['name']:<52}{mbps:>10.0f}{ratio:>8.2f}")
PY

for script in "$root"/bench/bench_*.sh; do
  [ -e "$script" ] || continue
  echo "== $(basename "$script")"
  BUILD_DIR=$build KIV_BENCH_BUILD=$build bash "$script" "$dir" || echo "$(basename "$script") failed"
done
