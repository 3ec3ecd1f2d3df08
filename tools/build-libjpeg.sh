#!/bin/sh
# Builds a static libjpeg (v6b API) for one target into .deps/libjpeg/ARCH.
#   usage: tools/build-libjpeg.sh x86|x64|host
# The Debian source package is fetched once into .deps/src and shared by all
# targets; the fetch is serialised with flock so two targets can build at once.
set -eu

arch=${1:-}
case "$arch" in
    x86|x64|host) ;;
    *) echo "usage: $0 x86|x64|host" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/.deps"
src_cache="$deps/src"
prefix="$deps/libjpeg/$arch"
build="$deps/build/libjpeg-$arch"
stamp="$prefix/lib/libjpeg.a"
# Bumped whenever the options below change, so a cached build made with other options
# is made again.
recipe=4

if [ -f "$stamp" ] && [ "$(cat "$prefix/recipe" 2>/dev/null)" = "$recipe" ]; then
    exit 0
fi
rm -rf "$prefix"

mkdir -p "$src_cache"

find_src() {
    for d in "$src_cache"/libjpeg-turbo-*; do
        if [ -d "$d" ] && [ -f "$d/CMakeLists.txt" ]; then
            echo "$d"
            return 0
        fi
    done
    return 1
}

fetch_src() {
    if find_src >/dev/null; then
        return 0
    fi
    src_list=/etc/apt/sources.list.d/project-deb-src.sources
    if [ ! -f "$src_list" ]; then
        # Mirror whatever binary sources the machine already trusts, so we
        # never pick a mirror ourselves.
        sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > "$src_list.tmp"
        mv "$src_list.tmp" "$src_list"
    fi
    fetch_log="$src_cache/fetch.log"
    apt-get -o APT::Sandbox::User=root update > "$fetch_log" 2>&1 || {
        echo "apt-get update failed, see $fetch_log" >&2; return 1; }
    # Unpack in a scratch dir and move the tree in only when complete, so an
    # interrupted fetch is never mistaken for a usable source tree.
    scratch="$src_cache/.fetch"
    rm -rf "$scratch"
    mkdir -p "$scratch"
    (cd "$scratch" &&
        apt-get -o APT::Sandbox::User=root source --only-source libjpeg-turbo) \
        >> "$fetch_log" 2>&1 || {
        echo "apt-get source failed, see $fetch_log" >&2; return 1; }
    for d in "$scratch"/libjpeg-turbo-*; do
        [ -d "$d" ] && mv "$d" "$src_cache/"
    done
    rm -rf "$scratch"
    find_src >/dev/null
}

# The fetch runs in a subshell holding the lock on fd 9.
(
    flock 9
    fetch_src
) 9> "$src_cache/.fetch.lock"

src=$(find_src)

case "$arch" in
    x86)
        cc=i686-w64-mingw32-gcc-posix
        toolchain="-DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=x86
                   -DCMAKE_RC_COMPILER=i686-w64-mingw32-windres"
        cflags="-Os -ffunction-sections -fdata-sections"
        ;;
    x64)
        cc=x86_64-w64-mingw32-gcc-posix
        toolchain="-DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=AMD64
                   -DCMAKE_RC_COMPILER=x86_64-w64-mingw32-windres"
        cflags="-Os -ffunction-sections -fdata-sections"
        ;;
    host)
        # Only used by the sanitizer and fuzzing builds, so instrument the
        # library too: overreads inside the decoder must be caught there, and
        # the fuzzer needs the decoder's own branches to steer by. The coverage
        # hooks fall back to no-ops in programs that are not fuzzers.
        cc=clang-14
        toolchain=""
        cflags="-O2 -fPIC -g -fno-omit-frame-pointer -fsanitize=address,fuzzer-no-link"
        ;;
esac

# The program reads no environment variables, so neither does its JPEG library (which
# would otherwise look at JPEGMEM, and link sscanf for it).
# (Without the getenv path its header no longer includes errno.h on Linux.)
cflags="$cflags -DNO_GETENV -include errno.h"

rm -rf "$build"
mkdir -p "$build"
log="$build/build.log"

echo "libjpeg ($arch): building from $(basename "$src")"
# shellcheck disable=SC2086  # $toolchain is a list of arguments
if ! cmake -S "$src" -B "$build" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_C_COMPILER="$cc" \
        $toolchain \
        -DCMAKE_C_FLAGS="$cflags" \
        -DCMAKE_C_FLAGS_RELEASE="" \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_INSTALL_LIBDIR=lib \
        -DCMAKE_INSTALL_INCLUDEDIR=include \
        -DENABLE_SHARED=OFF \
        -DENABLE_STATIC=ON \
        -DWITH_SIMD=OFF \
        -DREQUIRE_SIMD=OFF \
        -DWITH_TURBOJPEG=OFF \
        -DWITH_JPEG7=OFF \
        -DWITH_JPEG8=OFF \
        -DWITH_ARITH_DEC=OFF \
        -DWITH_ARITH_ENC=OFF \
        > "$log" 2>&1; then
    echo "libjpeg ($arch): configure failed, see $log" >&2
    exit 1
fi

# Only the library itself; the command-line tools are not needed.
if ! cmake --build "$build" --target jpeg-static -j2 >> "$log" 2>&1; then
    echo "libjpeg ($arch): build failed, see $log" >&2
    exit 1
fi

mkdir -p "$prefix/include" "$prefix/lib.tmp"
for h in jpeglib.h jmorecfg.h jerror.h; do
    cp "$src/$h" "$prefix/include/"
done
cp "$build/jconfig.h" "$prefix/include/"
lib=$(find "$build" -name 'libjpeg.a' | head -n 1)
if [ -z "$lib" ]; then
    echo "libjpeg ($arch): libjpeg.a not produced, see $log" >&2
    exit 1
fi
# Install the library last and atomically: it is the stamp that says done.
cp "$lib" "$prefix/lib.tmp/libjpeg.a"
mkdir -p "$prefix/lib"
echo "$recipe" > "$prefix/recipe"
mv "$prefix/lib.tmp/libjpeg.a" "$stamp"
rmdir "$prefix/lib.tmp"
echo "libjpeg ($arch): installed to $prefix"
