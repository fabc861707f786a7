#!/usr/bin/env bash
# Makes samples/testsrc_1080p_23.976.264: 1 s of testsrc, 1920x1080 progressive at 24000/1001 Hz, High
# profile level 4.1, GOPs of 12 with two B pictures, access unit delimiters and the buffering-period and
# picture-timing SEI of a VBR NAL HRD (4 Mbit/s, 4 Mbit buffer); then its report and XML beside it after
# a whole pass, as kivtool gives them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sample=$root/samples/testsrc_1080p_23.976.264
ffmpeg -nostdin -loglevel error -y -f lavfi -i "testsrc=size=1920x1080:rate=24000/1001:duration=1" \
  -c:v libx264 -preset veryfast -profile:v high -level 4.1 -pix_fmt yuv420p -g 12 -bf 2 \
  -b:v 2M -maxrate 4M -bufsize 4M -x264-params nal-hrd=vbr:pic-struct=1:aud=1 -f h264 "$sample"
build=${KIV_BUILD_DIR:-$root/build}
cmake --build "$build" --target kivtool >/dev/null
"$build/tools/kivtool/kivtool" info --xml "$sample" > "${sample%.264}.xml"
"$build/tools/kivtool/kivtool" info --report "$sample" > "${sample%.264}.txt"
