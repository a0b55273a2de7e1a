# The settings file under faults: kills in the middle of a save, files in other encodings, bad files,
# and a folder where no new file can be made.
S_FORM2="定时关机 - 设置"
S_MONTHLY_CHECK=2104
S_MONTHLY_DAY=2006
S_OK=2302
# A day of the month that is not today, so a saved monthly schedule never fires during a scenario.
S_DAY=$((($(date +%-d) + 14) % 28 + 1))

# store_save_monthly DAY: opens the shutdown dialog, ticks the monthly row with DAY and presses 确定;
# prints the message box's text if one came instead of the dialog closing.
store_save_monthly() {
    drv click "$MAIN" 1004
    local dlg
    dlg=$(drv wait "$S_FORM2" 10000) || fail "the shutdown dialog did not open"
    drv visible "$dlg" 5000 || fail "the shutdown dialog is not visible"
    drv check "$dlg" "$S_MONTHLY_CHECK" 1 || fail "Check4"
    drv fill "$dlg" "$S_MONTHLY_DAY=$1" >/dev/null || fail "Text6"
    drv click "$dlg" "$S_OK"
    # A save of a large file writes and flushes all of it: allow a minute for a slow disk.
    local i box
    for i in $(seq 1 60); do
        drv gone "$dlg" 900 >/dev/null && return 0
        box=$(drv msgbox "$S_FORM2" 100) && { echo "$box"; return 0; }
    done
    return 1
}

# store_start: starts the program and waits for its main window; prints the seconds it took, and the
# processor time the program had used by then (a fairer figure on a busy machine).
store_start() {
    local begin
    begin=$(date +%s.%N)
    app_start "$@"
    main_wait 60000
    local now ticks
    now=$(date +%s.%N)
    ticks=$(awk '{print $14 + $15}' "/proc/$APP_PID/stat" 2>/dev/null || echo 0)
    awk -v b="$begin" -v e="$now" -v t="$ticks" -v hz="$(getconf CLK_TCK)" \
        'BEGIN { printf "%.2f s (processor %.2f s)\n", e - b, t / hz }'
}

test_store_save_survives_kills() {
    cp "$TS_BUILD_ROOT/win64/save_kill.exe" "$APP_DIR/"
    local out
    local status
    out=$(wine "$APP_WIN_DIR\\save_kill.exe" test 'C:\kill' 50 200 2>/dev/null)
    status=$?
    out=$(tr -d '\r' <<<"$out")
    echo "$out"
    [ "$status" -eq 0 ] || fail "save_kill: $(tail -1 <<<"$out")"
    expect_contains "$out" " failures=0 " "kill test"
}

# A UTF-16 file as older Windows editors save it, and a UTF-8 file without a mark as current editors
# do: the program reads both, and a save through the dialog keeps each in its encoding and line ends.
test_store_unicode_files_saved_through_the_dialog() {
    local lines=("; 手改 😀" "[关机]" "每天定时关机=07:00" "[重启]" "每天定时重启=12:00")
    { printf '\xff\xfe'; printf '%s\r\n' "${lines[@]}" | iconv -f UTF-8 -t UTF-16LE; } >"$APP_DIR/timer.ini"
    store_start >/dev/null
    expect_contains "$(drv lines "$MAIN" 1005)" "(每天定时关机)" "List1 from the UTF-16 file"
    expect_contains "$(drv lines "$MAIN" 1008)" "(每天定时重启)" "List2 from the UTF-16 file"
    local box
    box=$(store_save_monthly "$S_DAY") || fail "no save and no message"
    [ -z "$box" ] || fail "the save failed: $box"
    expect_eq "$(head -c 2 "$APP_DIR/timer.ini" | od -An -tx1 | tr -d ' ')" fffe "the UTF-16 mark"
    local text
    text=$(tail -c +3 "$APP_DIR/timer.ini" | iconv -f UTF-16LE -t UTF-8) || fail "not UTF-16 throughout"
    expect_eq "$(head -1 <<<"$text")" "; 手改 😀"$'\r' "the comment"
    expect_contains "$text" "每天定时关机=07:00"$'\r\n' "the daily shutdown"
    expect_contains "$text" "每月定时关机日期=$S_DAY"$'\r\n' "the saved row"
    expect_contains "$text" "[重启]"$'\r\n'"每天定时重启=12:00"$'\r' "the restart section"
    expect_eq "$(grep -c $'[^\r]$' <<<"$text")" 0 "lines without CRLF"
    expect_contains "$(drv lines "$MAIN" 1005)" "(每月定时关机)" "List1 after the save"
    app_quit

    printf '%s\n' "${lines[@]}" >"$APP_DIR/timer.ini"
    store_start >/dev/null
    expect_contains "$(drv lines "$MAIN" 1005)" "(每天定时关机)" "List1 from the UTF-8 file"
    box=$(store_save_monthly "$S_DAY") || fail "no save and no message"
    [ -z "$box" ] || fail "the save failed: $box"
    iconv -f UTF-8 -t UTF-8 "$APP_DIR/timer.ini" >/dev/null || fail "not UTF-8 throughout"
    expect_eq "$(head -c 3 "$APP_DIR/timer.ini" | od -An -tx1 | tr -d ' ')" "$(printf '; \xe6' | od -An -tx1 | tr -d ' ')" \
        "no mark added"
    expect_eq "$(grep -c $'\r' "$APP_DIR/timer.ini")" 0 "CRs in an LF file"
    grep -qx "每月定时关机日期=$S_DAY" "$APP_DIR/timer.ini" || fail "the saved row: $(cat "$APP_DIR/timer.ini")"
    grep -qx "; 手改 😀" "$APP_DIR/timer.ini" || fail "the comment"
    app_quit
}

# Bad files: each must let the program start, and a save either writes the section with every other
# byte kept or shows the failure message with nothing changed.

# store_bad_file NAME: the file NAME's bytes, the shutdown section and a restart section with a broken
# GBK pair; the program starts with it, shows the section's schedule, and a save keeps every byte before
# and after the section.
store_bad_file() {
    local name=$1 before="$E2E_DIR/before-$1"
    case $name in
    big)
        printf '; 填充\r\n[其他]\r\n' | iconv -f UTF-8 -t CP936 >"$before"
        yes "$(printf '备注=一行很长的填充文字，把文件撑到五十兆字节\r' | iconv -f UTF-8 -t CP936)" | head -c 52428800 >>"$before"
        printf '\n' >>"$before"
        ;;
    gbk) printf '; \x81\x20\xff\xfe\x80\x81\r\n[\x81]\r\nk=\xa0\r\n' >"$before" ;;
    nul) printf '; a\x00b\r\n\x00\x00\r\nk=v\x00w\r\n' >"$before" ;;
    esac
    local section after_section=$'[\xd6\xd8\xc6\xf4]\r\n\x81\xff\r\n'  # [重启] and a broken pair
    section=$(printf '[关机]\r\n每天定时关机=07:00\r\n' | iconv -f UTF-8 -t CP936)
    { cat "$before"; printf '%s\r\n%s' "$section" "$after_section"; } >"$APP_DIR/timer.ini"
    echo "start with the $name file ($(stat -c %s "$APP_DIR/timer.ini") bytes): $(store_start)"
    expect_contains "$(drv lines "$MAIN" 1005)" "(每天定时关机)" "List1 ($name)"
    local box
    box=$(store_save_monthly "$S_DAY") || fail "no save and no message ($name)"
    [ -z "$box" ] || fail "the save failed ($name): $box"
    cmp -s -n "$(stat -c %s "$before")" "$APP_DIR/timer.ini" "$before" || fail "the bytes before the section ($name)"
    tail -c "$(printf '%s' "$after_section" | wc -c)" "$APP_DIR/timer.ini" | cmp -s - <(printf '%s' "$after_section") ||
        fail "the bytes after the section ($name)"
    iconv -f CP936 -t UTF-8 -c "$APP_DIR/timer.ini" 2>/dev/null | grep -qa "^每月定时关机日期=$S_DAY" ||
        fail "the saved row ($name)"
    app_quit
    rm -f "$before"
}

test_store_big_file_starts_and_saves() {
    ini_write <<'INI'
[关机]
每天定时关机=07:00
INI
    echo "start with a small file: $(store_start)"
    app_quit
    store_bad_file big
}

test_store_bad_files_start_and_save_safely() {
    store_bad_file gbk
    store_bad_file nul
    # A folder in the file's place: no schedules, and a save says it could not.
    mkdir "$APP_DIR/timer.ini.d" && rm -f "$APP_DIR/timer.ini" && mv "$APP_DIR/timer.ini.d" "$APP_DIR/timer.ini"
    echo "start with a folder named timer.ini: $(store_start)"
    expect_eq "$(drv lines "$MAIN" 1005)" "" "List1 with a folder"
    local box
    box=$(store_save_monthly "$S_DAY") || fail "no message for a folder"
    expect_contains "$box" "无法保存设置" "message for a folder"
    answer "$S_FORM2" 1
    [ -d "$APP_DIR/timer.ini" ] && [ -z "$(ls -A "$APP_DIR/timer.ini")" ] || fail "the folder changed"
}

# A folder where the user may not make files, but may write the settings file itself: the profile
# functions would write it in place, and so does the program. Without the right to override file
# permissions, root is held to the folder's and the file's modes as a user would be.
test_store_writes_in_place_where_no_new_file_can_be_made() {
    ini_write <<'INI'
[关机]
每天定时关机=07:00
INI
    local inode
    inode=$(stat -c %i "$APP_DIR/timer.ini")
    chmod 555 "$APP_DIR"
    # Wine's server opens and renames files for its programs: it starts again, as a user would run it.
    local limited=(setpriv --bounding-set=-dac_override,-dac_read_search,-fowner)
    wineserver -k
    wineserver -w
    "${limited[@]}" wineserver -p || fail "no wineserver"
    (cd "$E2E_DIR" && exec "${limited[@]}" wine "$APP_WIN_DIR\\TimedShutdown.exe" >>"$E2E_DIR/program.log" 2>&1) &
    APP_PID=$!
    main_wait 60000
    local box
    box=$(store_save_monthly "$S_DAY") || { chmod 755 "$APP_DIR"; fail "no save and no message"; }
    chmod 755 "$APP_DIR"
    [ -z "$box" ] || fail "the save failed: $box"
    expect_eq "$(stat -c %i "$APP_DIR/timer.ini")" "$inode" "the same file"
    ini_read | grep -q "^每月定时关机日期=$S_DAY"$'\r' || fail "the saved row: $(ini_read)"
    ini_read | grep -q "^每天定时关机=07:00"$'\r' || fail "the daily shutdown"
    expect_eq "$(ls -A "$APP_DIR" | grep -c '\.tmp$')" 0 "temporary files"
}
