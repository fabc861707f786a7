#!/usr/bin/env bash
# DTS indexing against `cat` and `ffprobe -show_packets` on a 1 GiB core + extension stream in the page cache:
# 5.1 core frames at 1509 kbit/s, 48 kHz, encoded by ffmpeg's dca encoder, each followed by a DTS-HD extension
# substream of 3000 bytes written by samples/make_dts_sample.cpp, concatenated. Then the peak memory and CPU
# time of one indexing run against the CPU time of cat.
# Usage: bench/bench_dts.sh [DIR]   (DIR holds the scratch files; default /tmp)
set -euo pipefail
source "$(dirname "$0")/lib/index_bench.sh"
here=$(cd "$(dirname "$0")/.." && pwd)

kind=dts ext=dts goal=1.1 program=bench_dts file_var=KIV_BENCH_DTS_FILE
# 16 s: 1500 core frames of 2012 bytes and 1500 extension substreams, 7.5 MB.
make_clip() {
  local maker=$1.make
  ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "sine=frequency=997:sample_rate=48000:duration=16" \
    -af "pan=5.1|FL=c0|FR=c0|FC=c0|LFE=c0|BL=c0|BR=c0" -c:a dca -strict -2 -b:a 1509k -f dts "$1.core"
  g++ -std=c++17 -O2 -I "$here/tests" "$here/samples/make_dts_sample.cpp" -o "$maker"
  "$maker" "$1.core" "$1" 3000 2>/dev/null
  rm -f "$1.core" "$maker"
}
run_index_bench "$@"

tool=${KIV_BENCH_BUILD:-$here/build-bench}/tools/kivtool/kivtool
file=${1:-/tmp}/kiv-bench-dts-1g.dts
if [ -x "$tool" ] && [ -x /usr/bin/time ]; then
  # CPU seconds tell the work apart from waiting on a loaded machine.
  read -r rss user sys < <(/usr/bin/time -f "%M %U %S" "$tool" create --type dts --quiet "$file" "$file.kiv" 2>&1 >/dev/null | tail -1)
  read -r cat_sys < <(/usr/bin/time -f "%S" cat "$file" 2>&1 >/dev/null | tail -1)
  rm -f "$file.kiv"
  echo "kivtool create: peak RSS $rss KiB, CPU ${user}s user + ${sys}s system; cat: ${cat_sys}s system"
fi
