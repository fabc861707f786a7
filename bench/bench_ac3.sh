#!/usr/bin/env bash
# AC-3 indexing against `cat` and `ffprobe -show_packets` on a 1 GiB stream in the page cache: 5.1 at
# 640 kbit/s, 48 kHz, encoded by ffmpeg and concatenated. Indexes with `kivtool create --quiet` when it
# builds, else with bench_ac3.
# Usage: bench/bench_ac3.sh [DIR]   (DIR holds the scratch files; default /tmp)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-/tmp}
build=${KIV_BENCH_BUILD:-$root/build-bench}
file=$dir/kiv-bench-ac3-1g.ac3
kiv=$dir/kiv-bench-ac3-1g.kiv
clip=$dir/kiv-bench-ac3-clip.ac3
min_size=$((1024 * 1024 * 1024))

now() { date +%s.%N; }
mbps() { python3 -c "print(f'{$1 / ($3 - $2) / 1e6:.0f}')"; }

command -v ffmpeg >/dev/null || { echo "SKIPPED: ffmpeg is not installed"; exit 0; }

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIV_BUILD_BENCH=ON -DKIV_BUILD_TESTS=OFF >/dev/null
tool=""
if cmake --build "$build" -j2 --target kivtool >/dev/null 2>&1 && [ -x "$build/tools/kivtool/kivtool" ]; then
  tool=$build/tools/kivtool/kivtool
else
  cmake --build "$build" -j2 --target bench_ac3 >/dev/null
fi

if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" -lt "$min_size" ]; then
  echo "creating $file"
  # 16 s of 5.1 at 640 kbit/s (1.28 MB, 500 frames of 2560 bytes), doubled until at least 1 GiB.
  ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "sine=frequency=997:sample_rate=48000:duration=16" \
    -af "pan=5.1|FL=c0|FR=c0|FC=c0|LFE=c0|BL=c0|BR=c0" -c:a ac3 -b:a 640k -f ac3 "$clip"
  cp "$clip" "$file.part"
  while [ "$(stat -c %s "$file.part")" -lt "$min_size" ]; do
    cat "$file.part" "$file.part" >"$file.next"; mv "$file.next" "$file.part"
  done
  mv "$file.part" "$file"
  rm -f "$clip"
fi
size=$(stat -c %s "$file")

cat "$file" >/dev/null  # into the page cache
start=$(now); cat "$file" >/dev/null; end=$(now)
cat_mbps=$(mbps "$size" "$start" "$end")

if [ -n "$tool" ]; then
  "$tool" create --type ac3 --quiet "$file" "$kiv"  # warm
  start=$(now); "$tool" create --type ac3 --quiet "$file" "$kiv"; end=$(now)
  how="kivtool create --quiet"
  ac3_mbps=$(mbps "$size" "$start" "$end")
else
  how="bench_ac3 (CAc3Es::CreateKiv)"
  ac3_mbps=$(KIV_BENCH_AC3_FILE=$file "$build/bench/bench_ac3" --benchmark_min_time=1 --benchmark_format=json \
    | python3 -c "import json,sys; print(f\"{json.load(sys.stdin)['benchmarks'][0]['bytes_per_second']/1e6:.0f}\")")
fi
rm -f "$kiv"

ffprobe_mbps="-"
if command -v ffprobe >/dev/null; then
  start=$(now); ffprobe -v error -show_packets "$file" >/dev/null; end=$(now)
  ffprobe_mbps=$(mbps "$size" "$start" "$end")
fi

echo "file: $file ($size bytes, $((size / 2560)) frames)"
printf '%-44s%10s\n' "measure" "MB/s"
printf '%-44s%10s\n' "cat FILE > /dev/null" "$cat_mbps"
printf '%-44s%10s\n' "$how" "$ac3_mbps"
printf '%-44s%10s\n' "ffprobe -show_packets" "$ffprobe_mbps"
python3 -c "print(f'ratio cat/ac3: {$cat_mbps / $ac3_mbps:.2f}')"
