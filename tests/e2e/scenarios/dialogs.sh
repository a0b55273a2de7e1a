# The two settings dialogs: opening, the number rule, saving, corrections, failures.
FORM2="定时关机 - 设置"
FORM3="定时重启 - 设置"
T() { echo $((2000 + $1)); }   # TextN
C() { echo $((2100 + $1)); }   # CheckN
COMBO=2200
OK=2302
CANCEL=2303

open_dialog() { # open_dialog 1|2: the main window's 设置… button of that action
    local button=1004 title=$FORM2
    [ "$1" = 2 ] && { button=1007; title=$FORM3; }
    drv click "$MAIN" "$button"
    drv wait "$title" 5000 >/dev/null || fail "dialog $title did not open"
    sleep 0.3
}
field() { drv text "$1" "$(T "$2")"; }
enabled() { drv controls "$1" | awk -F'\t' -v id="$2" '$1 == id {print $3}'; }
# replace_text WIN N TEXT: select all, then type TEXT as the user would.
replace_text() {
    drv focus "$1" "$(T "$2")"
    drv select "$1" "$(T "$2")" 0 -1
    drv type "$1" "$(T "$2")" "$3"
}
example_file() {
    ini_write <<'INI'
[关机]
定时关机日期=2024-05-01
定时关机时间=23:05
每天定时关机=
每周定时关机周几=周五
每周定时关机时间=18:30
每月定时关机日期=
每月定时关机时间=
每次开机X分钟关机=
[重启]
定时重启日期=
定时重启时间=
每天定时重启=12:00
每周定时重启周几=
每周定时重启时间=
每月定时重启日期=
每月定时重启时间=
每次开机X分钟重启=
INI
}

test_dialog_opens_with_design_values_and_today() {
    app_start
    main_wait
    open_dialog 1
    local n expected
    declare -A expected=([10]=23 [11]=0 [2]=23 [3]=0 [4]=23 [5]=0 [6]=1 [7]=23 [8]=0 [9]=480
        [12]=$(date +%Y) [13]=$(date +%-m) [14]=$(date +%-d))
    for n in "${!expected[@]}"; do expect_eq "$(field "$FORM2" "$n")" "${expected[$n]}" "Text$n"; done
    expect_eq "$(drv text "$FORM2" $COMBO)" "周日" "weekday"
    for n in 1 2 3 4 5; do expect_eq "$(drv checked "$FORM2" "$(C "$n")")" 0 "Check$n"; done
    expect_eq "$(enabled "$FORM2" "$(T 10)")" "visible=1 enabled=0" "one-off row off"
    expect_eq "$(drv items "$FORM2" $COMBO | tr '\n' ' ')" "周日 周一 周二 周三 周四 周五 周六 " "weekday list"
    # A second click brings the open dialog forward, edits intact.
    drv click "$FORM2" "$(C 5)"
    replace_text "$FORM2" 9 "90"
    open_dialog 1
    expect_eq "$(drv windows | awk -F'\t' '$5 == "'"$FORM2"'"' | wc -l)" 1 "dialogs open"
    expect_eq "$(field "$FORM2" 9)" 90 "unsaved edit"
    # Esc closes without writing.
    drv key "$FORM2" "$(T 9)" ESCAPE
    drv gone "$FORM2" 5000 || fail "Esc did not close"
    [ ! -e "$APP_DIR/timer.ini" ] || fail "Esc wrote the settings file"
}

test_dialog_fills_from_the_example_file() {
    example_file
    app_start
    main_wait
    expect_eq "$(drv lines "$MAIN" 1005 | wc -l)" 2 "shutdown lines"
    open_dialog 1
    expect_eq "$(drv checked "$FORM2" "$(C 1)")" 1 "one-off on"
    expect_eq "$(enabled "$FORM2" "$(T 12)")" "visible=1 enabled=1" "one-off row on"
    local got
    got="$(field "$FORM2" 12) $(field "$FORM2" 13) $(field "$FORM2" 14) $(field "$FORM2" 10) $(field "$FORM2" 11)"
    expect_eq "$got" "2024 5 1 23 5" "one-off fields"
    expect_eq "$(drv checked "$FORM2" "$(C 3)")" 1 "weekly on"
    expect_eq "$(drv text "$FORM2" $COMBO) $(field "$FORM2" 4) $(field "$FORM2" 5)" "周五 18 30" "weekly fields"
    expect_eq "$(drv checked "$FORM2" "$(C 2)")" 0 "daily off"
    drv click "$FORM2" $CANCEL
    drv gone "$FORM2" 5000 || fail "Cancel did not close"
    open_dialog 2
    expect_eq "$(drv checked "$FORM3" "$(C 2)")" 1 "daily restart on"
    expect_eq "$(field "$FORM3" 2):$(field "$FORM3" 3)" "12:0" "daily restart"
}

test_fields_keep_a_plain_number() {
    app_start
    main_wait
    open_dialog 1
    local n
    for n in 1 2 5; do drv click "$FORM2" "$(C "$n")"; done
    sleep 0.3
    drv settext "$FORM2" "$(T 10)" ""
    expect_eq "$(field "$FORM2" 10)" 0 "emptied field"
    replace_text "$FORM2" 11 "7a"
    expect_eq "$(field "$FORM2" 11)" 7 "7a"
    expect_eq "$(drv caret "$FORM2" "$(T 11)")" "1 1" "caret after the kept digit"
    replace_text "$FORM2" 13 "05"
    expect_eq "$(field "$FORM2" 13)" 5 "05"
    drv select "$FORM2" "$(T 12)" 0 -1
    drv paste "$FORM2" "$(T 12)" "2024abc"
    expect_eq "$(field "$FORM2" 12)" 2024 "pasted 2024abc"
    drv select "$FORM2" "$(T 12)" 0 -1
    drv paste "$FORM2" "$(T 12)" "&H7F"
    expect_eq "$(field "$FORM2" 12)" 127 "pasted &H7F"
    drv select "$FORM2" "$(T 9)" 0 -1
    drv paste "$FORM2" "$(T 9)" "30000"
    expect_eq "$(field "$FORM2" 9)" 30000 "no range while typing"
    drv select "$FORM2" "$(T 2)" 0 -1
    drv paste "$FORM2" "$(T 2)" "-5"
    expect_eq "$(field "$FORM2" 2)" -5 "pasted -5"
    replace_text "$FORM2" 3 "123"
    expect_eq "$(field "$FORM2" 3)" 12 "length limit while typing"
}

test_save_writes_the_section_and_the_list() {
    app_start
    main_wait
    open_dialog 1
    local n
    for n in 1 2 3 4 5; do drv click "$FORM2" "$(C "$n")"; done
    local year=$(( $(date +%Y) + 1 ))
    drv settext "$FORM2" "$(T 12)" "$year"; drv settext "$FORM2" "$(T 13)" 2; drv settext "$FORM2" "$(T 14)" 31
    drv settext "$FORM2" "$(T 10)" 24; drv settext "$FORM2" "$(T 11)" 75
    drv settext "$FORM2" "$(T 2)" 9; drv settext "$FORM2" "$(T 3)" 5
    drv settext "$FORM2" $COMBO "星期五"; drv settext "$FORM2" "$(T 4)" 18; drv settext "$FORM2" "$(T 5)" 30
    drv settext "$FORM2" "$(T 6)" 45; drv settext "$FORM2" "$(T 7)" 8; drv settext "$FORM2" "$(T 8)" 0
    drv settext "$FORM2" "$(T 9)" -5
    drv key "$FORM2" "$(T 9)" RETURN
    drv gone "$FORM2" 5000 || fail "Enter did not save and close"
    local feb=28
    if (( (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 )); then feb=29; fi
    local expected
    expected=$(printf '%s\r\n' "[关机]" "定时关机日期=$year-02-$feb" "定时关机时间=23:59" "每天定时关机=09:05" \
        "每周定时关机周几=星期五" "每周定时关机时间=18:30" "每月定时关机日期=31" "每月定时关机时间=08:00" "每次开机X分钟关机=0")
    expect_eq "$(ini_read)" "$expected" "timer.ini"
    iconv -f CP936 -t CP936 "$APP_DIR/timer.ini" >/dev/null || fail "not code page 936"
    local b20="                    "
    expected=$(printf '%s\n' "$year-02-$feb 23:59${b20:16}  (定时关机)" "09:05${b20:5}  (每天定时关机)" \
        "星期五 18:30${b20:9}(每周定时关机)" "31号 08:00${b20:9} (每月定时关机)" "0${b20:1}  (每次开机0分钟关机)")
    expect_eq "$(drv lines "$MAIN" 1005)" "$expected" "List1"
    # The restart dialog writes its own section only.
    open_dialog 2
    drv click "$FORM3" "$(C 2)"
    drv settext "$FORM3" "$(T 2)" 12
    drv click "$FORM3" $OK
    drv gone "$FORM3" 5000 || fail "OK did not close"
    expect_eq "$(drv lines "$MAIN" 1005 | wc -l)" 5 "List1 untouched"
    expect_eq "$(drv lines "$MAIN" 1008)" "12:00${b20:5}  (每天定时重启)" "List2"
    ini_read | grep -q '^每天定时关机=09:05' || fail "shutdown section changed"
    # Unticking removes the value and the line.
    open_dialog 1
    drv click "$FORM2" "$(C 2)"
    drv click "$FORM2" $OK
    drv gone "$FORM2" 5000 || fail "OK did not close"
    ini_read | grep -q $'^每天定时关机=\r$' || fail "daily key not emptied"
    expect_eq "$(drv lines "$MAIN" 1005 | grep -c 每天)" 0 "daily line"
}

test_read_only_settings_file_is_reported_and_kept() {
    example_file
    chmod 444 "$APP_DIR/timer.ini"
    chmod 555 "$APP_DIR"
    local before
    before=$(md5sum <"$APP_DIR/timer.ini")
    app_start
    main_wait
    open_dialog 1
    drv click "$FORM2" "$(C 2)"
    drv click "$FORM2" $OK
    local box
    box=$(drv msgbox "$FORM2" 5000) || { chmod 755 "$APP_DIR"; fail "no message"; }
    expect_contains "$box" "无法保存设置" "message"
    expect_contains "$box" 'C:\TS\timer.ini' "path in message"
    drv answer "$FORM2" 1
    sleep 0.5
    drv visible "$FORM2" 2000 || fail "dialog closed after a failed save"
    expect_eq "$(drv checked "$FORM2" "$(C 2)")" 1 "user's input kept"
    expect_eq "$(drv lines "$MAIN" 1005 | wc -l)" 2 "list unchanged"
    chmod 755 "$APP_DIR"
    expect_eq "$(md5sum <"$APP_DIR/timer.ini")" "$before" "file changed"
}

test_daily_shutdown_set_in_the_dialog_fires() {
    minute_safe 15
    app_start_relay
    main_wait
    open_dialog 1
    drv click "$FORM2" "$(C 2)"
    drv settext "$FORM2" "$(T 2)" "$(date +%-H)"
    drv settext "$FORM2" "$(T 3)" "$(date +%-M)"
    drv click "$FORM2" $OK
    wait_exit 15 || fail "the saved schedule did not fire"
    expect_eq "$(relay_calls user32.ExitWindowsEx)" "Call user32.ExitWindowsEx(00000008,00000000)" "ExitWindowsEx calls"
}
