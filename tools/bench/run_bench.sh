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
. "$(dirname "$0")/drive.sh"
runs=${1:-10}
idle_ms=${2:-10000}
startup_runs=${3:-60}

# bench_driver's build brings the reference host with it.
bench_drive Benchmark requests.jsonl \
  --program "Z:$bench_build/yanchuan.exe" --reference "Z:$bench_dir/reference_host.exe" \
  --x86 "Z:$bench_root/build/x86/yanchuan.exe" --x64 "Z:$bench_build/yanchuan.exe" \
  --runs "$runs" --idle-ms "$idle_ms" --startup-runs "$startup_runs"
