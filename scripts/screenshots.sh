#!/usr/bin/env bash
# Takes the users' guide pictures from the real program under Wine: the main window with schedules of
# every kind in both lists, and both settings dialogs filled in, each cropped to its window.
# Usage: scripts/screenshots.sh [--english] [--dpi N] [OUTDIR]   (default: Chinese, 96 DPI, docs/)
# Run it again whenever a window changes, and look at every picture before committing it.
set -euo pipefail
source "$(dirname "$0")/lib/setup.sh"
source "$(dirname "$0")/lib/wine_env.sh"

lang=zh_CN.UTF-8
dpi=96
while [ $# -gt 0 ]; do
    case $1 in
    --english) lang=en_US.UTF-8; shift ;;
    --dpi) dpi=$2; shift 2 ;;
    *) break ;;
    esac
done
out=$(mkdir -p "${1:-$TS_ROOT/docs}" && cd "${1:-$TS_ROOT/docs}" && pwd)

ts_setup win64
session="$TS_BUILD_ROOT/screenshot-session"
rm -rf "$session"
# Room for the tallest window at high DPI.
[ "$dpi" -gt 96 ] && TS_DESKTOP_SIZE=1600x1200
trap 'ts_session_end' EXIT
ts_session_start "$session" "$lang"
drv() { wine "$TS_BUILD_ROOT/win64/driver.exe" "$@" 2>/dev/null | tr -d '\r'; }
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d "$TS_DESKTOP_SIZE" /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wineserver -w

app="$WINEPREFIX/drive_c/TimedShutdown"
mkdir -p "$app"
cp "$TS_BUILD_ROOT/win64/TimedShutdown.exe" "$app/"
# Schedules of every kind that cannot come due while the pictures are taken: times far from now, a
# one-off next year, and a minutes-after-start value beyond this machine's uptime.
uptime_minutes=$(awk '{print int($1 / 60)}' /proc/uptime)
boot=480
[ "$uptime_minutes" -ge 400 ] && boot=20000
next_year=$(($(date +%Y) + 1))
hour=$((10#$(date +%H)))
far() { printf '%02d:%s' $(((hour + $1) % 24)) "$2"; }
{
    printf '%s\r\n' "[关机]" "定时关机日期=$next_year-05-01" "定时关机时间=$(far 3 00)" "每天定时关机=$(far 4 30)" \
        "每周定时关机周几=周五" "每周定时关机时间=$(far 5 30)" "每月定时关机日期=15" "每月定时关机时间=$(far 6 00)" \
        "每次开机X分钟关机=$boot"
    printf '%s\r\n' "[重启]" "定时重启日期=$next_year-01-02" "定时重启时间=$(far 7 00)" "每天定时重启=$(far 8 15)" \
        "每周定时重启周几=周三" "每周定时重启时间=$(far 9 45)" "每月定时重启日期=1" "每月定时重启时间=$(far 10 05)" \
        "每次开机X分钟重启=$boot"
} | iconv -f UTF-8 -t CP936 >"$app/timer.ini"

(cd "$app" && exec wine TimedShutdown.exe >"$session/program.log" 2>&1) &
main="~鹭岩定时关机"
drv wait "$main" 30000 >/dev/null || { echo "the main window did not appear" >&2; exit 1; }

# shot NAME WINDOW: the window's rectangle (frame included) cut out of the screen.
shot() {
    local l t r b
    read -r l t r b < <(drv rect "$2")
    sleep 1.5  # the clock shows the time once its first tick has come
    import -window root -crop "$((r - l))x$((b - t))+$l+$t" +repage "$out/$1.png"
    echo "$out/$1.png"
}
suffix=""
[ "$dpi" != 96 ] && suffix="-$dpi"
[ "$lang" != zh_CN.UTF-8 ] && suffix="$suffix-en"
shot "main$suffix" "$main"
for action in shutdown:1004:"定时关机 - 设置" restart:1007:"定时重启 - 设置"; do
    IFS=: read -r name button title <<<"$action"
    drv press "$main" "$button" >/dev/null
    drv visible "$title" 10000 >/dev/null || { echo "dialog $title did not open" >&2; exit 1; }
    shot "$name-dialog$suffix" "$title"
    drv close "$title" >/dev/null
    drv gone "$title" 5000 >/dev/null
done
