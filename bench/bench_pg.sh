#!/usr/bin/env bash
# Presentation graphics: 100,000 display sets (PCS, WDS, PDS, ODS, END; every 50th an epoch start) with
# 1600x100 objects of 10,000 coded bytes each, about 1.05 GB, one start time stamp per display set.
# Usage: bench/bench_pg.sh [DIR]   (DIR holds the streams; see bench/lib/index_bench.sh)
set -euo pipefail
source "$(dirname "$0")/lib/index_bench.sh"

kind=pg ext=pgs ffprobe=no targets=bench_pg
sets=${sets:-100000} object_bytes=${object_bytes:-10000}
# $build is the build folder of run_index_bench.
make_stream() { "$build/bench/bench_pg" --write "$1" "$sets" "$object_bytes"; }
# Display set k starts at 1 s + k * 0.4 s, in lists of 10,000 (one argument stays below 128 KiB).
mapfile -t create_args < <(python3 -c "
v = [str(90000 + k * 36000) for k in range($sets)]
for i in range(0, len(v), 10000): print('--start-pts'); print(','.join(v[i:i + 10000]))")
run_index_bench "$@"
