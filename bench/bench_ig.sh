#!/usr/bin/env bash
# Interactive graphics: 3,800 menu display sets of about 290 KB (ICS, a 256-entry PDS, twelve button
# images and a background in three fragments, END; see bench_ig.cpp), about 1.1 GB, one start time stamp
# per display set. The joined compositions go to a folder under DIR.
# Usage: bench/bench_ig.sh [DIR]   (DIR holds the streams; see bench/lib/index_bench.sh)
set -euo pipefail
source "$(dirname "$0")/lib/index_bench.sh"

kind=ig ext=ies ffprobe=no targets=bench_ig
sets=${sets:-3800}
# $build is the build folder of run_index_bench.
make_stream() { "$build/bench/bench_ig" --write "$1" "$sets"; }
# Display set k starts at 10 s + k * 2 s.
temp=${1:-${KIV_BENCH_DIR:-/tmp/kiv-bench}}/ig-temp/
mkdir -p "$temp"
create_args=(--temp-dir "$temp" --start-pts "$(python3 -c "print(','.join(str(900000 + k * 180000) for k in range($sets)))")")
run_index_bench "$@"
