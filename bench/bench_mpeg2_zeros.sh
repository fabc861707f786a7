#!/usr/bin/env bash
# MPEG-2 video that is 70% zero stuffing: a 1920x1080 25 Hz clip at 20 Mbit/s from ffmpeg with a run of zero
# bytes put before every start code after the clip's first 4 KB (the analyser reads the stream's attributes
# from its head): runs of a few KB, the same length each, 7/3 of the clip in all; then doubled to 1 GiB.
# The start-code scan spends most of its time in the zero runs.
# Usage: bench/bench_mpeg2_zeros.sh [DIR]   (DIR holds the streams; see bench/lib/index_bench.sh)
set -euo pipefail
source "$(dirname "$0")/lib/index_bench.sh"

kind=mpeg2 ext=m2v label=mpeg2-zeros70
make_clip() {
  ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "testsrc2=size=1920x1080:rate=25:duration=5" \
    -c:v mpeg2video -g 12 -bf 2 -b:v 20M -maxrate 20M -bufsize 9M -f mpeg2video "$1.clip"
  python3 - "$1.clip" "$1" <<'PY'
import sys
clip = open(sys.argv[1], "rb").read()
starts, at = [], clip.find(b"\0\0\1", 4096)
while at >= 0:
    starts.append(at)
    at = clip.find(b"\0\0\1", at + 3)
run = len(clip) * 7 // 3 // len(starts)
out, last = bytearray(), 0
for s in starts:
    out += clip[last:s] + bytes(run)
    last = s
out += clip[last:]
open(sys.argv[2], "wb").write(out)
PY
  rm -f "$1.clip"
}
run_index_bench "$@"
