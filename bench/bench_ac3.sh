#!/usr/bin/env bash
# AC-3 indexing against `cat` and `ffprobe -show_packets` on a 1 GiB stream in the page cache: 5.1 at
# 640 kbit/s, 48 kHz, encoded by ffmpeg and concatenated.
# Usage: bench/bench_ac3.sh [DIR]   (DIR holds the streams; see bench/lib/index_bench.sh)
set -euo pipefail
source "$(dirname "$0")/lib/index_bench.sh"

kind=ac3 ext=ac3 goal=1.1
# 16 s of 5.1 at 640 kbit/s: 1.28 MB, 500 frames of 2560 bytes.
make_clip() {
  ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "sine=frequency=997:sample_rate=48000:duration=16" \
    -af "pan=5.1|FL=c0|FR=c0|FC=c0|LFE=c0|BL=c0|BR=c0" -c:a ac3 -b:a 640k -f ac3 "$1"
}
run_index_bench "$@"
