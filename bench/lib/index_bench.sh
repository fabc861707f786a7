# Shared by the per-kind bench scripts: `kivtool create` on a stream of at least 1 GiB in the page cache,
# against `cat FILE > /dev/null` and `ffprobe -show_packets`, medians of KIV_BENCH_RUNS (default 3) runs
# taken in turn (cat, kivtool, ffprobe, cat, ...), with the peak resident memory of kivtool.
#
# A kind is one small script bench/bench_<name>.sh that sets these, then calls run_index_bench "$@":
#   kind        kivtool --type name (ac3, mpeg2, ...)
#   ext         file extension of the stream
#   make_clip   function writing a short clip to "$1" (ffmpeg); copies of it are doubled to 1 GiB, or
#   make_stream function writing the whole stream (1 GiB or more, or the size the row is about) to "$1"
# and may set:
#   label       row name when one kind has several rows (default: kind)
#   variant     file name part that tells the streams of one kind apart (default: label)
#   goal        largest acceptable ratio of the kivtool time to the cat time (default 1.5)
#   min_gbps    instead of goal: the smallest acceptable kivtool speed in GB/s, for a row whose file is too
#               small for the ratio to cat to say much
#   create_args array of further `kivtool create` arguments (start time stamps)
#   ffprobe     "no" when ffprobe cannot read the kind; ffprobe_args: array of arguments before -i
#   targets     further build targets the script's make_stream runs (from $build/bench)
#   program, file_var  accepted and unused (older scripts set them)
# KIV_BENCH_TOOL names another kivtool to measure (an older build, for before-and-after tables).
#
# Alone, bench/bench_<name>.sh [DIR] prints a one-row table. bench/run_all.sh runs every script and
# prints one table. Streams are made once and kept in DIR (default $KIV_BENCH_DIR, else /tmp/kiv-bench).

bench_now() { date +%s; }

# Header and row of the table; run_all.sh prints the header once.
bench_header() {
  printf '%-14s %8s %11s %9s %6s %9s %5s %12s %9s\n' kind "size MB" "create MB/s" "cat MB/s" ratio \
    "cpu ratio" goal "ffprobe MB/s" "peak RSS"
}

# Configures and builds kivtool and the given bench programs in $build once per run_all.sh call.
bench_build() {
  local root=$1; shift
  local build=${KIV_BENCH_BUILD:-$root/build-bench}
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIV_BUILD_BENCH=ON -DKIV_BUILD_TESTS=OFF \
    >/dev/null
  cmake --build "$build" -j2 --target kivtool "$@" >/dev/null
}

run_index_bench() {
  local root dir build file kiv tool size runs ffprobe_cmd out line
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  dir=${1:-${KIV_BENCH_DIR:-/tmp/kiv-bench}}
  build=${KIV_BENCH_BUILD:-$root/build-bench}
  label=${label:-$kind}
  variant=${variant:-$label}
  goal=${goal:-1.5}
  runs=${KIV_BENCH_RUNS:-3}
  file=$dir/kiv-bench-$variant.$ext
  kiv=$dir/kiv-bench-$variant.kiv
  mkdir -p "$dir"

  if [ -z "${KIV_BENCH_BUILT:-}" ]; then
    # shellcheck disable=SC2086
    bench_build "$root" ${targets:-}
  fi
  tool=${KIV_BENCH_TOOL:-$build/tools/kivtool/kivtool}

  if [ ! -f "$file" ]; then
    echo "making $file" >&2
    if declare -F make_stream >/dev/null; then
      make_stream "$file.part"
    else
      command -v ffmpeg >/dev/null || { echo "$label: SKIPPED, ffmpeg is not installed" >&2; return 0; }
      make_clip "$file.part"
      while [ "$(stat -c %s "$file.part")" -lt $((1024 * 1024 * 1024)) ]; do
        cat "$file.part" "$file.part" >"$file.next"; mv "$file.next" "$file.part"
      done
    fi
    mv "$file.part" "$file"
  fi
  size=$(stat -c %s "$file")

  local -a commands=(cat "$file" ::: "$tool" create --type "$kind" --quiet ${create_args[@]+"${create_args[@]}"} "$file" "$kiv")
  ffprobe_cmd=no
  if [ "${ffprobe:-yes}" != no ] && command -v ffprobe >/dev/null && [ "${KIV_BENCH_FFPROBE:-1}" != 0 ]; then
    commands+=(::: ffprobe -v error ${ffprobe_args[@]+"${ffprobe_args[@]}"} -i "$file" -show_packets)
    ffprobe_cmd=yes
  fi
  out=$(python3 "$root/bench/lib/measure.py" "$runs" "${commands[@]}")
  rm -f "$kiv"
  line=$(python3 - "$label" "$size" "$goal" "$ffprobe_cmd" "$out" "${min_gbps:-}" <<'EOF'
import sys
label, size, goal, has_ffprobe, out, min_gbps = sys.argv[1], int(sys.argv[2]), float(sys.argv[3]), sys.argv[4], sys.argv[5], sys.argv[6]
rows = [r.split() for r in out.splitlines()]
mbps = lambda r: f"{size / float(r[0]) / 1e6:.0f}"
cat, create = rows[0], rows[1]
ffprobe = mbps(rows[2]) if has_ffprobe == "yes" and rows[2][5] == "0" else "-"
ratio, cpu_ratio = float(create[1]), float(create[3])
speed = mbps(create) if create[5] == "0" else f"FAIL({create[5]})"
within = size / float(create[0]) >= float(min_gbps) * 1e9 if min_gbps else ratio <= goal
mark = "" if within and create[5] == "0" else " *"
goal_text = f"{min_gbps}GB/s" if min_gbps else f"{goal:5.2f}"
rss = f"{int(create[4]) / 1024:6.1f} MB" if create[4] != "0" else "     -   "
print(f"{label:<14} {size / 1e6:8.0f} {speed:>11} {mbps(cat):>9} {ratio:6.2f} {cpu_ratio:9.2f} {goal_text:>5} "
      f"{ffprobe:>12} {rss}{mark}")
EOF
)
  if [ -n "${KIV_BENCH_ROWS:-}" ]; then
    echo "$line" >>"$KIV_BENCH_ROWS"
  else
    bench_header
    echo "$line"
  fi
}
