#!/usr/bin/env bash
# VC-1: 900 s of 1080p at 25 Hz, an entry point every second (I, then P B B), pictures of 30 to 160 KB of
# pseudo-random data (about 10 Mbit/s, 1.1 GB), written by tests/support/MakeVc1Sample.cpp (no encoder
# here makes VC-1).
# Usage: bench/bench_vc1.sh [DIR]   (DIR holds the streams; see bench/lib/index_bench.sh)
set -euo pipefail
source "$(dirname "$0")/lib/index_bench.sh"

kind=vc1 ext=vc1 ffprobe_args=(-f vc1)
make_stream() {
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  g++ -std=c++17 -O2 -I "$root/tests" "$root/tests/support/MakeVc1Sample.cpp" -o "$1.make"
  "$1.make" "$1" 900
  rm -f "$1.make"
}
run_index_bench "$@"
