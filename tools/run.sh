#!/usr/bin/env bash
# `make run`: starts the program under Wine inside a private network namespace, with the
# local delivery node answering on the episode addresses, so every episode can be tried
# without any network. With no $DISPLAY it runs on a private Xvfb and saves a screenshot.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$(realpath "${1:-$root/build/x64/yanchuan.exe}")
work=$root/build/run
mkdir -p "$work"

# The addresses come from the program's own episode table.
g++ -std=c++20 -I"$root" "$root/tools/list_episodes.cpp" "$root/episodes/episode_table.cpp" -o "$work/list_episodes"
"$work/list_episodes" > "$work/urls.txt"
bash "$root/tools/make_sample_mp4.sh" "$work/sample.mp4"
: > "$work/requests.log"

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting on $DISPLAY; the delivery node's requests are logged in $work/requests.log"
  # A Wine desktop the size of the user's screen, so the window opens centred on it.
  size=$(xdpyinfo 2>/dev/null | awk '/dimensions:/ {print $2; exit}')
  "$root/tests/wine/session.sh" --use-display --node "$work/urls.txt" "$work/sample.mp4" "$work/requests.log" \
    -- /usr/lib/wine/wine64 explorer "/desktop=yanchuan,${size:-1920x1080}" "$exe"
else
  shot=$work/screenshot.png
  "$root/tests/wine/session.sh" --node "$work/urls.txt" "$work/sample.mp4" "$work/requests.log" -- bash -c '
    /usr/lib/wine/wine64 "$1" & app=$!
    sleep 8
    import -window root "$2"
    kill $app 2>/dev/null; wait $app 2>/dev/null; true' _ "$exe" "$shot"
  echo "No \$DISPLAY: ran on a private Xvfb; screenshot saved to $shot"
fi
