#!/usr/bin/env bash
# MPEG-2 video indexing against `cat` and `ffprobe -show_packets` on a 1 GiB stream in the page cache:
# 1920x1080 progressive at 25 Hz with temporal noise at quantiser 2 (about 440 Mbit/s of slice data, B
# pictures, no zero stuffing), encoded by ffmpeg and concatenated (each copy closes with a sequence end code,
# so the result is a run of sequences).
# Usage: bench/bench_mpeg2.sh [DIR]   (DIR holds the streams; see bench/lib/index_bench.sh)
set -euo pipefail
source "$(dirname "$0")/lib/index_bench.sh"

kind=mpeg2 ext=m2v
make_clip() {
  ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "testsrc2=size=1920x1080:rate=25:duration=5" \
    -vf "noise=alls=30:allf=t" -c:v mpeg2video -g 12 -bf 2 -qscale:v 2 -qmin 1 -f mpeg2video "$1"
}
run_index_bench "$@"
