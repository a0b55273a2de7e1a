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
定时关机日期=2099-05-01
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
    expect_eq "$got" "2099 5 1 23 5" "one-off fields"
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
    drv settext "$FORM2" $COMBO "周五"; drv settext "$FORM2" "$(T 4)" 18; drv settext "$FORM2" "$(T 5)" 30
    drv settext "$FORM2" "$(T 6)" 45; drv settext "$FORM2" "$(T 7)" 8; drv settext "$FORM2" "$(T 8)" 0
    drv settext "$FORM2" "$(T 9)" -5
    drv key "$FORM2" "$(T 9)" RETURN
    drv gone "$FORM2" 5000 || fail "Enter did not save and close"
    local feb=28
    if (( (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 )); then feb=29; fi
    local expected
    expected=$(printf '%s\r\n' "[关机]" "定时关机日期=$year-02-$feb" "定时关机时间=23:59" "每天定时关机=09:05" \
        "每周定时关机周几=周五" "每周定时关机时间=18:30" "每月定时关机日期=31" "每月定时关机时间=08:00" "每次开机X分钟关机=0")
    expect_eq "$(ini_read)" "$expected" "timer.ini"
    iconv -f CP936 -t CP936 "$APP_DIR/timer.ini" >/dev/null || fail "not code page 936"
    local b20="                    "
    expected=$(printf '%s\n' "$year-02-$feb 23:59${b20:16}  (定时关机)" "09:05${b20:5}  (每天定时关机)" \
        "周五 18:30${b20:8}(每周定时关机)" "31号 08:00${b20:9} (每月定时关机)" "0${b20:1}  (每次开机0分钟关机)")
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
    answer "$FORM2" 1
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

# Further scenarios: both dialogs at once, colours, exact file bytes, every correction, the message of a
# failed save and a retry, closing without saving, and the keyboard. They find a dialog by its handle,
# as its failure message shares its caption.
DIALOG_CLASS="TimedShutdown.SettingsDialog"
THIS_YEAR=$(date +%Y)

# open_dialog_handle BUTTON: clicks 设置… (1004 shutdown, 1007 restart); prints the dialog's handle.
open_dialog_handle() {
    local caption=$FORM2
    [ "$1" = 1007 ] && caption=$FORM3
    drv click "$MAIN" "$1"
    local handle
    handle=$(drv wait "$caption" 10000) || fail "dialog $caption did not open"
    drv visible "$handle" 5000 || fail "dialog $caption not visible"
    echo "$handle"
}

dialog_count() { drv windows | awk -F'\t' -v c="$DIALOG_CLASS" '$2 == c' | wc -l; }

# fields DLG ID...: "ID=TEXT" for each id, in the order given, from one look at the dialog.
fields() {
    local dlg=$1
    shift
    local all
    all=$(drv controls "$dlg")
    local id
    for id in "$@"; do
        printf '%s=%s\n' "$id" "$(awk -F'\t' -v id="$id" '$1 == id {print $4; exit}' <<<"$all")"
    done
}
# enabled_flags DLG ID...: "ID=0|1" for each id.
enabled_flags() {
    local dlg=$1
    shift
    local all
    all=$(drv controls "$dlg")
    local id
    for id in "$@"; do
        printf '%s=%s\n' "$id" "$(awk -F'\t' -v id="$id" '$1 == id {sub(/.*enabled=/, "", $3); print $3; exit}' <<<"$all")"
    done
}
checks() {
    local dlg=$1 n out=
    for n in 1 2 3 4 5; do out+=$(drv checked "$dlg" $((2100 + n))); done
    echo "$out"
}
# set_checks DLG BITS: five 0/1 digits for Check1..Check5.
set_checks() {
    local dlg=$1 bits=$2 n
    for n in 1 2 3 4 5; do drv check "$dlg" $((2100 + n)) "${bits:n-1:1}" || fail "Check$n"; done
}
ok_and_wait() {
    drv click "$1" "$OK"
    drv gone "$1" 10000 || fail "OK did not close the dialog"
}

# line LEAD SUFFIX: a list line, the lead filled with blanks to 20 characters.
line() {
    local lead=$1
    while [ "${#lead}" -lt 20 ]; do lead+=" "; done
    printf '%s%s\n' "$lead" "$2"
}
# ini_value KEY: the value of KEY in the settings file (keys are unique across the two sections).
ini_value() { ini_read | tr -d '\r' | sed -n "s/^$1=//p"; }
file_hex() { od -An -tx1 "$APP_DIR/timer.ini"; }

DESIGN_IDS=(2012 2013 2014 2010 2011 2002 2003 "$COMBO" 2004 2005 2006 2007 2008 2009)
ROW_IDS=(2010 2011 2012 2013 2014 2002 2003 "$COMBO" 2004 2005 2006 2007 2008 2009)

test_dialog_both_open_with_design_values_captions_and_size() {
    app_start
    main_wait
    local button caption verb
    for button in 1004 1007; do
        verb=关机
        [ "$button" = 1007 ] && verb=重启
        local dlg
        dlg=$(open_dialog_handle "$button")
        expect_eq "$(fields "$dlg" "${DESIGN_IDS[@]}")" "$(printf '%s\n' "2012=$THIS_YEAR" "2013=$(date +%-m)" \
            "2014=$(date +%-d)" 2010=23 2011=0 2002=23 2003=0 "$COMBO=周日" 2004=23 2005=0 2006=1 2007=23 2008=0 2009=480)" \
            "design values ($verb)"
        expect_eq "$(checks "$dlg")" 00000 "check boxes ($verb)"
        expect_eq "$(enabled_flags "$dlg" "${ROW_IDS[@]}" | grep -c '=0$')" "${#ROW_IDS[@]}" "disabled rows ($verb)"
        expect_eq "$(fields "$dlg" 2101 2102 2103 2104 2105 "$OK" "$CANCEL")" "$(printf '%s\n' "2101=设定${verb}时间" \
            "2102=每天定时$verb" "2103=每周定时$verb" "2104=每月定时$verb" "2105=每次开机运行多久自动$verb" \
            "$OK=确定" "$CANCEL=取消")" "captions ($verb)"
        expect_eq "$(drv items "$dlg" "$COMBO" | tr '\n' ' ')" "周日 周一 周二 周三 周四 周五 周六 " "weekday list"
        expect_eq "$(drv client "$dlg")" "312 527" "client area (4680 x 7905 twips at 96 DPI)"
        # Centred on the screen, whatever the taskbar takes from it.
        local l t r b
        read -r l t r b < <(drv rect "$dlg")
        [ $(((l + r) / 2 - 512)) -ge -2 ] && [ $(((l + r) / 2 - 512)) -le 2 ] || fail "not centred: $l $r"
        [ $(((t + b) / 2)) -ge 340 ] && [ $(((t + b) / 2)) -le 400 ] || fail "not centred: $t $b"
    done
    # Both open at once; the main window stays usable and opening wrote nothing.
    expect_eq "$(dialog_count)" 2 "open dialogs"
    [ ! -e "$APP_DIR/timer.ini" ] || fail "opening created the settings file"
}

test_dialog_rows_colours_and_hand_made_entries() {
    example_file
    app_start
    main_wait
    local dlg
    dlg=$(open_dialog_handle 1004)
    expect_eq "$(checks "$dlg")" 10100 "shutdown check boxes"
    expect_eq "$(fields "$dlg" "${DESIGN_IDS[@]}")" "$(printf '%s\n' 2012=2099 2013=5 2014=1 2010=23 2011=5 2002=23 \
        2003=0 "$COMBO=周五" 2004=18 2005=30 2006=1 2007=23 2008=0 2009=480)" "shutdown fields"
    expect_eq "$(enabled_flags "$dlg" "${ROW_IDS[@]}" | tr '\n' ' ')" "2010=1 2011=1 2012=1 2013=1 2014=1 2002=0 2003=0 \
$COMBO=1 2004=1 2005=1 2006=0 2007=0 2008=0 2009=0 " "enabled rows"
    # Enabled rows have the window colour, disabled ones the button face.
    expect_eq "$(drv pixel "$dlg" 2010)" "$(drv syscolor 5)" "enabled field colour"
    expect_eq "$(drv pixel "$dlg" 2002)" "$(drv syscolor 15)" "disabled field colour"
    drv close "$dlg"
    dlg=$(open_dialog_handle 1007)
    expect_eq "$(checks "$dlg")" 01000 "restart check boxes"
    expect_eq "$(fields "$dlg" 2012 2013 2014 2002 2003 "$COMBO")" "$(printf '%s\n' "2012=$THIS_YEAR" "2013=$(date +%-m)" \
        "2014=$(date +%-d)" 2002=12 2003=0 "$COMBO=周日")" "restart fields"
    drv close "$dlg"
    drv gone "$dlg" 5000 || fail "close box did not close"

    # Hand-made entries: only what can fire opens ticked, as start-up read it. A weekday that is not one of
    # the seven, a date without its time and a month day start-up cannot read open off; a day of 15.5
    # shows the 16 start-up rounded to, minutes 0480 show 480.
    printf '%s\n' '[关机]' '定时关机日期=2030-12-31' '每周定时关机周几=星期五' '每周定时关机时间=07:05' \
        '每月定时关机日期=15.5' '每月定时关机时间=9:05' '每次开机X分钟关机=0480' '[重启]' '每月定时重启日期=&H10' \
        '每月定时重启时间=08:00' | ini_write
    dlg=$(open_dialog_handle 1004)
    expect_eq "$(checks "$dlg")" 00011 "hand-made check boxes"
    expect_eq "$(fields "$dlg" "${DESIGN_IDS[@]}")" "$(printf '%s\n' "2012=$THIS_YEAR" "2013=$(date +%-m)" \
        "2014=$(date +%-d)" 2010=23 2011=0 2002=23 2003=0 "$COMBO=周日" 2004=23 2005=0 2006=16 2007=9 2008=5 \
        2009=480)" "hand-made fields"
    drv close "$dlg"
    dlg=$(open_dialog_handle 1007)
    expect_eq "$(checks "$dlg")" 00000 "hand-made restart check boxes"
    expect_eq "$(fields "$dlg" 2006 2007 2008)" "$(printf '%s\n' 2006=1 2007=23 2008=0)" "unreadable month day"
}

test_dialog_check_boxes_switch_their_rows() {
    app_start
    main_wait
    local dlg
    dlg=$(open_dialog_handle 1004)
    drv fill "$dlg" 2009=100 || fail "fill"
    drv check "$dlg" 2105 1
    expect_eq "$(enabled_flags "$dlg" 2009 2002)" "$(printf '%s\n' 2009=1 2002=0)" "Check5 on"
    expect_eq "$(drv pixel "$dlg" 2009)" "$(drv syscolor 5)" "Check5 on: colour"
    drv check "$dlg" 2105 0
    expect_eq "$(enabled_flags "$dlg" 2009)" 2009=0 "Check5 off"
    expect_eq "$(drv pixel "$dlg" 2009)" "$(drv syscolor 15)" "Check5 off: colour"
    drv check "$dlg" 2105 1
    # Switching a row off and on keeps its texts.
    expect_eq "$(fields "$dlg" 2009)" 2009=100 "Text9 after off and on"
    drv check "$dlg" 2103 1
    expect_eq "$(enabled_flags "$dlg" "$COMBO" 2004 2005 2006 | tr '\n' ' ')" "$COMBO=1 2004=1 2005=1 2006=0 " "Check3 row"
}

test_dialog_number_rule_more_cases() {
    app_start
    main_wait
    local dlg
    dlg=$(open_dialog_handle 1004)
    set_checks "$dlg" 11001
    # field, what the user does, its text, what the field then shows (more cases are above)
    local cases=(
        "2010 delete - 0"    # the Delete key on the whole text
        "2013 paste _12 1"
        "2009 paste .5 0.5"
        "2003 paste - 0"
        "2009 paste 12345678 12345678"
    )
    local c field how text want
    for c in "${cases[@]}"; do
        read -r field how text want <<<"$c"
        text=${text//_/ }
        drv select "$dlg" "$field" 0 -1
        case $how in
        delete) drv key "$dlg" "$field" 46 ;;
        paste) drv paste "$dlg" "$field" "$text" ;;
        esac
        sleep 0.2
        expect_eq "$(drv text "$dlg" "$field")" "$want" "$how [$text] into $field"
    done
    # The caret stays after the last character kept.
    drv fill "$dlg" 2009=480
    drv select "$dlg" 2009 1 1
    drv type "$dlg" 2009 x
    expect_eq "$(drv text "$dlg" 2009)" 4 "x typed inside 480"
    expect_eq "$(drv caret "$dlg" 2009)" "1 1" "caret after 4"
    # The program's own texts pass the rule but not the typing limit.
    drv settext "$dlg" 2013 12345
    expect_eq "$(drv text "$dlg" 2013)" 12345 "program text longer than the limit"
    drv settext "$dlg" 2014 007x
    expect_eq "$(drv text "$dlg" 2014)" 7 "program text through the rule"
    # The weekday box takes its text as typed.
    drv check "$dlg" 2103 1
    drv fill "$dlg" "$COMBO="
    drv type "$dlg" "$COMBO" "星期五 早上 05"
    expect_eq "$(drv text "$dlg" "$COMBO")" "星期五 早上 05" "weekday box"
}

test_dialog_saving_every_schedule_writes_the_section_and_the_list() {
    app_start
    main_wait
    local dlg
    dlg=$(open_dialog_handle 1004)
    set_checks "$dlg" 11111
    drv fill "$dlg" 2012=2099 2013=5 2014=1 2010=9 2011=5 2002=7 2003=30 "$COMBO=周五" 2004=18 2005=30 2006=15 \
        2007=8 2008=0 2009=0 || fail "fill"
    # A minutes-after-start value of 0 is saved and listed but never fires: the program must outlive
    # these saves, and any other value may already have passed on a machine that has been up long.
    ok_and_wait "$dlg"
    expect_eq "$(file_hex)" "$(printf '%s\r\n' '[关机]' '定时关机日期=2099-05-01' '定时关机时间=09:05' '每天定时关机=07:30' \
        '每周定时关机周几=周五' '每周定时关机时间=18:30' '每月定时关机日期=15' '每月定时关机时间=08:00' \
        '每次开机X分钟关机=0' | iconv -f UTF-8 -t CP936 | od -An -tx1)" "timer.ini bytes"
    expect_eq "$(drv lines "$MAIN" 1005)" "$(line '2099-05-01 09:05' '  (定时关机)'; line 07:30 '  (每天定时关机)'
        line '周五 18:30' '(每周定时关机)'; line '15号 08:00' ' (每月定时关机)'; line 0 '  (每次开机0分钟关机)')" "List1"
    expect_eq "$(drv lines "$MAIN" 1008)" "" "List2"

    # The restart dialog adds its section after it and leaves the shutdown one and List1 alone.
    dlg=$(open_dialog_handle 1007)
    set_checks "$dlg" 01001
    drv fill "$dlg" 2002=12 2003=0 2009=0
    ok_and_wait "$dlg"
    expect_eq "$(ini_read)" "$(printf '%s\r\n' '[关机]' '定时关机日期=2099-05-01' '定时关机时间=09:05' '每天定时关机=07:30' \
        '每周定时关机周几=周五' '每周定时关机时间=18:30' '每月定时关机日期=15' '每月定时关机时间=08:00' \
        '每次开机X分钟关机=0' '[重启]' '定时重启日期=' '定时重启时间=' '每天定时重启=12:00' '每周定时重启周几=' \
        '每周定时重启时间=' '每月定时重启日期=' '每月定时重启时间=' '每次开机X分钟重启=0')" "timer.ini after restart"
    expect_eq "$(drv lines "$MAIN" 1005 | wc -l)" 5 "List1 untouched"
    expect_eq "$(drv lines "$MAIN" 1008)" "$(line 12:00 '  (每天定时重启)'; line 0 '  (每次开机0分钟重启)')" "List2"
    # The next opening shows what was saved and is in force: 0 minutes after start never fire.
    dlg=$(open_dialog_handle 1004)
    expect_eq "$(checks "$dlg")" 11110 "reopened check boxes"
    expect_eq "$(fields "$dlg" "${DESIGN_IDS[@]}")" "$(printf '%s\n' 2012=2099 2013=5 2014=1 2010=9 2011=5 2002=7 \
        2003=30 "$COMBO=周五" 2004=18 2005=30 2006=15 2007=8 2008=0 2009=480)" "reopened fields"
}

test_dialog_saving_corrects_out_of_range_values() {
    app_start
    main_wait
    local dlg
    # Everything out of range at once: year, the month's length, hours, minutes, day of month, minutes.
    dlg=$(open_dialog_handle 1004)
    set_checks "$dlg" 11111
    drv fill "$dlg" 2012=2009 2013=4 2014=31 2010=24 2011=75 2002=9 2003=5 "$COMBO=周五" 2004=-5 2005=75 2006=0 \
        2007=24 2008=-1 2009=-5 || fail "fill"
    ok_and_wait "$dlg"
    expect_eq "$(ini_read | tr -d '\r' | tr '\n' ' ')" "[关机] 定时关机日期=$THIS_YEAR-04-30 定时关机时间=23:59 \
每天定时关机=09:05 每周定时关机周几=周五 每周定时关机时间=00:59 每月定时关机日期=1 每月定时关机时间=23:00 \
每次开机X分钟关机=0 " "first save"
    expect_eq "$(drv lines "$MAIN" 1005)" "$(line "$THIS_YEAR-04-30 23:59" '  (定时关机)'; line 09:05 '  (每天定时关机)'
        line '周五 00:59' '(每周定时关机)'; line '1号 23:00' ' (每月定时关机)'
        line 0 '  (每次开机0分钟关机)')" "List1 after the first save"

    dlg=$(open_dialog_handle 1004)
    set_checks "$dlg" 11111
    drv fill "$dlg" 2012=2150 2013=2 2014=31 2010=0 2011=0 2002=23 2003=58 2006=45 2009=0
    ok_and_wait "$dlg"
    expect_eq "$(ini_value 定时关机日期) $(ini_value 定时关机时间) $(ini_value 每天定时关机) $(ini_value 每月定时关机日期)" \
        "2100-02-28 00:00 23:58 31" "second save"

    # Dates alone: year, month, day -> saved date.
    local leap=$((THIS_YEAR + 1))
    while [ $((leap % 4)) -ne 0 ]; do leap=$((leap + 1)); done
    local cases=(
        "$leap 2 31 $leap-02-29"
        "$((leap - 1)) 2 30 $((leap - 1))-02-28"
        "$((leap - 1)) 2 29 $((leap - 1))-02-28"
        "$THIS_YEAR 13 40 $THIS_YEAR-12-31"
        "$THIS_YEAR 0 0 $THIS_YEAR-01-01"
        "$THIS_YEAR 1 1 $THIS_YEAR-01-01"
        "2100 2 29 2100-02-28"
    )
    local c y m d want
    for c in "${cases[@]}"; do
        read -r y m d want <<<"$c"
        dlg=$(open_dialog_handle 1004)
        set_checks "$dlg" 10000
        drv fill "$dlg" 2012="$y" 2013="$m" 2014="$d"
        ok_and_wait "$dlg"
        expect_eq "$(ini_value 定时关机日期)" "$want" "date $y-$m-$d"
    done
    expect_eq "$(ini_value 每天定时关机)|$(ini_value 每周定时关机周几)" "|" "unticked schedules written empty"

    # Last, as the saved schedule may fire at once: minutes above the range save 20000.
    dlg=$(open_dialog_handle 1004)
    set_checks "$dlg" 00001
    drv fill "$dlg" 2009=30000
    drv click "$dlg" "$OK"
    local i
    for i in $(seq 1 50); do [ "$(ini_value 每次开机X分钟关机)" = 20000 ] && break; sleep 0.2; done
    expect_eq "$(ini_value 每次开机X分钟关机)" 20000 "minutes above the range"
}

test_dialog_unticking_removes_values_and_lines() {
    example_file
    app_start
    main_wait
    expect_eq "$(drv lines "$MAIN" 1005 | wc -l)" 2 "List1 at start"
    local dlg
    dlg=$(open_dialog_handle 1004)
    drv check "$dlg" 2103 0
    ok_and_wait "$dlg"
    expect_eq "$(ini_value 每周定时关机周几)|$(ini_value 每周定时关机时间)" "|" "weekly keys"
    expect_eq "$(ini_read | tr -d '\r' | grep -c '^每周定时关机')" 2 "weekly keys kept, empty"
    expect_eq "$(drv lines "$MAIN" 1005)" "$(line "2099-05-01 23:05" '  (定时关机)')" "List1"
    expect_eq "$(drv lines "$MAIN" 1008)" "$(line 12:00 '  (每天定时重启)')" "List2 untouched"
    # Nothing ticked: eight empty keys, an empty list.
    dlg=$(open_dialog_handle 1004)
    set_checks "$dlg" 00000
    ok_and_wait "$dlg"
    expect_eq "$(ini_read | tr -d '\r' | sed -n '/^\[关机\]/,/^\[重启\]/p' | grep -c '=$')" 8 "empty shutdown keys"
    expect_eq "$(drv lines "$MAIN" 1005)" "" "List1 empty"
}

test_dialog_read_only_file_message_and_retry() {
    example_file
    chmod 444 "$APP_DIR/timer.ini"
    app_start
    main_wait
    local before lines_before
    before=$(file_hex)
    lines_before=$(drv lines "$MAIN" 1005)
    local dlg
    dlg=$(open_dialog_handle 1004)
    drv check "$dlg" 2102 1
    drv fill "$dlg" 2012=2009 2002=6
    drv click "$dlg" "$OK"
    local box
    box=$(drv msgbox "$FORM2" 10000) || fail "no message"
    expect_contains "$box" $'text\t无法保存设置。\\n\\n文件：C:\\TS\\timer.ini\\n原因：' "message"
    [[ "$box" =~ 原因：[^[:space:]] ]] || fail "no reason in [$box]"
    expect_contains "$box" $'button\t1\t' "OK button"
    answer "$FORM2" 1
    drv gone "class:#32770" 5000 || fail "message stayed"
    # The dialog stays with the user's input (its ranges applied), and nothing else changed.
    expect_eq "$(dialog_count)" 1 "dialog after the failure"
    expect_eq "$(checks "$dlg")" 11100 "check boxes kept"
    expect_eq "$(fields "$dlg" 2012 2002)" "$(printf '%s\n' "2012=$THIS_YEAR" 2002=6)" "fields kept"
    expect_eq "$(file_hex)" "$before" "timer.ini"
    expect_eq "$(drv lines "$MAIN" 1005)" "$lines_before" "List1"
    [ -z "$(find "$APP_DIR" -name '*.tmp')" ] || fail "temporary file left behind"
    # Once the file is writable again, the same dialog saves.
    chmod 644 "$APP_DIR/timer.ini"
    ok_and_wait "$dlg"
    expect_eq "$(ini_value 每天定时关机)" 06:00 "saved after the fix"
}

test_dialog_one_dialog_per_button_and_it_survives_minimize() {
    app_start
    main_wait
    local dlg
    dlg=$(open_dialog_handle 1004)
    drv check "$dlg" 2105 1
    drv fill "$dlg" 2009=100
    drv press "$MAIN" 1004 || fail "click not handled"
    drv press "$MAIN" 1004 || fail "click not handled"
    expect_eq "$(dialog_count)" 1 "dialogs after clicking twice more"
    # Brought to the front with the unsaved edits, not filled again.
    expect_eq "$(fields "$dlg" 2009)" 2009=100 "edit kept"
    drv state "$dlg" | grep -q 'foreground=1' || fail "dialog not in front: $(drv state "$dlg")"
    # The dialog stays when the main window hides behind its icon.
    drv minimize "$MAIN"
    drv hidden "$MAIN" 5000 || fail "main window not hidden"
    drv visible "$dlg" 2000 || fail "dialog hidden with the main window"
    drv restore "$MAIN"
    # Closing the program closes the open dialogs with it.
    open_dialog_handle 1007 >/dev/null
    app_quit
}

test_dialog_cancel_escape_and_close_box_write_nothing() {
    example_file
    app_start
    main_wait
    local before
    before=$(file_hex)
    local dlg how
    for how in cancel escape closebox; do
        dlg=$(open_dialog_handle 1004)
        set_checks "$dlg" 01011
        drv fill "$dlg" 2002=7 2009=5
        case $how in
        cancel) drv click "$dlg" "$CANCEL" ;;
        escape) drv key "$dlg" 2009 ESCAPE ;;
        closebox) drv close "$dlg" ;;
        esac
        drv gone "$dlg" 5000 || fail "$how did not close the dialog"
        expect_eq "$(file_hex)" "$before" "timer.ini after $how"
        expect_eq "$(drv lines "$MAIN" 1005 | wc -l)" 2 "List1 after $how"
    done
    # The next opening starts from the file again, and draws each row in its own state: the rows switched
    # on before cancelling are off again, in the button-face colour.
    dlg=$(open_dialog_handle 1004)
    expect_eq "$(checks "$dlg")" 10100 "check boxes after cancelling"
    expect_eq "$(fields "$dlg" 2009)" 2009=480 "Text9 after cancelling"
    local on off id colours=
    on=$(drv syscolor 5)
    off=$(drv syscolor 15)
    for id in 2010 2002 2004 2006 2009; do colours+="$(drv pixel "$dlg" "$id") "; done
    expect_eq "$colours" "$on $off $on $off $off " "row colours after reopening (Check1..Check5)"
}

test_dialog_keyboard_tab_order_enter_and_escape() {
    app_start
    main_wait
    local dlg
    dlg=$(open_dialog_handle 1004)
    expect_eq "$(drv focused "$dlg" | cut -f1)" 2101 "first focus"
    # Disabled rows are skipped.
    local order=() id=2101 i
    for i in 1 2 3 4 5 6 7; do
        drv key "$dlg" "$id" TAB
        sleep 0.2
        id=$(drv focused "$dlg" | cut -f1)
        order+=("$id")
    done
    expect_eq "${order[*]}" "2102 2103 2104 2105 $OK $CANCEL 2101" "Tab order, rows off"
    set_checks "$dlg" 11111
    drv focus "$dlg" 2101
    order=()
    id=2101
    for i in $(seq 1 21); do
        drv key "$dlg" "$id" TAB
        sleep 0.2
        id=$(drv focused "$dlg" | cut -f1)
        order+=("$id")
    done
    expect_eq "${order[*]}" "2012 2013 2014 2010 2011 2102 2002 2003 2103 $COMBO 2004 2005 2104 2006 2007 2008 2105 \
2009 $OK $CANCEL 2101" "Tab order, rows on"
    # Enter on the Cancel button cancels.
    drv focus "$dlg" "$CANCEL"
    drv key "$dlg" "$CANCEL" RETURN
    drv gone "$dlg" 5000 || fail "Enter on Cancel did not close"
    [ ! -e "$APP_DIR/timer.ini" ] || fail "Enter on Cancel saved"
    # Enter in a field is OK.
    dlg=$(open_dialog_handle 1004)
    drv check "$dlg" 2102 1
    drv fill "$dlg" 2002=6 2003=45
    drv focus "$dlg" 2003
    drv key "$dlg" 2003 RETURN
    drv gone "$dlg" 5000 || fail "Enter did not save"
    expect_eq "$(ini_value 每天定时关机)" 06:45 "saved by Enter"
    expect_eq "$(drv lines "$MAIN" 1005)" "$(line 06:45 '  (每天定时关机)')" "List1 after Enter"
}

# Values a hand edit leaves that the tick never matches: opening the dialog and pressing OK without an edit
# must not switch them on. What can fire shows as start-up took it, and stays as it is.
test_dialog_ok_without_an_edit_changes_nothing_that_fires() {
    local later
    later=$(date -d '+3 hours' +%H:%M)
    printf '%s\n' '[关机]' '定时关机日期=2027-02-30' '定时关机时间=23:30' '每天定时关机=24:00' '每周定时关机周几=星期五' \
        "每周定时关机时间=$later" '每月定时关机日期=&H10' "每月定时关机时间=$later" '每次开机X分钟关机=0' '[重启]' \
        '定时重启日期=2024-05-01' '定时重启时间=22:00' '每天定时重启=7：30' '每月定时重启日期=1.5' \
        "每月定时重启时间=$later" | ini_write
    app_start
    main_wait
    # Start-up lists what the file holds, though none of the shutdown lines ever fires.
    expect_eq "$(drv lines "$MAIN" 1005 | wc -l)" 4 "List1 at start"
    local dlg
    dlg=$(open_dialog_handle 1004)
    expect_eq "$(checks "$dlg")" 00000 "shutdown check boxes"
    expect_eq "$(fields "$dlg" "${DESIGN_IDS[@]}")" "$(printf '%s\n' "2012=$THIS_YEAR" "2013=$(date +%-m)" \
        "2014=$(date +%-d)" 2010=23 2011=0 2002=23 2003=0 "$COMBO=周日" 2004=23 2005=0 2006=1 2007=23 2008=0 2009=480)" \
        "shutdown fields"
    ok_and_wait "$dlg"
    expect_eq "$(ini_read | tr -d '\r' | sed -n '/^\[关机\]/,/^\[重启\]/p' | grep -c '=$')" 8 "empty shutdown keys"
    expect_eq "$(drv lines "$MAIN" 1005)" "" "List1"

    # The restart section: a one-off in a past year (which the year's range would have brought into this
    # one), a full-width colon, and a day of 1.5 that start-up reads as the 2nd.
    dlg=$(open_dialog_handle 1007)
    expect_eq "$(checks "$dlg")" 00010 "restart check boxes"
    expect_eq "$(fields "$dlg" 2012 2002 2003 2006 2007 2008)" "$(printf '%s\n' "2012=$THIS_YEAR" 2002=23 2003=0 2006=2 \
        "2007=$((10#${later%:*}))" "2008=$((10#${later#*:}))")" "restart fields"
    ok_and_wait "$dlg"
    local key values=
    for key in 定时重启日期 定时重启时间 每天定时重启 每周定时重启周几 每周定时重启时间 每月定时重启日期 每月定时重启时间 \
        每次开机X分钟重启; do values+="$key=$(ini_value "$key") "; done
    expect_eq "$values" "定时重启日期= 定时重启时间= 每天定时重启= 每周定时重启周几= 每周定时重启时间= 每月定时重启日期=2 \
每月定时重启时间=$later 每次开机X分钟重启= " "restart section"
    expect_eq "$(drv lines "$MAIN" 1008)" "$(line "2号 $later" ' (每月定时重启)')" "List2"
    # Reopened, the dialog shows the same again.
    dlg=$(open_dialog_handle 1007)
    expect_eq "$(checks "$dlg")" 00010 "restart check boxes, reopened"
    expect_eq "$(fields "$dlg" 2006)" 2006=2 "day, reopened"
    app_running || fail "the program ended"
}

test_dialog_weekday_start_up_would_not_recognise_is_refused() {
    app_start
    main_wait
    local dlg
    dlg=$(open_dialog_handle 1004)
    set_checks "$dlg" 00100
    drv fill "$dlg" "$COMBO=星期五" 2004=18 2005=30 2012=2009 || fail "fill"
    drv click "$dlg" "$OK"
    local box
    box=$(drv msgbox "$FORM2" 10000) || fail "no message"
    expect_contains "$box" $'text\t请选择星期几。' "message"
    expect_contains "$box" $'button\t1\t' "OK button"
    answer "$FORM2" 1
    drv gone "class:#32770" 5000 || fail "message stayed"
    # The dialog stays as the user left it, with the weekday box to correct; nothing is written or listed.
    expect_eq "$(dialog_count)" 1 "dialog after the message"
    expect_eq "$(fields "$dlg" "$COMBO" 2012)" "$(printf '%s\n' "$COMBO=星期五" 2012=2009)" "fields kept as typed"
    local i
    for i in $(seq 1 50); do [ "$(drv focused "$dlg" | cut -f1)" = "$COMBO" ] && break; sleep 0.1; done
    expect_eq "$(drv focused "$dlg" | cut -f1)" "$COMBO" "focus after the message"
    [ ! -e "$APP_DIR/timer.ini" ] || fail "the settings file was written"
    expect_eq "$(drv lines "$MAIN" 1005)" "" "List1"
    # Start-up reads a weekday by its first two characters: such a text is saved as typed.
    drv fill "$dlg" "$COMBO=周三上午"
    ok_and_wait "$dlg"
    expect_eq "$(ini_value 每周定时关机周几)|$(ini_value 每周定时关机时间)" "周三上午|18:30" "weekly keys"
    dlg=$(open_dialog_handle 1004)
    expect_eq "$(checks "$dlg")" 00100 "reopened check boxes"
    expect_eq "$(fields "$dlg" "$COMBO")" "$COMBO=周三上午" "reopened weekday"
}
