#!/usr/bin/env bash
# Installs what building and testing QOR System Editor needs on Debian/Ubuntu,
# then builds libjpeg for both MinGW targets from Debian's libjpeg-turbo source
# package into build/deps/<preset>. Safe to run again: every step is skipped
# when its result is already there.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
deps="$top/build/deps"

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# fonts-wine: Wine's own fonts, which wine-env.sh copies into every prefix it
# makes. fonts-dejavu-core: the wider face Wine substitutes without them, which
# the layout tests build the pages with.
packages=(wine wine64 fonts-wine fonts-dejavu-core xvfb g++-mingw-w64-x86-64 g++-mingw-w64-i686
          mingw-w64-tools googletest cmake ninja-build imagemagick x11-utils dpkg-dev xauth clang-format)

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
    update_indexes
    [ -z "$missing" ] && return
    # shellcheck disable=SC2086
    install_from_indexes $missing || exit 1
}

apt_log="$top/build/apt.log"

# A Debian mirror caught mid-sync serves an index that does not match its
# Release file ("File has unexpected size ... Mirror sync in progress?"), and
# can stay so for hours. The update is tried once more, then the set-up goes
# on with the indexes that did come.
update_indexes() {
    mkdir -p "$(dirname "$apt_log")"
    as_root apt-get update -qq >"$apt_log" 2>&1 && return
    as_root apt-get update -qq >"$apt_log" 2>&1 && return
    echo "Note: some package indexes could not be read (the mirror may be mid-sync; see $apt_log); going on with the others." >&2
}

# With one architecture's index of the security suite missing, a 32-bit
# library cannot match the version its 64-bit twin has from that suite: then
# the install is tried once more with the release's own versions preferred,
# for this install only (-t), so no pin is left behind.
install_from_indexes() {
    local -a install=(env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends)
    as_root "${install[@]}" "$@" >>"$apt_log" 2>&1 && return
    local codename
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    if [ -n "$codename" ] && as_root "${install[@]}" -t "$codename" "$@" >>"$apt_log" 2>&1; then
        return
    fi
    echo "Could not install $* from Debian's packages, even preferring the release's own versions (apt's messages are in $apt_log); run scripts/setup.sh again once 'apt-get update' succeeds." >&2
    return 1
}

# Some x86_64 kernels cannot execute 32-bit programs (Wine's 32-bit loader
# then fails with "Exec format error"). There the loader runs under qemu's
# i386 user-mode emulator, registered with the kernel's binfmt_misc. qemu 8
# or later is needed: older ones ignore MAP_FIXED_NOREPLACE, and Wine then
# spends a minute on address-space reservations at every process start.
qemu_binfmt=/proc/sys/fs/binfmt_misc
qemu_entry=$qemu_binfmt/qemu-i386-qor

# One-line apt sources for the backports suite of `codename`, made from the
# archives this machine already uses for `codename` itself (their URIs and
# signing keys), so that no download host is written here.
backports_sources() {
    local codename=$1
    {
        grep -hsE "^deb[[:space:]]" /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
            | awk -v suite="$codename" '{
                  options = ""; i = 2
                  if ($2 ~ /^\[/) { while ($i !~ /\]$/) { options = options $i " "; i++ } options = options $i " "; i++ }
                  if ($(i + 1) == suite) print "deb " options $i " " suite "-backports main"
              }'
        awk -v suite="$codename" '
            function flush() {
                if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " suite " ") && enabled != "no")
                    for (n = split(uris, list, " "); n > 0; n--)
                        print "deb " (key ? "[signed-by=" key "] " : "") list[n] " " suite "-backports main"
                types = suites = uris = key = enabled = ""
            }
            /^[[:space:]]*$/ { flush(); next }
            /^Types:/ { sub(/^Types:[[:space:]]*/, ""); types = $0 }
            /^Suites:/ { sub(/^Suites:[[:space:]]*/, ""); suites = $0 }
            /^URIs:/ { sub(/^URIs:[[:space:]]*/, ""); uris = $0 }
            /^Signed-By:/ { sub(/^Signed-By:[[:space:]]*/, ""); key = $0 }
            /^Enabled:/ { sub(/^Enabled:[[:space:]]*/, ""); enabled = $0 }
            END { flush() }' /etc/apt/sources.list.d/*.sources 2>/dev/null
    } | sort -u
}

runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

install_qemu_user() {
    local major
    major=$(qemu-i386 --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\).*/\1/p')
    [ -n "$major" ] && [ "$major" -ge 8 ] && return
    local release="" backports
    . /etc/os-release
    if [ "${VERSION_CODENAME:-}" = bookworm ]; then
        backports=$(backports_sources bookworm)
        if [ -n "$backports" ]; then
            echo "$backports" | as_root tee /etc/apt/sources.list.d/qor-bookworm-backports.list >/dev/null
            release="-t bookworm-backports"
        fi
    fi
    update_indexes
    # shellcheck disable=SC2086
    install_from_indexes $release qemu-user
}

register_qemu_i386() {
    [ -d "$qemu_binfmt" ] || as_root mkdir -p "$qemu_binfmt"
    [ -e "$qemu_binfmt/register" ] || as_root mount -t binfmt_misc binfmt_misc "$qemu_binfmt"
    # The F flag opens the interpreter now: register again after qemu changed.
    [ -e "$qemu_entry" ] && echo -1 | as_root tee "$qemu_entry" >/dev/null
    # i386 ELF executables and shared objects.
    printf '%s' ':qemu-i386-qor:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' \
        | as_root tee "$qemu_binfmt/register" >/dev/null
}

ensure_32bit_execution() {
    runs_32bit && return
    echo "This kernel cannot execute 32-bit programs: running Wine's 32-bit loader under qemu-i386."
    # Without qemu the i686 tests are only reported, so a failure here must not stop the set-up.
    install_qemu_user && register_qemu_i386 || true
    runs_32bit || echo "32-bit programs still cannot run here; the i686 tests will be reported NOT RUN." >&2
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
ensure_32bit_execution
build_libjpeg win64
build_libjpeg win32
