#!/usr/bin/env bash
# Presentation graphics where the fixed cost per segment shows: the display sets of bench_pg.sh with objects
# of 400 coded bytes, 100,000 of them in 47 MB, at 1 GB/s or more.
# Usage: bench/bench_pg_small.sh [DIR]   (DIR holds the streams; see bench/lib/index_bench.sh)
set -euo pipefail
label=pg-small object_bytes=400 min_gbps=1
source "$(dirname "$0")/bench_pg.sh"
