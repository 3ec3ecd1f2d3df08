#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages only. Safe to run again:
# it asks apt for nothing when everything is already there.
set -eu
packages=(
  make cmake g++ git curl python3 python3-pil dpkg-dev util-linux iproute2 locales
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  googletest clang-14 libclang-rt-14-dev
  wine64 fonts-wine xvfb xauth xdotool x11-utils imagemagick fonts-wqy-microhei icoutils ffmpeg
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its Windows locale (and so the ANSI code page) from LANG.
need_gen=
for l in zh_CN.UTF-8 en_US.UTF-8; do
  if ! locale -a 2>/dev/null | grep -qi "^${l%.UTF-8}.utf-\?8$"; then
    sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$l UTF-8" /etc/locale.gen || echo "$l UTF-8" >> /etc/locale.gen
    need_gen=1
  fi
done
[ -z "$need_gen" ] || locale-gen >/dev/null
