#!/usr/bin/env bash
# HDMV LPCM: six channels, 48 kHz, 24 bits, 5 ms frames of 4324 bytes; 2^18 frames (1.13 GB).
# Usage: bench/bench_lpcm.sh [DIR]   (DIR holds the streams; see bench/lib/index_bench.sh)
set -euo pipefail
source "$(dirname "$0")/lib/index_bench.sh"

kind=lpcm ext=lpcm goal=1.1 ffprobe=no
make_stream() {
  # One frame: payload 4320, channel_assignment 9, sampling_frequency 1, bits_per_sample 3.
  { printf '\x10\xe0\x91\xc0'; head -c 4320 /dev/urandom; } >"$1"
  for _ in $(seq 18); do cat "$1" "$1" >"$1.next"; mv "$1.next" "$1"; done
}
run_index_bench "$@"
