# Shared by the per-kind bench scripts: indexing of a 1 GiB stream in the page cache against `cat` and
# `ffprobe -show_packets`. The caller sets, then calls run_index_bench:
#   kind      kivtool --type name (ac3, mpeg2, ...)
#   ext       file extension of the stream
#   program   fallback Google Benchmark program (bench_<kind>) when kivtool does not build
#   file_var  environment variable naming the stream for that program
#   make_clip a function writing a short clip to "$1" with ffmpeg; copies are doubled to 1 GiB
# Usage of the scripts: bench/bench_<kind>.sh [DIR]   (DIR holds the scratch files; default /tmp)

now() { date +%s.%N; }
mbps() { python3 -c "print(f'{$1 / ($3 - $2) / 1e6:.0f}')"; }

run_index_bench() {
  local root dir build file kiv clip min_size tool size start end cat_mbps how index_mbps ffprobe_mbps
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  dir=${1:-/tmp}
  build=${KIV_BENCH_BUILD:-$root/build-bench}
  file=$dir/kiv-bench-$kind-1g.$ext
  kiv=$dir/kiv-bench-$kind-1g.kiv
  clip=$dir/kiv-bench-$kind-clip.$ext
  min_size=$((1024 * 1024 * 1024))

  command -v ffmpeg >/dev/null || { echo "SKIPPED: ffmpeg is not installed"; return 0; }

  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIV_BUILD_BENCH=ON -DKIV_BUILD_TESTS=OFF >/dev/null
  tool=""
  if cmake --build "$build" -j2 --target kivtool >/dev/null 2>&1 && [ -x "$build/tools/kivtool/kivtool" ]; then
    tool=$build/tools/kivtool/kivtool
  else
    cmake --build "$build" -j2 --target "$program" >/dev/null
  fi

  if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" -lt "$min_size" ]; then
    echo "creating $file"
    make_clip "$clip"
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
    "$tool" create --type "$kind" --quiet "$file" "$kiv"  # warm
    start=$(now); "$tool" create --type "$kind" --quiet "$file" "$kiv"; end=$(now)
    how="kivtool create --quiet"
    index_mbps=$(mbps "$size" "$start" "$end")
  else
    how="$program (CreateKiv)"
    index_mbps=$(env "$file_var=$file" "$build/bench/$program" --benchmark_min_time=1 --benchmark_format=json \
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
  printf '%-44s%10s\n' "$how" "$index_mbps"
  printf '%-44s%10s\n' "ffprobe -show_packets" "$ffprobe_mbps"
  python3 -c "print(f'ratio cat/$kind: {$cat_mbps / $index_mbps:.2f}')"
}
