#!/usr/bin/env bash
# `make screenshots`: pictures of the cover view and the browser view, taken from the real
# program under Wine in a private network namespace with the local delivery node, saved to
# docs/. The window sits centred on a 1920 x 1080 desktop; the pictures are cropped to it
# with a small margin. LANG picks the locale (zh_CN.UTF-8 by default); docs/ also gets the
# cover view under en_US.UTF-8, to show the texts do not depend on the system code page.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$root/build/x64/yanchuan.exe
work=$root/build/screenshots
mkdir -p "$work" "$root/docs"

g++ -std=c++20 -I"$root" "$root/tools/list_episodes.cpp" "$root/episodes/episode_table.cpp" -o "$work/list_episodes"
"$work/list_episodes" > "$work/urls.txt"
bash "$root/tools/make_sample_mp4.sh" "$work/sample.mp4"

# Window: 212 x 185 at (854, 447); crop with 10 pixels around it.
crop=232x205+844+437

shoot() {  # lang, then pairs of "action name"
  local lang=$1; shift
  : > "$work/requests.log"
  "$root/tests/wine/session.sh" --lang "$lang" --node "$work/urls.txt" "$work/sample.mp4" "$work/requests.log" \
    -- bash "$root/tools/screenshots_steps.sh" "$exe" "$work" "$@"
}

shoot zh_CN.UTF-8 cover cover-view choose2 browser-view
shoot en_US.UTF-8 cover cover-view-en_US
for name in cover-view browser-view cover-view-en_US; do
  convert "$work/$name.png" -crop "$crop" +repage "$root/docs/$name.png"
  echo "saved docs/$name.png"
done
