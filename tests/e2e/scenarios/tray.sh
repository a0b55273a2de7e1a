# The notification icon: tooltip, real clicks, and coming back after the taskbar restarts.

test_tray_icon_shows_hidden_window() {
    app_start /s
    main_wait
    sleep 1
    drv hidden "$MAIN" 2000 || fail "window shown at a hidden start"
    expect_eq "$(tray_tip)" "松汐定时关机" "tooltip"
    tray_click 1
    drv visible "$MAIN" 5000 || fail "left click did not show the window"
    drv state "$MAIN" | grep -q 'iconic=0 zoomed=0' || fail "not in the normal state: $(drv state "$MAIN")"
    drv minimize "$MAIN"
    drv hidden "$MAIN" 5000 || fail "minimize did not hide"
    tray_click 3
    drv visible "$MAIN" 5000 || fail "right click did not show the window"
    drv state "$MAIN" | grep -q 'foreground=1' || fail "window did not take the focus"
}

test_tray_click_on_visible_window_changes_nothing() {
    app_start
    main_wait
    local before
    before=$(drv state "$MAIN")
    tray_click 1
    sleep 1
    expect_eq "$(drv state "$MAIN" | tail -1)" "$(echo "$before" | tail -1)" "window rectangle"
    drv visible "$MAIN" 1000 || fail "window hidden"
}

test_tray_icon_comes_back_after_taskbar_restart() {
    app_start
    main_wait
    sleep 1
    # The taskbar loses every icon when it restarts, then broadcasts TaskbarCreated.
    drv traydelete "$MAIN" || fail "no icon to delete"
    drv broadcast TaskbarCreated
    sleep 1
    expect_eq "$(tray_tip)" "松汐定时关机" "tooltip after TaskbarCreated"
    drv minimize "$MAIN"
    drv hidden "$MAIN" 5000 || fail "minimize did not hide"
    tray_click 1
    drv visible "$MAIN" 5000 || fail "icon did not come back"
}
