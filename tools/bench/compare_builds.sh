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
if [ $# -lt 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 BASELINE_EXE [PAIRS] [STARTUP_PAIRS] [IDLE_MS]" >&2
  exit 2
fi
baseline=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
. "$(dirname "$0")/drive.sh"
runs=${2:-10}
startup_runs=${3:-40}
idle_ms=${4:-1000}

bench_drive Comparison compare-requests.jsonl \
  --program "Z:$bench_build/yanchuan.exe" --baseline "Z:$baseline" \
  --runs "$runs" --idle-ms "$idle_ms" --startup-runs "$startup_runs"
