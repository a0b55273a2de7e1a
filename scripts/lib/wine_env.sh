# Wine sessions for the run and test commands: each session has its own throw-away prefix,
# its own Xvfb display and its own wineserver, and cleans all three up on every exit path.
# Source this file; it defines functions only.

TS_WINE_TEMPLATE=${TS_WINE_TEMPLATE:-${TS_BUILD_ROOT:-/tmp}/wine-template}
TS_DESKTOP_SIZE=${TS_DESKTOP_SIZE:-1024x768}

# A template is trusted only when it really booted: its registry files exist, the desktop with the
# taskbar is set in them, and the caption-button font is in place. A half-made one (a failed boot, a
# Wine that was missing) is never reused.
ts_wine_template_ok() {
    local t=${1:-$TS_WINE_TEMPLATE}
    [ -f "$t/.ready" ] && [ -s "$t/system.reg" ] && [ -s "$t/user.reg" ] &&
        grep -q '^"Desktop"="shell"' "$t/user.reg" && [ -f "$t/drive_c/windows/Fonts/marlett.ttf" ]
}

# Builds (once per build tree) an initialised prefix that sessions copy; booting one takes seconds.
# Sessions started together wait for one another here, so only one of them builds it.
ts_wine_template() {
    ts_wine_template_ok && return 0
    mkdir -p "$(dirname "$TS_WINE_TEMPLATE")"
    (
        flock 9
        ts_wine_template_ok && exit 0
        rm -rf "$TS_WINE_TEMPLATE"
        mkdir -p "$TS_WINE_TEMPLATE"
        export WINEPREFIX="$TS_WINE_TEMPLATE" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
        unset DISPLAY
        wineboot -i >/dev/null 2>&1
        # Every program runs in a virtual desktop: it has a taskbar with a notification area.
        # (the desktop named "shell" gets Wine's taskbar).
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d "$TS_DESKTOP_SIZE" /f >/dev/null 2>&1
        # Wine's own interface font lacks Chinese; link it to an installed CJK font as Windows does.
        local link
        for link in Tahoma 'MS Shell Dlg' 'MS Shell Dlg 2' 'Microsoft Sans Serif' 'Segoe UI'; do
            wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$link" \
                /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
        done
        wineserver -w
        # Title-bar buttons are glyphs of the Marlett font; without it Wine draws them as letters.
        mkdir -p "$TS_WINE_TEMPLATE/drive_c/windows/Fonts"
        cp /usr/share/wine/fonts/marlett.ttf "$TS_WINE_TEMPLATE/drive_c/windows/Fonts/" 2>/dev/null
        touch "$TS_WINE_TEMPLATE/.ready"
        if ! ts_wine_template_ok; then
            echo "Wine prefix template did not boot (is the package wine installed?)" >&2
            rm -rf "$TS_WINE_TEMPLATE"
            exit 1
        fi
    ) 9>"$TS_WINE_TEMPLATE.lock"
}

# ts_session_start DIR [LANG]: a fresh prefix in DIR/prefix, an Xvfb display, and the variables
# WINEPREFIX, DISPLAY, LANG, LC_ALL, WINEDEBUG exported for what follows.
ts_session_start() {
    local dir=$1 lang=${2:-zh_CN.UTF-8}
    mkdir -p "$dir"
    TS_SESSION_DIR=$dir
    ts_wine_template || return 1
    # Hard links for the large, read-only system files; registry files are copied so they stay private.
    cp -al "$TS_WINE_TEMPLATE" "$dir/prefix"
    rm -f "$dir/prefix"/*.reg
    cp "$TS_WINE_TEMPLATE"/*.reg "$dir/prefix/"
    export WINEPREFIX="$dir/prefix" WINEDEBUG=${WINEDEBUG:--all} LANG="$lang" LC_ALL="$lang"
    export WINEDLLOVERRIDES="mscoree,mshtml="
    # Xvfb picks a free display itself and tells which: no race between sessions started together.
    local display= i
    : >"$dir/display"
    Xvfb -displayfd 1 -screen 0 "${TS_DESKTOP_SIZE}x24" -nolisten tcp >"$dir/display" 2>"$dir/xvfb.log" &
    TS_XVFB_PID=$!
    for i in $(seq 1 100); do
        display=$(tr -dc '0-9' <"$dir/display")
        [ -n "$display" ] && break
        kill -0 "$TS_XVFB_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    [ -n "$display" ] || return 1
    export DISPLAY=":$display"
    return 0
}

# Ends the session's wineserver (and with it every program of the prefix) and its Xvfb.
ts_session_end() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
    if [ -n "${TS_XVFB_PID:-}" ]; then
        kill "$TS_XVFB_PID" 2>/dev/null || true
        wait "$TS_XVFB_PID" 2>/dev/null || true
        TS_XVFB_PID=
    fi
    if [ -n "${TS_SESSION_DIR:-}" ] && [ -z "${TS_KEEP_SESSION:-}" ]; then
        rm -rf "$TS_SESSION_DIR/prefix"
    fi
}
