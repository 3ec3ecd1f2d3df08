#!/usr/bin/env bash
# Runs a command in a sandbox made for this run alone: a private network namespace that
# holds only loopback (and, with --node, the episode addresses served by the local
# delivery node), its own Xvfb display, and a Wine session that is ended afterwards.
# Nothing the program does can reach a real network from here.
#
# usage: session.sh [--lang L] [--overrides DLLS] [--node URLS MP4 LOG] [--screen WxH]
#                   [--use-display] -- CMD...
# --use-display keeps the caller's $DISPLAY (reached through its socket file, which a
# network namespace does not hide) instead of starting a private Xvfb.
set -u
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${IN_PRIVATE_NETNS:-}" ]; then
  IN_PRIVATE_NETNS=1 exec unshare --net -- "$0" "$@"
fi

lang=zh_CN.UTF-8 overrides= node_urls= node_mp4= node_log= screen=1920x1080x24 use_display=
while [ $# -gt 0 ]; do
  case $1 in
    --lang) lang=$2; shift 2 ;;
    --overrides) overrides=$2; shift 2 ;;
    --node) node_urls=$2 node_mp4=$3 node_log=$4; shift 4 ;;
    --screen) screen=$2x24; shift 2 ;;
    --use-display) use_display=1; shift ;;
    --) shift; break ;;
    *) echo "session.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

. "$here/prefix.sh"
# One Wine session per prefix at a time: a second one would share the first one's
# wineserver, whose desktop lives on the other session's display.
exec 8>"$WINEPREFIX.run.lock"
flock 8

pids=()
cleanup() {
  "$WINESERVER" -k 2>/dev/null
  "$WINESERVER" -w 2>/dev/null
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
}
trap cleanup EXIT
trap 'exit 130' INT TERM

ip link set lo up

if [ -n "$node_urls" ]; then
  while read -r url; do
    [ -n "$url" ] || continue
    host=${url#http://}; host=${host%%/*}; host=${host%%:*}
    ip addr add "$host/32" dev lo
  done < "$node_urls"
  ready=$(mktemp -u)
  /usr/bin/python3 "$here/../../tools/delivery_node.py" --urls "$node_urls" --mp4 "$node_mp4" \
    --log "$node_log" --ready "$ready" &
  pids+=($!)
  for _ in $(seq 100); do [ -f "$ready" ] && break; sleep 0.1; done
  [ -f "$ready" ] || { echo "session.sh: delivery node did not start" >&2; exit 1; }
  rm -f "$ready"
fi

if [ -z "$use_display" ]; then
  # Xvfb picks a free display number itself and tells us which.
  exec 7< <(Xvfb -displayfd 1 -screen 0 "$screen" -nolisten tcp 2>/dev/null)
  pids+=($!)
  read -r -t 20 display <&7 || { echo "session.sh: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=:$display
fi

export LANG=$lang LC_ALL=$lang
[ -n "$overrides" ] && export WINEDLLOVERRIDES=$overrides

"$@"
