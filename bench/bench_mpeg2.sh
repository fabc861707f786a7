#!/usr/bin/env bash
# MPEG-2 video indexing against `cat` and `ffprobe -show_packets` on a 1 GiB stream in the page cache:
# 1920x1080 progressive at 25 Hz with temporal noise at quantiser 2 (about 440 Mbit/s of slice data, B
# pictures, no zero stuffing), encoded by ffmpeg and concatenated (each copy closes with a sequence end code,
# so the result is a run of sequences). Indexes with
# `kivtool create --quiet` when it builds, else with bench_mpeg2.
# Usage: bench/bench_mpeg2.sh [DIR]   (DIR holds the scratch files; default /tmp)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-/tmp}
build=${KIV_BENCH_BUILD:-$root/build-bench}
file=$dir/kiv-bench-mpeg2-1g.m2v
kiv=$dir/kiv-bench-mpeg2-1g.kiv
clip=$dir/kiv-bench-mpeg2-clip.m2v
min_size=$((1024 * 1024 * 1024))

now() { date +%s.%N; }
mbps() { python3 -c "print(f'{$1 / ($3 - $2) / 1e6:.0f}')"; }

command -v ffmpeg >/dev/null || { echo "SKIPPED: ffmpeg is not installed"; exit 0; }

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIV_BUILD_BENCH=ON -DKIV_BUILD_TESTS=OFF >/dev/null
tool=""
if cmake --build "$build" -j2 --target kivtool >/dev/null 2>&1 && [ -x "$build/tools/kivtool/kivtool" ]; then
  tool=$build/tools/kivtool/kivtool
else
  cmake --build "$build" -j2 --target bench_mpeg2 >/dev/null
fi

if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" -lt "$min_size" ]; then
  echo "creating $file"
  ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "testsrc2=size=1920x1080:rate=25:duration=5" \
    -vf "noise=alls=30:allf=t" -c:v mpeg2video -g 12 -bf 2 -qscale:v 2 -qmin 1 -f mpeg2video "$clip"
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
  "$tool" create --type mpeg2 --quiet "$file" "$kiv"  # warm
  start=$(now); "$tool" create --type mpeg2 --quiet "$file" "$kiv"; end=$(now)
  how="kivtool create --quiet"
  m2v_mbps=$(mbps "$size" "$start" "$end")
else
  how="bench_mpeg2 (CVideoEs::CreateKiv)"
  m2v_mbps=$(KIV_BENCH_MPEG2_FILE=$file "$build/bench/bench_mpeg2" --benchmark_min_time=1 --benchmark_format=json \
    | python3 -c "import json,sys; print(f\"{json.load(sys.stdin)['benchmarks'][0]['bytes_per_second']/1e6:.0f}\")")
fi
rm -f "$kiv"

ffprobe_mbps="-"
if command -v ffprobe >/dev/null; then
  start=$(now); ffprobe -v error -show_packets "$file" >/dev/null; end=$(now)
  ffprobe_mbps=$(mbps "$size" "$start" "$end")
fi

echo "file: $file ($size bytes)"
printf '%-44s%10s\n' "measure" "MB/s"
printf '%-44s%10s\n' "cat FILE > /dev/null" "$cat_mbps"
printf '%-44s%10s\n' "$how" "$m2v_mbps"
printf '%-44s%10s\n' "ffprobe -show_packets" "$ffprobe_mbps"
python3 -c "print(f'ratio cat/mpeg2: {$cat_mbps / $m2v_mbps:.2f}')"
