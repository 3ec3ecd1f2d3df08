# Sourced by the Wine launchers: points WINEPREFIX at the project's private prefix under
# the build tree and makes it on first use. Mono and Gecko are not offered (their
# prompts would wait for a click that never comes); the WebBrowser control works
# without them for what we need. Every Wine process uses one virtual desktop of
# 1920 x 1080, so the window manager-less display still gets frames drawn.
_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX=${WINEPREFIX_OVERRIDE:-$_root/build/wine/prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.ready" ]; then
    rm -rf "$WINEPREFIX"
    WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY= "$WINE" wineboot -i >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1920x1080 /f >/dev/null 2>&1
    "$WINESERVER" -w
    touch "$WINEPREFIX/.ready"
  fi
) 9>"$WINEPREFIX.lock"
