#!/usr/bin/env bash
# Starts TimedShutdown.exe under Wine: on $DISPLAY when there is one, else in an Xvfb display of its
# own, where it takes a screenshot (build/screenshot.png) and ends after a few seconds.
# Usage: scripts/run.sh [--english] [program arguments...]
set -euo pipefail
source "$(dirname "$0")/lib/setup.sh"
source "$(dirname "$0")/lib/wine_env.sh"

lang=zh_CN.UTF-8
if [ "${1:-}" = "--english" ]; then lang=en_US.UTF-8; shift; fi

ts_setup win64 win32
session="$TS_BUILD_ROOT/run-session"
rm -rf "$session"
user_display=${DISPLAY:-}
if [ -n "$user_display" ] && ! xdpyinfo -display "$user_display" >/dev/null 2>&1; then
    user_display=
fi

trap 'ts_session_end' EXIT INT TERM
ts_session_start "$session" "$lang"
[ -n "$user_display" ] && { kill "$TS_XVFB_PID" 2>/dev/null; TS_XVFB_PID=; export DISPLAY=$user_display; }

appdir="$WINEPREFIX/drive_c/TimedShutdown"
mkdir -p "$appdir"
cp "$TS_BUILD_ROOT/win64/TimedShutdown.exe" "$appdir/"
ts_log "program: $appdir/TimedShutdown.exe (settings: $appdir/timer.ini)"

if [ -n "$user_display" ]; then
    ts_log "running on $DISPLAY; close the window (OK in the question) to end"
    (cd "$appdir" && wine TimedShutdown.exe "$@")
else
    (cd "$appdir" && wine TimedShutdown.exe "$@" >"$session/program.log" 2>&1) &
    app=$!
    wine "$TS_BUILD_ROOT/win64/driver.exe" wait "~鹭岩定时关机" 30000 >/dev/null
    sleep 3
    import -window root "$TS_BUILD_ROOT/screenshot.png"
    ts_log "screenshot: $TS_BUILD_ROOT/screenshot.png"
    kill "$app" 2>/dev/null || true
fi
