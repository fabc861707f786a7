#!/usr/bin/env bash
# Indexing speed of every kind in one table: runs each bench/bench_<name>.sh (one stream definition each,
# see bench/lib/index_bench.sh) and prints one row per stream.
# Usage: bench/run_all.sh [NAME...]    (NAME: the <name> of a script or its row's label; default all)
# Environment: KIV_BENCH_DIR  folder where the streams are made once and kept (default /tmp/kiv-bench)
#              KIV_BENCH_RUNS runs of each command, medians reported (default 3)
#              KIV_BENCH_BUILD build folder (default build-bench in the tree)
#              KIV_BENCH_FFPROBE=0 leaves ffprobe out; KIV_BENCH_TOOL measures another kivtool
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib/index_bench.sh"

export KIV_BENCH_DIR=${KIV_BENCH_DIR:-/tmp/kiv-bench}
export KIV_BENCH_BUILD=${KIV_BENCH_BUILD:-$(dirname "$here")/build-bench}
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for script in "$here"/bench_*.sh; do
    name=${script##*/bench_}
    names+=("${name%.sh}")
  done
fi

# One build for every script: kivtool and each bench program a script asks for in its targets.
targets=$(sed -n 's/.*targets=\([A-Za-z0-9_]*\).*/\1/p' "$here"/bench_*.sh | sort -u)
# shellcheck disable=SC2086
bench_build "$(dirname "$here")" $targets || exit 1
export KIV_BENCH_BUILT=1

rows=$(mktemp)
trap 'rm -f "$rows"' EXIT
export KIV_BENCH_ROWS=$rows
for name in "${names[@]}"; do
  if [ ! -f "$here/bench_$name.sh" ]; then  # a row's label: the script that declares it
    script=$(grep -l "label=$name\b" "$here"/bench_*.sh | head -n 1)
    [ -n "$script" ] || script=$here/bench_${name//-/_}.sh
    name=${script##*/bench_}
    name=${name%.sh}
  fi
  bash "$here/bench_$name.sh" "$KIV_BENCH_DIR" || echo "$name: the script failed (status $?)" >>"$rows"
done

echo "$(nproc) cores, $(date -u +%Y-%m-%dT%H:%MZ), medians of ${KIV_BENCH_RUNS:-3} runs in turn; ratio = kivtool time / cat time (wall, and user + system);" \
  "* = over the goal"
bench_header
cat "$rows"
