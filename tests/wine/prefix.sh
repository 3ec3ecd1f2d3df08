# Sourced by the Wine launchers: points WINEPREFIX at the project's private prefix under
# the build tree and makes it on first use. Mono and Gecko are not offered (their
# prompts would wait for a click that never comes); the WebBrowser control works
# without them for what we need. Every Wine process uses one virtual desktop of
# 1920 x 1080, so the window manager-less display still gets frames drawn. The UI fonts
# are linked to a CJK font, as Windows links its own UI fonts, so Chinese text shows
# under any locale.
_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX=${WINEPREFIX_OVERRIDE:-$_root/build/wine/prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.ready-2" ]; then
    rm -rf "$WINEPREFIX"
    WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY= "$WINE" wineboot -i >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1920x1080 /f >/dev/null 2>&1
    for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
      "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v "$face" /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f >/dev/null 2>&1
    done
    "$WINESERVER" -w
    touch "$WINEPREFIX/.ready-2"
  fi
) 9>"$WINEPREFIX.lock"
