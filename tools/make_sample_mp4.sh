#!/bin/bash
# Makes a small sample MP4 (about 3 s of test pattern and tone, 160x120, 10 fps) for the
# delivery node to serve. Does nothing when OUT is already newer than this script.
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 OUT.mp4" >&2
    exit 2
fi
out=$1

if [[ -s "$out" && "$out" -nt "${BASH_SOURCE[0]}" ]]; then
    exit 0
fi

mkdir -p "$(dirname -- "$out")"
tmp="$out.tmp.$$.mp4"
trap 'rm -f -- "$tmp"' EXIT

# H.264 baseline plays in the widest range of players. One thread and no metadata stamps
# so the same ffmpeg gives the same bytes each time.
ffmpeg -nostdin -hide_banner -loglevel error -y \
    -f lavfi -i "testsrc=size=160x120:rate=10:duration=3" \
    -f lavfi -i "sine=frequency=440:sample_rate=22050:duration=3" \
    -map 0:v -map 1:a \
    -c:v libx264 -profile:v baseline -preset veryfast -crf 30 -g 10 -pix_fmt yuv420p \
    -c:a aac -b:a 32k -ac 1 \
    -threads 1 -map_metadata -1 -fflags +bitexact -flags:v +bitexact -flags:a +bitexact \
    -movflags +faststart -shortest \
    "$tmp"

mv -f -- "$tmp" "$out"
