#!/usr/bin/env bash
# Runs a window test on the xcb platform under a private X server (Xvfb) with a window manager
# (openbox), so that it can read back what reaches the window system. Exits with 77, which the
# test runner counts as skipped, where one of them is not installed.
# Usage: run_with_window_manager.sh PROGRAM [ARGUMENT...]
set -u

for tool in Xvfb openbox xprop timeout; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (Debian packages xvfb, openbox, x11-utils)"
        exit 77
    fi
done

work=$(mktemp -d)
xvfb_pid=
wm_pid=
stop() {
    # Only the two processes started here, by their ids.
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 1' HUP INT TERM

fail() {
    echo "FAIL: $1"
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- $log"; cat "$log"; }
    done
    exit 1
}

# The server picks a free display itself and writes its number once it accepts clients, so
# that tests run in parallel never share one.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for ((tries = 0; tries < 100; ++tries)); do
    grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
    sleep 0.1
done
grep -q '^[0-9][0-9]*$' "$work/display" || fail "Xvfb gave no display within 10 s"
export DISPLAY=":$(cat "$work/display")"

# The window manager with its own settings folders, started with no session manager.
XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
for ((tries = 0; tries < 100; ++tries)); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    kill -0 "$wm_pid" 2>/dev/null || fail "openbox did not start"
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not manage within 10 s"

# No session bus: without an address the D-Bus library would start one through the X server,
# a daemon that outlives the test where it can and a leak where it cannot.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"
unset AT_SPI_BUS_ADDRESS

QT_QPA_PLATFORM=xcb timeout --kill-after=5 120 "$@"
status=$?
[ "$status" -eq 124 ] && echo "FAIL: $1 did not end within 120 s"
exit "$status"
