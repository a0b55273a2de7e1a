# The main window from the keyboard alone: real key input, as a user without a mouse gives it.
FORM2="定时关机 - 设置"
FORM3="定时重启 - 设置"
RUN_NAME="松汐定时关机"

# wait_focus WIN ID: the control with the keyboard focus becomes ID within five seconds.
wait_focus() {
    local i got=
    for i in $(seq 1 50); do
        got=$(drv focused "$1" | cut -f1)
        [ "$got" = "$2" ] && return 0
        sleep 0.1
    done
    fail "focus in $1: expected $2, got [$got]"
}
# press WIN KEY EXPECTED_FOCUS
press() {
    drv input "$1" "$2" || fail "key $2 not sent"
    wait_focus "$1" "$3"
}

test_main_window_tab_order_space_and_enter() {
    app_start
    main_wait
    drv foreground "$MAIN" || fail "main window not in front"
    # Activated, the window gives its first control the focus, as a dialog box does.
    wait_focus "$MAIN" 1004
    local id
    # Top to bottom: 设置…, the shutdown list, the second 设置…, the restart list, 开机自动运行; round again.
    for id in 1005 1007 1008 1009 1004; do press "$MAIN" TAB "$id"; done
    for id in 1009 1008 1007 1005 1004; do press "$MAIN" SHIFT+TAB "$id"; done
    press "$MAIN" SHIFT+TAB 1009
    screenshot focus

    # Space ticks the logon box through its click handling: the Run entry follows the box.
    drv input "$MAIN" SPACE || fail "Space not sent"
    local i
    for i in $(seq 1 50); do [ "$(drv checked "$MAIN" 1009)" = 1 ] && break; sleep 0.1; done
    expect_eq "$(drv checked "$MAIN" 1009)" 1 "box after Space"
    expect_eq "$(drv runvalue "$RUN_NAME")" $'REG_SZ\t"C:\\TS\\TimedShutdown.exe" /s' "entry after Space"
    drv input "$MAIN" SPACE || fail "Space not sent"
    for i in $(seq 1 50); do [ "$(drv checked "$MAIN" 1009)" = 0 ] && break; sleep 0.1; done
    expect_eq "$(drv checked "$MAIN" 1009)" 0 "box after a second Space"
    expect_eq "$(drv runvalue "$RUN_NAME")" absent "entry after a second Space"

    # Enter on a list or the check box presses nothing.
    press "$MAIN" SHIFT+TAB 1008
    drv input "$MAIN" RETURN || fail "Enter not sent"
    sleep 0.5
    drv gone "$FORM3" 1 || fail "Enter on the list opened a dialog"
    # Enter on a focused 设置… opens its dialog; Esc closes it and the focus is back on that button.
    press "$MAIN" SHIFT+TAB 1007
    drv input "$MAIN" RETURN || fail "Enter not sent"
    drv wait "$FORM3" 10000 >/dev/null || fail "Enter on the restart 设置… did not open its dialog"
    drv visible "$FORM3" 5000 || fail "restart dialog not shown"
    drv input "$FORM3" ESCAPE || fail "Esc not sent"
    drv gone "$FORM3" 5000 || fail "Esc did not close the restart dialog"
    drv foreground "$MAIN" || fail "main window not in front"
    wait_focus "$MAIN" 1007
    press "$MAIN" SHIFT+TAB 1005
    press "$MAIN" SHIFT+TAB 1004
    drv input "$MAIN" RETURN || fail "Enter not sent"
    drv wait "$FORM2" 10000 >/dev/null || fail "Enter on the shutdown 设置… did not open its dialog"
    expect_eq "$(drv windows | awk -F'\t' -v c="$FORM3" '$5 == c' | wc -l)" 0 "restart dialog"
}
