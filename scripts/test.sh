#!/usr/bin/env bash
# Configures, builds and runs the whole test suite; exits non-zero on any failure. Installs nothing.
# Extra arguments go to cmake (for example -DKIV_WERROR=ON). Environment: KIV_BUILD_DIR (default
# build), KIV_JOBS (default 2).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KIV_BUILD_DIR:-$root/build}
jobs=${KIV_JOBS:-2}

generator=()
if [[ ! -f $build/CMakeCache.txt ]] && command -v ninja >/dev/null 2>&1; then
  generator=(-G Ninja)
fi
cmake -S "$root" -B "$build" "${generator[@]}" "$@"
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs"
