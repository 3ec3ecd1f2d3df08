# Sourced by the Wine launchers: points WINEPREFIX at the project's private prefix under
# the build tree and makes it on first use. Mono and Gecko are not offered (their
# prompts would wait for a click that never comes); the WebBrowser control works
# without them for what we need. Every Wine process uses one virtual desktop of
# 1920 x 1080, so the window manager-less display still gets frames drawn. The CJK fonts
# that Windows links its UI fonts to are stood in for by the installed CJK font, so
# Chinese text shows under any locale, as on Windows.
_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX=${WINEPREFIX_OVERRIDE:-$_root/build/wine/prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.ready-3" ]; then
    rm -rf "$WINEPREFIX"
    WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY= "$WINE" wineboot -i >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1920x1080 /f >/dev/null 2>&1
    # Wine rewrites the UI fonts' link lists to name the Windows CJK fonts; those are
    # replaced by the CJK font that is installed.
    for face in SimSun NSimSun "Microsoft YaHei" "Microsoft YaHei UI" "MS UI Gothic" PMingLiU; do
      "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
    done
    "$WINESERVER" -w
    touch "$WINEPREFIX/.ready-3"
  fi
) 9>"$WINEPREFIX.lock"
