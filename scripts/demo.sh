#!/usr/bin/env bash
# Indexes every bundled sample in samples/ into out/ (KIV, XML, report) and prints one summary line each.
# The stream kind comes from the file extension; a sample of a kind not yet built in is reported as such.
# Start time stamps: "--start-pts" values from a file next to the sample named <sample>.args, if any
# (one or more kivtool create options), else one start value of 900000 (10 s); graphics streams take
# one value per display set (as many as their report counts), one second apart from 900000.
# Environment: KIV_BUILD_DIR (default build), KIV_OUT_DIR (default out).
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

kind_of() {
  case "${1,,}" in
    *.m2v|*.mpv) echo mpeg2 ;;
    *.264|*.h264|*.avc) echo avc ;;
    *.vc1) echo vc1 ;;
    *.lpcm|*.pcm) echo lpcm ;;
    *.ac3|*.eac3|*.ec3) echo ac3 ;;
    *.dts|*.dtshd) echo dts ;;
    *.mlp|*.thd) echo mlp ;;
    *.dra) echo dra ;;
    *.pgs|*.sup) echo pg ;;
    *.igs) echo ig ;;
    *) echo "" ;;
  esac
}

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

supported=0
failed=0
for sample in "$root"/samples/*; do
  [[ -f $sample ]] || continue
  kind=$(kind_of "$sample")
  [[ -n $kind ]] || continue
  name=$(basename "$sample")
  base=$out/${name%.*}
  options=(--start-pts 900000)
  if [[ $kind == pg || $kind == ig ]]; then
    sets=$("$kivtool" info --type "$kind" "$sample" 2>/dev/null | tr -d '\r' |
           awk -F' : ' '$1 == "[number of displayset]" { print $2 }' || true)
    if [[ $sets =~ ^[0-9]+$ && $sets -gt 0 ]]; then
      options=(--start-pts "$(seq -s, 900000 90000 $((900000 + (sets - 1) * 90000)))")
    fi
  fi
  [[ -f $sample.args ]] && read -r -a options <"$sample.args"
  if message=$("$kivtool" create --quiet --type "$kind" "${options[@]}" --xml "$base.xml" --report "$base.txt" \
                 "$sample" "$base.kiv" 2>&1); then
    supported=$((supported + 1))
    printf '%-32s %-6s %s\n' "$name" "$kind" "$("$kivtool" dump --format csv "$base.kiv" | summarise)"
  elif [[ $message == "kivtool: unknown es type." ]]; then
    printf '%-32s %-6s not supported yet\n' "$name" "$kind"
  else
    failed=$((failed + 1))
    printf '%-32s %-6s FAILED: %s\n' "$name" "$kind" "$(echo "$message" | tr '\r\n' '  ')"
  fi
done

if [[ $supported -eq 0 && $failed -eq 0 ]]; then
  echo "no sample kind is supported yet"
fi
echo "outputs in $out"
[[ $failed -eq 0 ]]
