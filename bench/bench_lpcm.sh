#!/usr/bin/env bash
# HDMV LPCM indexing against `cat` on a 1 GiB stream in the page cache: six channels, 48 kHz,
# 24 bits, 5 ms frames. Indexes with `kivtool create --quiet` when it builds, else with bench_lpcm.
# Usage: bench/bench_lpcm.sh [DIR]   (DIR holds the scratch files; default /tmp)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-/tmp}
build=${KIV_BENCH_BUILD:-$root/build-bench}
file=$dir/kiv-bench-lpcm-1g.lpcm
kiv=$dir/kiv-bench-lpcm-1g.kiv
frames_log2=18  # 2^18 frames of 4324 bytes: 1.13 GB, at least 1 GiB

now() { date +%s.%N; }
mbps() { python3 -c "print(f'{$1 / ($3 - $2) / 1e6:.0f}')"; }

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIV_BUILD_BENCH=ON -DKIV_BUILD_TESTS=OFF >/dev/null
tool=""
if cmake --build "$build" -j2 --target kivtool >/dev/null 2>&1 && [ -x "$build/tools/kivtool/kivtool" ]; then
  tool=$build/tools/kivtool/kivtool
else
  cmake --build "$build" -j2 --target bench_lpcm >/dev/null
fi

size=$((4324 << frames_log2))
if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" -ne "$size" ]; then
  echo "creating $file"
  # One frame: payload 4320, channel_assignment 9, sampling_frequency 1, bits_per_sample 3.
  { printf '\x10\xe0\x91\xc0'; head -c 4320 /dev/urandom; } >"$file.part"
  for _ in $(seq "$frames_log2"); do cat "$file.part" "$file.part" >"$file.next"; mv "$file.next" "$file.part"; done
  mv "$file.part" "$file"
fi

cat "$file" >/dev/null  # into the page cache
start=$(now); cat "$file" >/dev/null; end=$(now)
cat_mbps=$(mbps "$size" "$start" "$end")

if [ -n "$tool" ]; then
  "$tool" create --type lpcm --quiet "$file" "$kiv"  # warm
  start=$(now); "$tool" create --type lpcm --quiet "$file" "$kiv"; end=$(now)
  how="kivtool create --quiet"
  lpcm_mbps=$(mbps "$size" "$start" "$end")
else
  how="bench_lpcm (CHdmvLpcmEs::CreateKiv)"
  lpcm_mbps=$(KIV_BENCH_LPCM_FILE=$file "$build/bench/bench_lpcm" --benchmark_min_time=1 --benchmark_format=json \
    | python3 -c "import json,sys; print(f\"{json.load(sys.stdin)['benchmarks'][0]['bytes_per_second']/1e6:.0f}\")")
fi
items=""
if [ -f "$kiv" ]; then items="  (items written: $(( ($(stat -c %s "$kiv") - 4) / 14 )))"; fi
rm -f "$kiv"

echo "file: $file ($size bytes, $((1 << frames_log2)) frames)"
printf '%-44s%10s\n' "measure" "MB/s"
printf '%-44s%10s\n' "cat FILE > /dev/null" "$cat_mbps"
printf '%-44s%10s\n' "$how" "$lpcm_mbps"
python3 -c "print(f'ratio cat/lpcm: {$cat_mbps / $lpcm_mbps:.2f}$items')"
