#!/usr/bin/env bash
# Makes samples/sine_48k_24bit_6ch.lpcm: 0.25 s of a 440 Hz sine on six channels, in 50 frames of 5 ms.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=0.25" \
  -af "pan=5.1|c0=c0|c1=c0|c2=c0|c3=0.5*c0|c4=c0|c5=c0" -f s24be -ar 48000 "$work/pcm.raw"
g++ -std=c++17 -O2 -I "$root/tests" "$root/samples/make_lpcm_sample.cpp" -o "$work/make_lpcm_sample"
"$work/make_lpcm_sample" "$work/pcm.raw" "$root/samples/sine_48k_24bit_6ch.lpcm"
