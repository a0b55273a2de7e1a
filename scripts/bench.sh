#!/usr/bin/env bash
# Figures, not tests: the Google Benchmark of one tick's pure work, and the running program's idle
# cost under Wine (CPU time over a span of ticks, memory and GDI/USER object counts before and after).
# Usage: scripts/bench.sh [SECONDS]   (default 60)
set -euo pipefail
source "$(dirname "$0")/lib/setup.sh"
source "$(dirname "$0")/lib/wine_env.sh"
span=${1:-60}

ts_setup win64
ts_configure "$TS_BUILD_ROOT/bench" -DCMAKE_BUILD_TYPE=Release -DTS_SANITIZE=OFF -DTS_BUILD_TESTS=OFF \
    -DTS_BUILD_BENCH=ON
ninja -C "$TS_BUILD_ROOT/bench" benchmarks >/dev/null
"$TS_BUILD_ROOT/bench/benchmarks" --benchmark_min_time=0.5

session="$TS_BUILD_ROOT/bench-session"
rm -rf "$session"
trap 'ts_session_end' EXIT
ts_session_start "$session" zh_CN.UTF-8
app="$WINEPREFIX/drive_c/TS"
mkdir -p "$app"
cp "$TS_BUILD_ROOT/win64/TimedShutdown.exe" "$TS_BUILD_ROOT/win64/tick_handler_bench.exe" "$app/"
# The whole tick handler in a real main window, 10,000 times (labels, keys, the ten tests).
(cd "$session" && wine 'C:\TS\tick_handler_bench.exe' 2>/dev/null | tr -d '\r')
(cd "$session" && exec wine 'C:\TS\TimedShutdown.exe' >/dev/null 2>&1) &
drv() { wine "$TS_BUILD_ROOT/win64/driver.exe" "$@" 2>/dev/null | tr -d '\r'; }
drv wait "~鹭岩定时关机" 30000 >/dev/null
sleep 3
pid=$(pgrep -f 'TimedShutdown.exe' | head -1)
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
rss() { awk '/VmRSS/ {print $2}' "/proc/$pid/status"; }
hz=$(getconf CLK_TCK)
echo "before: $(drv guiresources '~鹭岩定时关机') rss=$(rss) kB"
t0=$(ticks)
sleep "$span"
t1=$(ticks)
echo "after $span s of ticks: $(drv guiresources '~鹭岩定时关机') rss=$(rss) kB"
awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s="$span" \
    'BEGIN { printf "CPU: %.2f s over %d s (%.3f%% of one core)\n", (b - a) / hz, s, 100 * (b - a) / hz / s }'
