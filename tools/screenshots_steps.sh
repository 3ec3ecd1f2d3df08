#!/usr/bin/env bash
# Runs inside a session of tools/screenshots.sh: starts the program, performs each step
# with real input (xdotool) and takes a screenshot after it, then closes with Esc.
set -eu
exe=$1 work=$2; shift 2
/usr/lib/wine/wine64 "$exe" & app=$!
sleep 6
# Centre of the episode list's selection field, and its second entry once open.
list_x=$((854 + 3 + 64 + 72)) list_y=$((447 + 22 + 128 + 10))
while [ $# -ge 2 ]; do
  case $1 in
    cover) ;;
    choose2)
      xdotool mousemove $list_x $list_y click 1; sleep 1
      xdotool mousemove $list_x $((list_y + 36)) click 1; sleep 4 ;;
  esac
  xdotool mousemove 0 0
  import -window root "$work/$2.png"
  shift 2
done
xdotool key Escape
wait $app
