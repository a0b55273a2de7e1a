# Helpers for end-to-end scenarios. A scenario is a bash function test_NAME in tests/e2e/scenarios/*.sh;
# it runs in a Wine session of its own (prefix, Xvfb display, wineserver) with the program installed
# at C:\TS\TimedShutdown.exe. It fails by calling `fail` or by any helper that fails.
set -uo pipefail
E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$E2E_ROOT/scripts/lib/wine_env.sh"
TS_BUILD_ROOT=${TS_BUILD_ROOT:-$E2E_ROOT/build}
TS_WINE_TEMPLATE=${TS_WINE_TEMPLATE:-$TS_BUILD_ROOT/wine-template}
DRIVER_EXE="$TS_BUILD_ROOT/win64/driver.exe"
PROGRAM_EXE="$TS_BUILD_ROOT/win64/TimedShutdown.exe"
MAIN="~鹭岩定时关机"           # the main window, found by its caption
MSG_QUIT="是否退出?"          # caption of the close question
APP_PID=
APP_WIN_DIR='C:\TS'

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# drv COMMAND ...: the end-to-end driver, inside this session's prefix.
drv() { wine "$DRIVER_EXE" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }

expect_eq() {
    local actual=$1 expected=$2 what=${3:-value}
    [ "$actual" = "$expected" ] || fail "$what: expected [$expected], got [$actual]"
}
expect_contains() {
    local haystack=$1 needle=$2 what=${3:-text}
    [[ "$haystack" == *"$needle"* ]] || fail "$what: [$needle] not in [$haystack]"
}

# unix path of a C:\ path in this prefix
unix_path() { local p=${1#C:\\}; echo "$WINEPREFIX/drive_c/${p//\\//}"; }

# app_install [WINDIR]: copies the program into WINDIR (default C:\TS).
app_install() {
    APP_WIN_DIR=${1:-'C:\TS'}
    APP_DIR=$(unix_path "$APP_WIN_DIR")
    mkdir -p "$APP_DIR"
    cp "$PROGRAM_EXE" "$APP_DIR/TimedShutdown.exe"
}

# app_start [ARGS...]: starts the program in the background; APP_PID is its process.
app_start() {
    (cd "$E2E_DIR" && exec wine "$APP_WIN_DIR\\TimedShutdown.exe" "$@" >>"$E2E_DIR/program.log" 2>&1) &
    APP_PID=$!
}

# app_start_relay [ARGS...]: as app_start, with Wine's relay log of ExitWindowsEx and Shell_NotifyIconW
# in $E2E_DIR/relay.log, and the size of every icon record sent (the systray channel).
app_start_relay() {
    wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d 'user32.ExitWindowsEx;shell32.Shell_NotifyIconW' /f >/dev/null 2>&1
    (cd "$E2E_DIR" && WINEDEBUG=-all,+relay,+systray exec wine "$APP_WIN_DIR\\TimedShutdown.exe" "$@" >"$E2E_DIR/relay.log" 2>&1) &
    APP_PID=$!
}

app_running() { [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; }

# wait_exit SECONDS: the program's process ends within SECONDS.
wait_exit() {
    local deadline=$((SECONDS + ${1:-10}))
    while app_running; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.2
    done
    wait "$APP_PID" 2>/dev/null
    return 0
}

# answer CAPTION BUTTONID: presses a button of the message box once it shows; fails where it does not.
answer() { drv answer "$1" "$2" >/dev/null || fail "no message box [$1] to answer"; }

# app_quit: closes the main window, answers the question with OK, and the program ends.
app_quit() {
    drv close "$MAIN" || fail "main window gone before closing it"
    answer "$MSG_QUIT" 1
    wait_exit 30 || fail "program did not end after OK in the close question"
}

main_wait() { drv wait "$MAIN" "${1:-20000}" >/dev/null || fail "main window did not appear"; }

# ini_write: the settings file from standard input (UTF-8 text, lines end in CRLF), in code page 936.
ini_write() { sed 's/$/\r/' | iconv -f UTF-8 -t CP936 >"$APP_DIR/timer.ini"; }
# ini_read: the settings file as UTF-8, CRs kept.
ini_read() { iconv -f CP936 -t UTF-8 "$APP_DIR/timer.ini"; }

screenshot() { import -window root "$E2E_DIR/${1:-screen}.png" 2>/dev/null || true; }

e2e_run() {
    local fn=$1 lang=$2
    E2E_DIR=$3
    trap 'screenshot last; ts_session_end' EXIT
    ts_session_start "$E2E_DIR" "$lang" || fail "no Wine session"
    # Starts this prefix's wineserver and desktop before the scenario's first step.
    wine "$DRIVER_EXE" windows >/dev/null 2>&1 || wine "$DRIVER_EXE" windows >/dev/null 2>&1 || fail "Wine does not start"
    app_install
    "$fn"
}

# tray_click [1|3]: a real mouse click on the program's notification icon, the rightmost one in
# Wine's taskbar.
tray_point() {
    local l t r b
    read -r l t r b < <(drv rect class:Shell_TrayWnd) || fail "no taskbar"
    echo "$((r - 9)) $(((t + b) / 2))"
}
tray_click() {
    local x y
    read -r x y < <(tray_point)
    xdotool mousemove "$x" "$y" click "${1:-1}"
}
# tray_tip: hovers over the icon and prints the tooltip that shows.
tray_tip() {
    local x y
    read -r x y < <(tray_point)
    xdotool mousemove 0 0
    sleep 0.3
    xdotool mousemove "$x" "$y"
    local i
    for i in $(seq 1 30); do
        local tip
        tip=$(drv windows | awk -F'\t' '$2 == "tooltips_class32" && $3 ~ /visible=1/ {print $5}')
        [ -n "$tip" ] && { echo "$tip"; return 0; }
        sleep 0.1
    done
    return 1
}

# minute_safe: returns once at least SECONDS (default 8) remain in the current minute, so a schedule
# written for "this minute" is still due when the program's first tick comes.
minute_safe() {
    local need=${1:-8} s
    s=$(date +%S)
    s=$((10#$s))
    if [ $((60 - s)) -lt "$need" ]; then sleep $((60 - s + 1)); fi
}
now_hm() { date -d "${1:-now}" +%H:%M; }
now_date() { date -d "${1:-now}" +%Y-%m-%d; }

# relay_calls NAME: the relay log's calls of NAME (e.g. user32.ExitWindowsEx), one per line.
relay_calls() { grep -o "Call $1([^)]*)" "$E2E_DIR/relay.log" 2>/dev/null; }

# schedule_file SECTION_KEY=VALUE...: a settings file with both sections, every key empty but those given.
schedule_file() {
    local -A given=()
    local kv
    for kv in "$@"; do given[${kv%%=*}]=${kv#*=}; done
    local section verb key
    for section in 关机 重启; do
        verb=$section
        echo "[$section]"
        for key in "定时${verb}日期" "定时${verb}时间" "每天定时${verb}" "每周定时${verb}周几" "每周定时${verb}时间" \
            "每月定时${verb}日期" "每月定时${verb}时间" "每次开机X分钟${verb}"; do
            echo "$key=${given[$key]:-}"
        done
    done
}

# expect_fired MODE: the program asked for exactly one ExitWindowsEx with MODE, removed its icon and ended.
expect_fired() {
    local mode=$1
    wait_exit 15 || fail "program did not end after its schedule fired"
    local calls
    calls=$(relay_calls user32.ExitWindowsEx)
    expect_eq "$calls" "Call user32.ExitWindowsEx($mode,00000000)" "ExitWindowsEx calls"
    relay_calls shell32.Shell_NotifyIconW | grep -q '^Call shell32.Shell_NotifyIconW(00000002,' ||
        fail "notification icon not deleted"
}

# The notice before a request ------------------------------------------------------------------
NOTICE_TITLE="松汐定时关机"   # the balloon's title and the caption of its question
NOTICE_CLICK=0x405            # NIN_BALLOONUSERCLICK

# notice_minute [SECONDS]: returns once at least SECONDS (default 30) remain in this minute, and sets
# NOTICE_HM to the next minute (hh:mm) and NOTICE_EPOCH to its first second: a schedule written for
# NOTICE_HM is announced at the program's first tick and fires when NOTICE_EPOCH comes.
notice_minute() {
    local need=${1:-30} now
    now=$(date +%s)
    [ $((60 - now % 60)) -lt "$need" ] && sleep $((60 - now % 60))
    now=$(date +%s)
    NOTICE_EPOCH=$(((now / 60 + 1) * 60))
    NOTICE_HM=$(date -d "@$NOTICE_EPOCH" +%H:%M)
}

# expect_balloon TEXT: Wine's notification area shows a balloon with TEXT within 20 seconds.
expect_balloon() {
    local deadline=$((SECONDS + 20)) shown
    while [ $SECONDS -lt $deadline ]; do
        shown=$(drv windows | awk -F'\t' '$2 == "tooltips_class32" && $3 ~ /visible=1/ {print $5}')
        grep -qxF "$1" <<<"$shown" && return 0
        sleep 0.2
    done
    fail "no balloon [$1]; visible tooltips: [$shown]"
}

# balloon_click: a click on the balloon as the shell delivers it, the icon's callback message.
balloon_click() { drv post "$MAIN" 2025 0 "$NOTICE_CLICK" || fail "main window gone"; }

# clock_past EPOCH: waits until the program's own clock label shows EPOCH's time or later (the program
# has ticked up to then); fails after a minute and a half.
day_seconds() { awk -F: '{print $1 * 3600 + $2 * 60 + $3}' <<<"$1"; }
clock_past() {
    local want shown diff deadline=$((SECONDS + 90))
    want=$(day_seconds "$(date -d "@$1" +%H:%M:%S)")
    while [ $SECONDS -lt $deadline ]; do
        shown=$(drv text "$MAIN" 1002)
        if [[ "$shown" =~ ^[0-9]{2}:[0-9]{2}:[0-9]{2}$ ]]; then
            # Later within half a day, so midnight between the two does not matter.
            diff=$(( ($(day_seconds "$shown") - want + 86400) % 86400 ))
            [ "$diff" -lt 43200 ] && return 0
        fi
        sleep 0.5
    done
    return 1
}
