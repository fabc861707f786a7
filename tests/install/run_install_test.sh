#!/usr/bin/env bash
# Installs the build into a scratch prefix, builds the host project against the package, runs it on
# the bundled LPCM sample, and checks that libkiv.so exports only kiv_comp symbols.
set -euo pipefail
build=$1
source=$2
host_flags=${3:-}  # compiler flags for the host, e.g. the sanitizers the library was built with
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
test -f "$scratch/prefix/include/kiv/KivCreator.h"
test -x "$scratch/prefix/bin/kivtool"
lib=$(ls "$scratch"/prefix/lib*/libkiv.so)
pc=$(ls "$scratch"/prefix/lib*/pkgconfig/kiv.pc)
grep -q '^Libs: .*-lkiv' "$pc"

generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
cmake -S "$source/tests/install/host" -B "$scratch/host" "${generator[@]}" \
  -DCMAKE_PREFIX_PATH="$scratch/prefix" -DCMAKE_CXX_FLAGS="$host_flags" \
  -DCMAKE_EXE_LINKER_FLAGS="$host_flags" >/dev/null
cmake --build "$scratch/host" >/dev/null
result=$(LD_LIBRARY_PATH=$(dirname "$lib") "$scratch/host/kiv_host" \
  "$source/samples/sine_48k_24bit_6ch.lpcm" "$scratch/out.kiv")
[[ $result == "ok 1" ]] || { echo "host printed: $result"; exit 1; }
test -s "$scratch/out.kiv"

# Every defined dynamic symbol must belong to kiv_comp, apart from the version node.
symbols=$(nm -D --defined-only "$lib" | c++filt | awk '{ $1 = ""; $2 = ""; sub(/^  /, ""); print }')
others=$(grep -v -E '^(kiv_comp::|typeinfo for kiv_comp::|typeinfo name for kiv_comp::|vtable for kiv_comp::|KIV_|_init$|_fini$)' <<<"$symbols" || true)
if [[ -n $others ]]; then
  echo "symbols outside kiv_comp:"
  echo "$others"
  exit 1
fi
grep -q '^kiv_comp::CKivCreator::CreateKiv' <<<"$symbols"
grep -q '^kiv_comp::CKivNotice::Abort' <<<"$symbols"
echo "install test passed"
