#!/usr/bin/env bash
# `make bench`: the program against the reference host, measured by tools/bench/bench_driver
# in one Wine session inside a private network namespace, with the local delivery node
# answering on the episode addresses. Prints each run and the table of medians.
#
#     run_bench.sh [RUNS] [IDLE_MS] [STARTUP_RUNS]
#
# (defaults: 10 full pairs, 10000 ms idle, then 60 pairs that only time the start-up)
#
# Exits 0 whenever the measurements could be taken; the figures are not judged here.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build/x64
runs=${1:-10}
idle_ms=${2:-10000}
startup_runs=${3:-60}

cmake --build "$build" --target bench_driver reference_host -j2 >/dev/null
bench=$build/tools/bench
log=$root/build/bench/requests.jsonl
mkdir -p "$(dirname "$log")"
rm -f "$log"

echo "Benchmark on $(nproc) cores, $(/usr/lib/wine/wine64 --version), $(date -u '+%Y-%m-%d %H:%M UTC')"
# Wine shows the Linux root as drive Z:.
"$root/tests/wine/session.sh" --node "$bench/urls.txt" "$bench/sample.mp4" "$log" -- \
  /usr/lib/wine/wine64 "$bench/bench_driver.exe" \
    --program "Z:$build/yanchuan.exe" --reference "Z:$bench/reference_host.exe" \
    --urls "Z:$bench/urls.txt" --node-log "Z:$log" \
    --x86 "Z:$root/build/x86/yanchuan.exe" --x64 "Z:$build/yanchuan.exe" \
    --runs "$runs" --idle-ms "$idle_ms" --startup-runs "$startup_runs"
