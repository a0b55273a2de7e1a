# Set-up shared by the run and test commands: Debian packages, locales, and the builds.
# Source this file, then call ts_setup.

TS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
TS_BUILD_ROOT=${TS_BUILD_ROOT:-$TS_ROOT/build}
export TS_ROOT TS_BUILD_ROOT

# Everything the scripts need beyond Debian's essential packages. `wine` brings the commands wine and
# wineserver; `wine64` alone ships only the loader. scripts/lib/check_setup.sh proves the list complete.
TS_PACKAGES=(cmake ninja-build g++ g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 xvfb xdotool
             imagemagick x11-utils fonts-wqy-microhei fonts-wqy-zenhei fonts-wine locales mawk googletest libgtest-dev
             libbenchmark-dev clang libclang-rt-14-dev)

# Every program the scripts call that no essential package provides; check_setup.sh resolves each one
# to the package that owns it.
TS_PROGRAMS=(cmake ninja ctest g++ i686-w64-mingw32-g++-posix i686-w64-mingw32-gcc-posix i686-w64-mingw32-windres
             x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-windres
             wine wineserver wineboot Xvfb xdotool import xdpyinfo awk locale-gen clang clang++)
# Files the builds and Wine sessions use directly.
TS_FILES=(/usr/src/googletest/CMakeLists.txt /usr/share/fonts/truetype/wqy/wqy-microhei.ttc
          /usr/share/fonts/truetype/wqy/wqy-zenhei.ttc
          /usr/share/wine/fonts/marlett.ttf)

ts_log() { printf '==> %s\n' "$*" >&2; }

ts_sudo() { if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi; }

ts_install_packages() {
    local missing=() p
    for p in "${TS_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    ts_log "installing: ${missing[*]}"
    ts_sudo apt-get update -q >/dev/null
    DEBIAN_FRONTEND=noninteractive ts_sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
}

ts_locales() {
    local need=
    locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$' || need=1
    locale -a 2>/dev/null | grep -qi '^en_US\.utf-\?8$' || need=1
    [ -z "$need" ] && return 0
    ts_log "generating locales zh_CN.UTF-8 and en_US.UTF-8"
    ts_sudo sed -i -E 's/^# *(zh_CN\.UTF-8 UTF-8)/\1/; s/^# *(en_US\.UTF-8 UTF-8)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | ts_sudo tee -a /etc/locale.gen >/dev/null
    grep -q '^en_US.UTF-8 UTF-8' /etc/locale.gen || echo 'en_US.UTF-8 UTF-8' | ts_sudo tee -a /etc/locale.gen >/dev/null
    ts_sudo locale-gen >/dev/null
}

# ts_configure DIR CMAKE-ARGS...: a build tree whose configuration failed is not trusted: it is
# deleted and configured once more from nothing (a compiler missing last time stays cached otherwise).
ts_configure() {
    local dir=$1
    shift
    mkdir -p "$(dirname "$dir")"
    cmake -S "$TS_ROOT" -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 && return 0
    ts_log "configuring $dir failed; starting that build tree again"
    rm -rf "$dir"
    cmake -S "$TS_ROOT" -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 || { tail -30 "$dir.configure.log"; return 1; }
}

# ts_build TARGETS...: native (sanitized) unit tests, the 64-bit Windows build for Wine, the 32-bit release.
ts_build() {
    local jobs
    jobs=$(nproc)
    if [[ " $* " == *" native "* ]]; then
        ts_log "building native unit tests (ASan, UBSan)"
        ts_configure "$TS_BUILD_ROOT/native" -DCMAKE_BUILD_TYPE=Debug || return 1
        ninja -C "$TS_BUILD_ROOT/native" -j "$jobs" unit_tests >"$TS_BUILD_ROOT/native-build.log" 2>&1 ||
            { tail -40 "$TS_BUILD_ROOT/native-build.log"; return 1; }
    fi
    if [[ " $* " == *" win64 "* ]]; then
        ts_log "building the x86_64 Windows program and tests"
        ts_configure "$TS_BUILD_ROOT/win64" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$TS_ROOT/cmake/toolchain-mingw-x86_64.cmake" || return 1
        ninja -C "$TS_BUILD_ROOT/win64" -j "$jobs" >"$TS_BUILD_ROOT/win64-build.log" 2>&1 ||
            { tail -40 "$TS_BUILD_ROOT/win64-build.log"; return 1; }
    fi
    if [[ " $* " == *" win32 "* ]]; then
        ts_log "building the i686 release program"
        ts_configure "$TS_BUILD_ROOT/win32" -DCMAKE_BUILD_TYPE=Release -DTS_BUILD_TESTS=OFF \
            -DCMAKE_TOOLCHAIN_FILE="$TS_ROOT/cmake/toolchain-mingw-i686.cmake" || return 1
        ninja -C "$TS_BUILD_ROOT/win32" -j "$jobs" TimedShutdown >"$TS_BUILD_ROOT/win32-build.log" 2>&1 ||
            { tail -40 "$TS_BUILD_ROOT/win32-build.log"; return 1; }
    fi
}

ts_setup() {
    ts_install_packages && ts_locales && mkdir -p "$TS_BUILD_ROOT" && ts_build "$@"
}
