#!/usr/bin/env bash
# `make soak`: the long soak run of the 64-bit program, in one Wine session inside a
# private network namespace with the local delivery node on the episode addresses.
#
#     run_soak.sh [CYCLES] [EVERY]      (defaults: 1000 cycles, sampled every 100)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build/x64
cycles=${1:-1000}
every=${2:-100}

cmake --build "$build" --target soak_driver -j2 >/dev/null
soak=$build/tests/soak
log=$soak/node_soak.jsonl
rm -f "$log"
# Wine shows the Linux root as drive Z:.
exec "$root/tests/wine/session.sh" --node "$soak/urls.txt" "$soak/sample.mp4" "$log" -- \
  /usr/lib/wine/wine64 "$soak/soak_driver.exe" --program "Z:$build/yanchuan.exe" \
    --urls "Z:$soak/urls.txt" --node-log "Z:$log" --cycles "$cycles" --every "$every"
