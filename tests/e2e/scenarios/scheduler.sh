# Schedules fire: the real ExitWindowsEx call is read from Wine's relay log.

test_daily_shutdown_fires_at_its_minute() {
    minute_safe
    schedule_file "每天定时关机=$(now_hm)" | ini_write
    app_start_relay
    local start=$SECONDS
    wait_exit 15 || fail "did not fire"
    [ $((SECONDS - start)) -le 8 ] || fail "fired late: $((SECONDS - start)) s"
    expect_fired 00000008
    # Due at the first tick: the request comes without a notice (icon added, tip set, deleted; no balloon).
    expect_eq "$(relay_calls shell32.Shell_NotifyIconW | sed -E 's/.*\(([0-9a-f]+),.*/\1/' | tr '\n' ' ')" \
        "00000000 00000001 00000002 " "Shell_NotifyIconW calls"
}

test_restart_schedules_fire_with_reboot() {
    minute_safe
    local d
    d=$(date +%-d)
    schedule_file "每月定时重启日期=$d" "每月定时重启时间=$(now_hm)" | ini_write
    app_start_relay
    expect_fired 00000002
}

test_shutdown_wins_over_restart_in_the_same_tick() {
    minute_safe
    local names=(周日 周一 周二 周三 周四 周五 周六)
    schedule_file "每天定时重启=$(now_hm)" "每周定时关机周几=${names[$(date +%w)]}" "每周定时关机时间=$(now_hm)" | ini_write
    app_start_relay
    expect_fired 00000008
}

test_one_off_and_boot_schedules_fire() {
    minute_safe
    schedule_file "定时重启日期=$(now_date)" "定时重启时间=$(now_hm)" | ini_write
    app_start_relay
    expect_fired 00000002
    # The machine has been up for more than a minute: a one-minute boot schedule is due at the first tick.
    schedule_file "每次开机X分钟关机=1" | ini_write
    wineserver -w 2>/dev/null
    app_start_relay
    expect_fired 00000008
}

test_schedule_for_another_minute_does_not_fire() {
    minute_safe 12
    schedule_file "每天定时关机=$(now_hm '+2 minutes')" "定时重启日期=$(now_date)" "定时重启时间=$(now_hm '-1 minute')" \
        "每月定时关机日期=$(date -d '+1 day' +%-d)" "每月定时关机时间=$(now_hm)" "每次开机X分钟重启=0" | ini_write
    app_start_relay
    main_wait
    sleep 3
    app_running || fail "program ended"
    expect_eq "$(relay_calls user32.ExitWindowsEx)" "" "ExitWindowsEx calls"
    # The clock runs: both labels show today's date and the time.
    expect_eq "$(drv text "$MAIN" 1001)" "$(date +%Y-%m-%d)" "date label"
    [[ "$(drv text "$MAIN" 1002)" =~ ^[0-2][0-9]:[0-5][0-9]:[0-5][0-9]$ ]] || fail "time label: $(drv text "$MAIN" 1002)"
}
