#!/usr/bin/env bash
# Installs what building and testing QOR System Editor needs on Debian/Ubuntu,
# then builds libjpeg for both MinGW targets from Debian's libjpeg-turbo source
# package into build/deps/<preset>. Safe to run again: every step is skipped
# when its result is already there.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
deps="$top/build/deps"

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

packages=(wine wine64 xvfb g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
          googletest cmake ninja-build imagemagick x11-utils dpkg-dev xauth)

missing_packages() {
    local p
    for p in "${packages[@]}" wine32:i386; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
    done
}

# deb-src lines are needed for `apt-get source`; Debian 12 images ship deb822
# sources without them.
ensure_deb_src() {
    if grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return
    fi
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
            | as_root tee /etc/apt/sources.list.d/qor-deb-src.sources >/dev/null
    elif [ -f /etc/apt/sources.list ]; then
        grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
            | as_root tee /etc/apt/sources.list.d/qor-deb-src.list >/dev/null
    fi
    echo stale
}

install_packages() {
    local missing need_update=0
    missing=$(missing_packages)
    [ -n "$(ensure_deb_src)" ] && need_update=1
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
        need_update=1
    fi
    [ -z "$missing" ] && [ "$need_update" = 0 ] && return
    as_root apt-get update -qq
    [ -z "$missing" ] && return
    # shellcheck disable=SC2086
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
}

# The MinGW toolchain files live in cmake/; libjpeg is built with the same ones.
build_libjpeg() {
    local preset=$1 prefix="$deps/$1"
    [ -f "$prefix/lib/libjpeg.a" ] && return
    local src
    src=$(ls -d "$deps"/src/libjpeg-turbo-*/ 2>/dev/null | head -n 1 || true)
    if [ -z "$src" ]; then
        mkdir -p "$deps/src"
        (cd "$deps/src" && apt-get source -qq libjpeg-turbo >/dev/null)
        src=$(ls -d "$deps"/src/libjpeg-turbo-*/ | head -n 1)
    fi
    cmake -S "$src" -B "$deps/build-$preset" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-$preset.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=0 -DWITH_TURBOJPEG=OFF >/dev/null
    cmake --build "$deps/build-$preset" >/dev/null
    cmake --install "$deps/build-$preset" >/dev/null
}

install_packages
build_libjpeg win64
build_libjpeg win32
