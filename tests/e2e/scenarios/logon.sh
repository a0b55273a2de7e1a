# The run-at-logon check box and its entry in HKLM's Run key.
RUN_NAME="松汐定时关机"

test_logon_box_writes_and_deletes_the_entry() {
    app_start
    main_wait
    expect_eq "$(drv checked "$MAIN" 1009)" 0 "box at start without an entry"
    drv click "$MAIN" 1009
    sleep 1
    expect_eq "$(drv checked "$MAIN" 1009)" 1 "box after a click"
    expect_eq "$(drv runvalue "$RUN_NAME")" $'REG_SZ\t"C:\\TS\\TimedShutdown.exe" /s' "entry"
    if [[ "$LANG" == zh_CN* ]]; then
        # Wine's own reg tool sees it too (it prints in code page 936).
        wine reg query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' 2>/dev/null | iconv -f GBK -t UTF-8 |
            grep -q "\"C:\\\\TS\\\\TimedShutdown.exe\" /s" || fail "reg query does not show the entry"
    fi
    drv click "$MAIN" 1009
    sleep 1
    expect_eq "$(drv checked "$MAIN" 1009)" 0 "box after a second click"
    expect_eq "$(drv runvalue "$RUN_NAME")" "absent" "entry after unticking"
}

test_matching_entry_checks_the_box_and_is_rewritten_quoted() {
    local entry
    for entry in '"C:\TS\TimedShutdown.exe" /s' 'C:\TS\TimedShutdown.exe /s' '  C:\TS\TimedShutdown.exe /s  '; do
        drv runvalue "$RUN_NAME" "$entry" || fail "could not write the entry"
        app_start
        main_wait
        sleep 0.5
        expect_eq "$(drv checked "$MAIN" 1009)" 1 "box for entry [$entry]"
        expect_eq "$(drv runvalue "$RUN_NAME")" $'REG_SZ\t"C:\\TS\\TimedShutdown.exe" /s' "rewritten entry"
        app_quit
    done
}

test_entry_for_another_copy_is_left_alone() {
    local entry
    for entry in 'C:\ts\TimedShutdown.exe /s' '"D:\Tools\TimedShutdown.exe" /s' 'C:\TS\TimedShutdown.exe'; do
        drv runvalue "$RUN_NAME" "$entry" || fail "could not write the entry"
        app_start
        main_wait
        sleep 0.5
        expect_eq "$(drv checked "$MAIN" 1009)" 0 "box for entry [$entry]"
        expect_eq "$(drv runvalue "$RUN_NAME")" $'REG_SZ\t'"$entry" "entry left alone"
        app_quit
    done
}

test_program_in_directory_with_space_starts_hidden_from_its_entry() {
    app_install 'C:\Program Files\Timed Tools'
    app_start
    main_wait
    drv click "$MAIN" 1009
    sleep 1
    local entry
    entry=$(drv runvalue "$RUN_NAME")
    expect_eq "$entry" $'REG_SZ\t"C:\\Program Files\\Timed Tools\\TimedShutdown.exe" /s' "entry"
    app_quit
    # Started as Windows starts it at logon: the entry's own command line.
    # Not through drv: the started program keeps the driver's output open.
    wine "$DRIVER_EXE" spawn "${entry#REG_SZ$'\t'}" >/dev/null 2>&1 </dev/null || fail "could not start through the entry"
    main_wait
    sleep 1
    drv hidden "$MAIN" 2000 || fail "started through the entry, the window showed"
    expect_eq "$(drv checked "$MAIN" 1009)" 1 "box when started through the entry"
}
