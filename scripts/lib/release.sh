# Release archives: TimedShutdown-<version>-win32.zip and -win64.zip, each with TimedShutdown.exe and
# 使用说明.txt (UTF-8 with a byte-order mark and CRLF line ends, so Notepad shows it right on any
# Windows), and SHA256SUMS beside them. No timer.ini: the program makes it on the first save.
# Source after setup.sh; ts_release needs the win32 and win64 builds.

# The version, as CMake has it from the project() line: that line is the only place it is written.
ts_version() {
    sed -n -E 's/^CMAKE_PROJECT_VERSION:[A-Z]*=(.*)$/\1/p' "$TS_BUILD_ROOT/win32/CMakeCache.txt"
}

# ts_release OUTDIR: builds both archives and SHA256SUMS into OUTDIR; prints the archives' paths.
ts_release() {
    local out=$1 version arch stage name stamp
    version=$(ts_version)
    stamp=$(TZ=UTC git -C "$TS_ROOT" log -1 --date=format-local:'%Y-%m-%d %H:%M:%S' --format='%cd UTC' 2>/dev/null)
    [ -n "$stamp" ] || stamp='2026-01-01 00:00:00 UTC'
    [ -n "$version" ] || { echo "release: no project version in the win32 build tree" >&2; return 1; }
    rm -rf "$out"
    mkdir -p "$out"
    for arch in win32 win64; do
        name="TimedShutdown-$version-$arch"
        stage="$out/.stage-$arch"
        mkdir -p "$stage"
        cp "$TS_BUILD_ROOT/$arch/TimedShutdown.exe" "$stage/"
        { printf '\xef\xbb\xbf'; sed 's/\r$//; s/$/\r/' "$TS_ROOT/resources/usage-zh.txt"; } >"$stage/使用说明.txt"
        # Fixed times and order: the same sources give the same archive.
        (cd "$stage" && LC_ALL=C.UTF-8 cmake -E tar cf "../$name.zip" --format=zip --mtime="$stamp" -- TimedShutdown.exe 使用说明.txt) || return 1
        rm -rf "$stage"
        echo "$out/$name.zip"
    done
    (cd "$out" && sha256sum -- *.zip >SHA256SUMS)
}
