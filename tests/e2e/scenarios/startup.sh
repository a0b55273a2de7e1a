# Start-up, single instance, minimize and the close question.

test_shows_main_window_with_its_controls() {
    app_start
    main_wait
    drv visible "$MAIN" 5000 || fail "window not visible"
    local caption
    caption=$(drv windows | awk -F'\t' '$2 == "TimedShutdown.Form1" {print $5}')
    expect_contains "$caption" "鹭岩定时关机 1.0  " "caption"
    local controls
    # The two clock labels (1001, 1002) fill at the first tick; the scheduler scenarios read them.
    controls=$(drv controls "$MAIN" | cut -f1,2,4 | sed -E 's/^(100[12]\tStatic\t).*/\1/' | sort)
    expect_eq "$controls" "$(printf '%s\n' \
        $'1001\tStatic\t' $'1002\tStatic\t' $'1003\tButton\t定时关机' $'1004\tButton\t设置…' \
        $'1005\tListBox\t' $'1006\tButton\t定时重启' $'1007\tButton\t设置…' $'1008\tListBox\t' \
        $'1009\tButton\t开机自动运行' | sort)" "controls"
}

test_hidden_start_only_with_exact_argument() {
    app_start /s
    main_wait
    sleep 1
    drv hidden "$MAIN" 2000 || fail "/s showed the window"
    drv state "$MAIN" | grep -q 'iconic=1' || fail "/s did not start minimized"
    app_quit
    local arg
    for arg in /S "-s" "/s x"; do
        # shellcheck disable=SC2086
        app_start $arg
        main_wait
        drv visible "$MAIN" 5000 || fail "argument [$arg] hid the window"
        app_quit
    done
}

test_second_instance_ends_at_once() {
    app_start
    main_wait
    local first=$APP_PID
    local start=$SECONDS
    (cd "$E2E_DIR" && wine "$APP_WIN_DIR\\TimedShutdown.exe" >/dev/null 2>&1)
    [ $((SECONDS - start)) -le 10 ] || fail "second instance did not end at once"
    kill -0 "$first" 2>/dev/null || fail "first instance ended"
    local count
    count=$(drv windows | awk -F'\t' '$2 == "TimedShutdown.Form1"' | wc -l)
    expect_eq "$count" 1 "main windows"
}

test_minimize_hides_and_close_asks() {
    app_start
    main_wait
    drv minimize "$MAIN"
    drv hidden "$MAIN" 5000 || fail "minimize did not hide the window"
    drv restore "$MAIN"
    drv visible "$MAIN" 5000 || fail "not restored"
    drv close "$MAIN"
    local box
    box=$(drv msgbox "$MSG_QUIT")
    expect_contains "$box" $'text\t确定要退出本程序吗?' "question"
    expect_contains "$box" $'button\t1\t' "OK button"
    expect_contains "$box" $'button\t2\t' "Cancel button"
    answer "$MSG_QUIT" 2
    drv gone "class:#32770" 5000 || fail "question stayed"
    sleep 1
    app_running || fail "Cancel ended the program"
    drv visible "$MAIN" 2000 || fail "Cancel hid the window"
    app_quit
}
