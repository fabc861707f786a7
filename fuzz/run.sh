#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs each for SECONDS (default 60),
# starting from its seeds in fuzz/corpus/<target>/ and the reproducers in fuzz/regressions/<target>/.
# Prints per target the runs, the coverage and the result; stops at the first finding, whose input is
# left in $KIV_FUZZ_WORK/artifacts/<target>/ (copy it to fuzz/regressions/<target>/ with the fix).
# Usage: fuzz/run.sh [SECONDS] [TARGET...]   Environment: KIV_FUZZ_BUILD (default build-fuzz),
# KIV_FUZZ_WORK (default /tmp/kiv-fuzz-work: grown corpora and artifacts), KIV_JOBS (default 2).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
shift || true
build=${KIV_FUZZ_BUILD:-$root/build-fuzz}
work=${KIV_FUZZ_WORK:-/tmp/kiv-fuzz-work}

command -v clang++ >/dev/null || { echo "clang++ is needed (Debian: clang libclang-rt-14-dev)" >&2; exit 2; }
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKIV_BUILD_FUZZ=ON -DKIV_BUILD_TESTS=OFF >/dev/null
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  mapfile -t targets < <(cmake --build "$build" --target help | sed -n 's/^fuzz_\([a-z0-9_]*\):.*/\1/p' | sort)
fi
cmake --build "$build" -j "${KIV_JOBS:-2}" --target "${targets[@]/#/fuzz_}" >/dev/null

printf '%-20s %12s %8s %8s  %s\n' target runs cov ft result
status=0
for t in "${targets[@]}"; do
  corpus=$work/corpus/$t artifacts=$work/artifacts/$t/
  mkdir -p "$corpus" "$artifacts"
  seeds=()
  for d in "$root/fuzz/corpus/$t" "$root/fuzz/regressions/$t"; do [[ -d $d ]] && seeds+=("$d"); done
  kind=${t%%_*}
  dict=()
  [[ -f $root/fuzz/dict/$kind.dict ]] && dict=(-dict="$root/fuzz/dict/$kind.dict")
  log=$work/$t.log
  if "$build/fuzz/fuzz_$t" "$corpus" "${seeds[@]}" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
       -rss_limit_mb=2048 -malloc_limit_mb=1024 -max_len=65536 -print_final_stats=1 -close_fd_mask=1 \
       -artifact_prefix="$artifacts" >"$log" 2>&1; then
    result=clean
  else
    result="FINDING: $(ls -t "$artifacts" | head -n 1) (log $log)"
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  printf '%-20s %12s %8s %8s  %s\n' "$t" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$result"
  [[ $status -ne 0 ]] && break
done
exit $status
