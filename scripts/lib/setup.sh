# Set-up shared by the run and test commands: Debian packages, locales, and the builds.
# Source this file, then call ts_setup.

TS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
TS_BUILD_ROOT=${TS_BUILD_ROOT:-$TS_ROOT/build}
export TS_ROOT TS_BUILD_ROOT

TS_PACKAGES=(cmake ninja-build g++ g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine64 xvfb xdotool
             imagemagick x11-apps fonts-wqy-microhei fonts-wine locales googletest libgtest-dev libbenchmark-dev
             clang libclang-rt-14-dev)

ts_log() { printf '==> %s\n' "$*" >&2; }

ts_install_packages() {
    local missing=() p
    for p in "${TS_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    ts_log "installing: ${missing[*]}"
    local sudo=
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -q >/dev/null
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
}

ts_locales() {
    local need=
    locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$' || need=1
    locale -a 2>/dev/null | grep -qi '^en_US\.utf-\?8$' || need=1
    [ -z "$need" ] && return 0
    ts_log "generating locales zh_CN.UTF-8 and en_US.UTF-8"
    local sudo=
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo sed -i -E 's/^# *(zh_CN\.UTF-8 UTF-8)/\1/; s/^# *(en_US\.UTF-8 UTF-8)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    grep -q '^en_US.UTF-8 UTF-8' /etc/locale.gen || echo 'en_US.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
}

# ts_build TARGETS...: native (sanitized) unit tests, the 64-bit Windows build for Wine, the 32-bit release.
ts_build() {
    local jobs
    jobs=$(nproc)
    if [[ " $* " == *" native "* ]]; then
        ts_log "building native unit tests (ASan, UBSan)"
        cmake -S "$TS_ROOT" -B "$TS_BUILD_ROOT/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
        ninja -C "$TS_BUILD_ROOT/native" -j "$jobs" unit_tests >"$TS_BUILD_ROOT/native-build.log" 2>&1 ||
            { tail -40 "$TS_BUILD_ROOT/native-build.log"; return 1; }
    fi
    if [[ " $* " == *" win64 "* ]]; then
        ts_log "building the x86_64 Windows program and tests"
        cmake -S "$TS_ROOT" -B "$TS_BUILD_ROOT/win64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$TS_ROOT/cmake/toolchain-mingw-x86_64.cmake" >/dev/null
        ninja -C "$TS_BUILD_ROOT/win64" -j "$jobs" >"$TS_BUILD_ROOT/win64-build.log" 2>&1 ||
            { tail -40 "$TS_BUILD_ROOT/win64-build.log"; return 1; }
    fi
    if [[ " $* " == *" win32 "* ]]; then
        ts_log "building the i686 release program"
        cmake -S "$TS_ROOT" -B "$TS_BUILD_ROOT/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTS_BUILD_TESTS=OFF \
            -DCMAKE_TOOLCHAIN_FILE="$TS_ROOT/cmake/toolchain-mingw-i686.cmake" >/dev/null
        ninja -C "$TS_BUILD_ROOT/win32" -j "$jobs" TimedShutdown >"$TS_BUILD_ROOT/win32-build.log" 2>&1 ||
            { tail -40 "$TS_BUILD_ROOT/win32-build.log"; return 1; }
    fi
}

ts_setup() {
    ts_install_packages && ts_locales && mkdir -p "$TS_BUILD_ROOT" && ts_build "$@"
}
