#!/usr/bin/env bash
# Indexes every bundled stream in samples/ into out/ (KIV, XML, report) with `kivtool batch`; kivtool
# tells each file's kind from its first bytes (files it cannot tell, such as the READMEs, are left out).
# Start time stamps: one list for all, 900000 (10 s) and on one second apart, as long as the graphics
# stream with the most display sets needs; lpcm, mlp and dra take its first value.
# After the batch, one line per KIV file: items, lowest and highest pts and the duration.
# Environment: KIV_BUILD_DIR (default build), KIV_OUT_DIR (default out), KIV_JOBS (default 2).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KIV_BUILD_DIR:-$root/build}
out=${KIV_OUT_DIR:-$root/out}

if [[ ! -f $build/CMakeCache.txt ]]; then
  generator=()
  command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
  cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
if ! log=$(cmake --build "$build" --target kivtool -j "${KIV_JOBS:-2}" 2>&1); then
  echo "$log" >&2
  exit 1
fi
kivtool=$build/tools/kivtool/kivtool
mkdir -p "$out"
out=$(cd "$out" && pwd)

# From `kivtool dump --format csv`: items, lowest and highest pts (video items are in coded order),
# duration from the lowest pts to the end item's pts (or the highest, if later).
summarise() {
  awk -F, '
    NR == 1 { for (i = 1; i <= NF; i++) col[$i] = i; next }
    {
      pts = $(col["pts"]);
      if ($(col["enc_item_type"]) == 255) { endPts = pts; haveEnd = 1; next }
      if (items == 0 || pts < first) first = pts;
      if (items == 0 || pts > last) last = pts;
      items++
    }
    END {
      if (items == 0) { printf "items 0"; exit }
      stop = (haveEnd && endPts > last) ? endPts : last;
      printf "items %d  first pts %d  last pts %d  duration %.3f s", items, first, last, (stop - first) / 90000
    }'
}

cd "$root/samples"
streams=()
sets=1
for sample in *; do
  [[ -f $sample ]] || continue
  line=$("$kivtool" probe "$sample") || continue
  streams+=("$sample")
  kind=${line#"$sample: "}
  kind=${kind%% *}
  if [[ $kind == pg || $kind == ig ]]; then
    count=$("$kivtool" info --type "$kind" "$sample" 2>/dev/null | tr -d '\r' |
            awk -F' : ' '$1 == "[number of displayset]" { print $2 }' || true)
    [[ $count =~ ^[0-9]+$ && $count -gt $sets ]] && sets=$count
  fi
done
if [[ ${#streams[@]} -eq 0 ]]; then
  echo "no stream found in samples/"
  exit 1
fi

status=0
"$kivtool" batch --jobs "${KIV_JOBS:-2}" --out-dir "$out" --start-pts "$(seq -s, 900000 90000 $((900000 + (sets - 1) * 90000)))" \
  "${streams[@]}" || status=$?
echo
for sample in "${streams[@]}"; do
  kiv=$out/${sample%.*}.kiv
  [[ -f $kiv ]] && printf '%-32s %s\n' "$sample" "$("$kivtool" dump --format csv "$kiv" | summarise)"
done
echo "outputs in $out"
exit $status
