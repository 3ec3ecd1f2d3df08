# Sourced by run_bench.sh and compare_builds.sh: runs tools/bench/bench_driver in one Wine
# session inside a private network namespace, with the local delivery node answering on the
# episode addresses and logging to build/bench/LOG_NAME.
#
#     bench_drive TITLE LOG_NAME DRIVER_ARGS...
#
# Builds the program and the driver first. Paths in DRIVER_ARGS are Wine's (drive Z: is the
# Linux root); the addresses and the node's log are passed here.
bench_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
bench_build=$bench_root/build/x64
bench_dir=$bench_build/tools/bench

bench_drive() {
  local title=$1 log=$bench_root/build/bench/$2
  shift 2
  cmake --build "$bench_build" --target yanchuan bench_driver -j2 >/dev/null
  mkdir -p "$(dirname "$log")"
  rm -f "$log"
  echo "$title on $(nproc) cores, $(/usr/lib/wine/wine64 --version), $(date -u '+%Y-%m-%d %H:%M UTC')"
  "$bench_root/tests/wine/session.sh" --node "$bench_dir/urls.txt" "$bench_dir/sample.mp4" "$log" -- \
    /usr/lib/wine/wine64 "$bench_dir/bench_driver.exe" \
      --urls "Z:$bench_dir/urls.txt" --node-log "Z:$log" "$@"
}
