# The release archives as a user gets them: checked against SHA256SUMS, unpacked into a folder of
# their own, started from there, and a first save that makes timer.ini beside the program.
RELEASE_DIR="$TS_BUILD_ROOT/release"

# pe_machine FILE: the machine field of a PE file's header (014c i386, 8664 x86-64).
pe_machine() {
    local offset
    offset=$(od -An -tu4 -j 60 -N 4 "$1" | tr -d ' ')
    od -An -tx2 -j $((offset + 4)) -N 2 "$1" | tr -d ' '
}

test_release_archives_unpack_start_and_save() {
    local version
    version=$(sed -n -E 's/^CMAKE_PROJECT_VERSION:[A-Z]*=(.*)$/\1/p' "$TS_BUILD_ROOT/win32/CMakeCache.txt")
    [ -n "$version" ] || fail "no project version"
    (cd "$RELEASE_DIR" && sha256sum --quiet -c SHA256SUMS) || fail "archives do not match SHA256SUMS"
    expect_eq "$(cut -d' ' -f3 "$RELEASE_DIR/SHA256SUMS" | tr '\n' ' ')" \
        "TimedShutdown-$version-win32.zip TimedShutdown-$version-win64.zip " "archives"
    local arch machine dir zip
    for arch in win32:014c win64:8664; do
        IFS=: read -r arch machine <<<"$arch"
        zip="$RELEASE_DIR/TimedShutdown-$version-$arch.zip"
        dir=$(unix_path "C:\\下载\\$arch")
        mkdir -p "$dir"
        (cd "$dir" && cmake -E tar xf "$zip") || fail "$arch: does not unpack"
        expect_eq "$(cd "$dir" && find . -type f | LC_ALL=C sort | tr '\n' ' ')" "./TimedShutdown.exe ./使用说明.txt " "$arch: files"
        expect_eq "$(pe_machine "$dir/TimedShutdown.exe")" "$machine" "$arch: machine"
        expect_eq "$(head -c 3 "$dir/使用说明.txt" | od -An -tx1 | tr -d ' ')" "efbbbf" "$arch: byte-order mark"
        iconv -f UTF-8 -t UTF-8 "$dir/使用说明.txt" >/dev/null || fail "$arch: guide is not UTF-8"
        [ "$(grep -c $'\r$' "$dir/使用说明.txt")" -eq "$(wc -l <"$dir/使用说明.txt")" ] || fail "$arch: not CRLF"
        grep -q '开机自动运行' "$dir/使用说明.txt" || fail "$arch: guide without its text"
    done
    # Only the 64-bit program runs under this Wine; the 32-bit one was checked above for what it is.
    APP_WIN_DIR='C:\下载\win64'
    APP_DIR=$(unix_path "$APP_WIN_DIR")
    app_start
    main_wait
    [ -e "$APP_DIR/timer.ini" ] && fail "timer.ini before the first save"
    drv click "$MAIN" 1004
    drv visible "定时关机 - 设置" 10000 >/dev/null || fail "settings dialog did not open"
    drv check "定时关机 - 设置" 2102 1 || fail "could not tick the daily schedule"
    drv settext "定时关机 - 设置" 2002 "$(( (10#$(date +%H) + 3) % 24 ))"
    drv click "定时关机 - 设置" 2302
    drv gone "定时关机 - 设置" 10000 || fail "dialog stayed open after 确定"
    [ -f "$APP_DIR/timer.ini" ] || fail "no timer.ini beside the program after a save"
    expect_contains "$(ini_read)" "每天定时关机=" "saved section"
    expect_eq "$(drv lines "$MAIN" 1005 | wc -l)" 1 "list lines"
    app_quit
}
