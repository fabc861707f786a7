#!/usr/bin/env bash
# MLP indexing against `cat` and `ffprobe -show_packets` on a 1 GiB stream in the page cache: Dolby TrueHD
# by ffmpeg's truehd encoder, 16 s of pink noise on 3/2+LFE at 48 kHz (about 6 Mbit/s, access units of
# some 650 bytes), concatenated.
# Usage: bench/bench_mlp.sh [DIR]   (DIR holds the streams; see bench/lib/index_bench.sh)
set -euo pipefail
source "$(dirname "$0")/lib/index_bench.sh"

kind=mlp ext=thd goal=1.1 create_args=(--start-pts 900000) ffprobe_args=(-f truehd)
make_clip() {
  ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi \
    -i "anoisesrc=color=pink:sample_rate=48000:amplitude=0.5:duration=16" \
    -af "pan=5.1|FL=c0|FR=c0|FC=c0|LFE=c0|BL=c0|BR=c0" -c:a truehd -strict -2 -f truehd "$1"
}
run_index_bench "$@"
