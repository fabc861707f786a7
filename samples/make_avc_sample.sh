#!/usr/bin/env bash
# Makes samples/testsrc_1080p_23.976.264: 1 s of testsrc, 1920x1080 progressive at 24000/1001 Hz, High
# profile level 4.1, GOPs of 12 with two B pictures, access unit delimiters and the buffering-period and
# picture-timing SEI of a VBR NAL HRD (4 Mbit/s, 4 Mbit buffer); then its report and XML beside it as a
# freshly constructed analyser gives them (before CreateKiv fills in the whole-stream values).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sample=$root/samples/testsrc_1080p_23.976.264
ffmpeg -nostdin -loglevel error -y -f lavfi -i "testsrc=size=1920x1080:rate=24000/1001:duration=1" \
  -c:v libx264 -preset veryfast -profile:v high -level 4.1 -pix_fmt yuv420p -g 12 -bf 2 \
  -b:v 2M -maxrate 4M -bufsize 4M -x264-params nal-hrd=vbr:pic-struct=1:aud=1 -f h264 "$sample"
build=${KIV_BUILD_DIR:-$root/build}
cmake --build "$build" --target kiv_core >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/texts.cpp" <<'CPP'
#include <cstdio>
#include "es/video/avc/CAvcVideoEs.h"
int main(int, char** argv) {
    ts_comp::es::CAvcVideoEs es{PRIVATE_LIBRARY::CL_CString(argv[1])};
    PRIVATE_LIBRARY::CL_CString report;
    es.GetReportText(report);
    std::fputs(report.GetString(), stdout);
    return es.WriteXmlFile(PRIVATE_LIBRARY::CL_CString(argv[2])) ? 0 : 1;
}
CPP
g++ -std=c++17 -I "$root" -I "$root/api" "$work/texts.cpp" "$build/libkiv_core.a" -ldl -o "$work/texts"
"$work/texts" "$sample" "${sample%.264}.xml" > "${sample%.264}.txt"
