#!/usr/bin/env bash
# DRA indexing against `cat` on a synthesised stream of about 1.1 GB in the page cache: 720,000 frames of
# 1536 to 1552 bytes, 3/2+LFE at 48 kHz, 8 blocks a frame, written by tests/support/MakeDraSample.cpp
# (ffprobe does not read DRA).
# Usage: bench/bench_dra.sh [DIR]   (DIR holds the streams; see bench/lib/index_bench.sh)
set -euo pipefail
source "$(dirname "$0")/lib/index_bench.sh"

kind=dra ext=dra goal=1.1 ffprobe=no create_args=(--start-pts 900000)
make_stream() {
  local root maker
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  maker=$(dirname "$1")/make_dra_sample
  g++ -std=c++17 -O2 -I "$root/tests" "$root/tests/support/MakeDraSample.cpp" -o "$maker"
  "$maker" "$1" 720000
}
run_index_bench "$@"
