# The notice before a scheduled request: the balloon in Wine's notification area, its click as the
# shell delivers it, the question, and the request at the minute (Wine's relay log). Each scenario
# waits for a minute to begin, so there are few of them.

# expect_question VERB: the question after a balloon click, in Chinese whatever the locale.
expect_question() {
    local question
    question=$(drv msgbox "$NOTICE_TITLE" 20000) || fail "no question after the click"
    expect_contains "$question" "将于 $NOTICE_HM $1。\\n是否取消本次定时$1？" "question"
    expect_contains "$question" $'button\t6\t是' "yes button"
    expect_contains "$question" $'button\t7\t否' "no button"
}

# Started hidden, as at logon: 是 skips this shutdown, and the program keeps running through its minute.
test_notice_skip_keeps_the_program_running() {
    notice_minute 30
    schedule_file "每天定时关机=$NOTICE_HM" | ini_write
    app_start_relay /s
    main_wait
    expect_balloon "将于 $NOTICE_HM 关机。点击此处可取消本次。"
    screenshot balloon
    # The record carries the balloon: the Windows 2000 size, 952 bytes on 64-bit.
    grep -q 'Shell_NotifyIconW dwMessage = 1, nid->cbSize=952' "$E2E_DIR/relay.log" || fail "icon record too small"
    balloon_click
    expect_question 关机
    answer "$NOTICE_TITLE" 6
    # Five seconds of the program's ticks inside the skipped minute.
    clock_past $((NOTICE_EPOCH + 5)) || fail "the clock stopped"
    app_running || fail "program ended"
    expect_eq "$(relay_calls user32.ExitWindowsEx)" "" "ExitWindowsEx calls"
    drv hidden "$MAIN" 1000 || fail "the window showed"
}

# A shutdown and a restart in the same minute: the shutdown is announced and skipped, the restart's
# notice follows at once, its question is left open, and the restart is still asked for when the
# minute comes; the question ends with the program.
test_notice_unanswered_question_does_not_stop_the_request() {
    notice_minute 30
    schedule_file "每天定时关机=$NOTICE_HM" "每天定时重启=$NOTICE_HM" | ini_write
    app_start_relay
    main_wait
    expect_balloon "将于 $NOTICE_HM 关机。点击此处可取消本次。"
    balloon_click
    answer "$NOTICE_TITLE" 6
    expect_balloon "将于 $NOTICE_HM 重启。点击此处可取消本次。"
    balloon_click
    expect_question 重启
    screenshot question
    wait_exit 90 || fail "no request while the question was open"
    local ended
    ended=$(date +%s)
    [ "$ended" -ge "$NOTICE_EPOCH" ] || fail "request $((NOTICE_EPOCH - ended)) s before its minute"
    [ "$ended" -le $((NOTICE_EPOCH + 10)) ] || fail "request $((ended - NOTICE_EPOCH)) s after its minute began"
    expect_fired 00000002
    drv msgbox "$NOTICE_TITLE" 500 >/dev/null && fail "question outlived the program"
    return 0
}

# A skipped minutes-after-start shutdown stays skipped for this start of the system: started again, the
# program would otherwise fire it at its first tick, without a notice.
test_notice_skipped_boot_schedule_stays_skipped_when_started_again() {
    # Due 25 to 60 seconds from now, so it is announced at the first tick.
    local up minutes due shown= deadline
    read -r up _ </proc/uptime
    up=${up%.*}
    [ $((60 - up % 60)) -lt 25 ] && { sleep $((60 - up % 60 + 1)); read -r up _ </proc/uptime; up=${up%.*}; }
    minutes=$((up / 60 + 1))
    due=$(($(date +%s) + minutes * 60 - up))
    schedule_file "每次开机X分钟关机=$minutes" | ini_write
    app_start_relay /s
    main_wait
    deadline=$((SECONDS + 20))
    until grep -qE '^将于 [0-9]{2}:[0-9]{2} 关机。点击此处可取消本次。$' <<<"$shown"; do
        [ $SECONDS -lt $deadline ] || fail "no balloon; visible tooltips: [$shown]"
        sleep 0.2
        shown=$(drv windows | awk -F'\t' '$2 == "tooltips_class32" && $3 ~ /visible=1/ {print $5}')
    done
    balloon_click
    answer "$NOTICE_TITLE" 6
    app_quit
    app_start_relay /s
    main_wait
    while [ "$(date +%s)" -lt $((due + 5)) ] && app_running; do sleep 0.5; done
    app_running || fail "the skipped shutdown fired after the program was started again"
    clock_past $((due + 5)) || fail "the clock stopped"
    expect_eq "$(relay_calls user32.ExitWindowsEx)" "" "ExitWindowsEx calls"
    app_quit
}
