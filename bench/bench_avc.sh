#!/usr/bin/env bash
# AVC video indexing against `cat` and `ffprobe -show_packets` on a 1 GiB stream in the page cache:
# 1920x1080 progressive at 24000/1001 Hz with temporal noise, encoded by libx264 at about 40 Mbit/s (a
# Blu-ray rate) with access unit delimiters and the buffering-period and picture-timing SEI, concatenated
# (each copy opens with an IDR picture and a buffering period).
# Usage: bench/bench_avc.sh [DIR]   (DIR holds the streams; see bench/lib/index_bench.sh)
set -euo pipefail
source "$(dirname "$0")/lib/index_bench.sh"

kind=avc ext=264 program=kivtool file_var=KIV_BENCH_AVC_FILE
make_clip() {
  ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "testsrc2=size=1920x1080:rate=24000/1001:duration=5" \
    -vf "noise=alls=20:allf=t" -c:v libx264 -preset ultrafast -g 24 -bf 2 -b:v 40M -maxrate 40M -bufsize 30M \
    -x264-params nal-hrd=vbr:pic-struct=1:aud=1 -f h264 "$1"
}
run_index_bench "$@"
