#!/usr/bin/env bash
# The program as built now (A) against another build of it (B), measured side by side in
# one invocation by tools/bench/bench_driver with the same input for both: how much a
# change moved the start-up and the navigation. Runs like `make bench`: one Wine session
# inside a private network namespace, the local delivery node on the episode addresses.
#
#     compare_builds.sh BASELINE_EXE [PAIRS] [STARTUP_PAIRS] [IDLE_MS]
#
# (defaults: 10 full pairs, 40 start-up-only pairs, 1000 ms idle). Keep the baseline
# outside build/, for instance a copy of build/x64/yanchuan.exe taken before the change.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build/x64
if [ $# -lt 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 BASELINE_EXE [PAIRS] [STARTUP_PAIRS] [IDLE_MS]" >&2
  exit 2
fi
baseline=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
runs=${2:-10}
startup_runs=${3:-40}
idle_ms=${4:-1000}

cmake --build "$build" --target yanchuan bench_driver -j2 >/dev/null
bench=$build/tools/bench
log=$root/build/bench/compare-requests.jsonl
mkdir -p "$(dirname "$log")"
rm -f "$log"

echo "Comparison on $(nproc) cores, $(/usr/lib/wine/wine64 --version), $(date -u '+%Y-%m-%d %H:%M UTC')"
"$root/tests/wine/session.sh" --node "$bench/urls.txt" "$bench/sample.mp4" "$log" -- \
  /usr/lib/wine/wine64 "$bench/bench_driver.exe" \
    --program "Z:$build/yanchuan.exe" --baseline "Z:$baseline" \
    --urls "Z:$bench/urls.txt" --node-log "Z:$log" \
    --runs "$runs" --idle-ms "$idle_ms" --startup-runs "$startup_runs"
