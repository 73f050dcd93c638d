#!/usr/bin/env bash
# Runs a check of the program's accessibility tree as a screen reader reads it: a private X
# server (Xvfb), a private D-Bus session with its own accessibility bus, and the program on the
# xcb platform with its accessibility bridge on. Exits with 77, which the test runner counts as
# skipped, where one of them is not installed.
# Usage: run_with_screen_reader_bus.sh CHECK.py PROGRAM
set -u

launcher=/usr/libexec/at-spi-bus-launcher
for tool in Xvfb dbus-run-session timeout "$launcher"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (Debian packages xvfb, dbus, at-spi2-core)"
        exit 77
    fi
done
if ! /usr/bin/python3 -c 'import pyatspi' >/dev/null 2>&1; then
    echo "SKIP: pyatspi is not installed (Debian package python3-pyatspi)"
    exit 77
fi

check=$1
program=$2
work=$(mktemp -d)
xvfb_pid=
stop() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 1' HUP INT TERM

# -noreset: the accessibility bus launcher's short visit would otherwise reset the server
# under the program's feet, refusing its connection.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for ((tries = 0; tries < 100; ++tries)); do
    grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null && break
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
    sleep 0.1
done
grep -q '^[0-9][0-9]*$' "$work/display" || { echo "FAIL: Xvfb gave no display"; exit 1; }
export DISPLAY=":$(cat "$work/display")"

# The program's single-instance lock lives in runtime and temporary folders of its own, so that
# no other running copy refuses it.
mkdir -m 700 "$work/runtime" "$work/tmp"
export XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp"
export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset AT_SPI_BUS_ADDRESS DBUS_SESSION_BUS_ADDRESS

# Within the private session: the accessibility bus first, then the check, which starts the
# program and ends it; the session ends every process it started with it.
timeout --kill-after=5 120 dbus-run-session -- bash -c '
    "$0" --launch-immediately >"$1/bus.log" 2>&1 &
    bus=$!
    /usr/bin/python3 "$2" "$3"
    status=$?
    kill "$bus" 2>/dev/null
    exit $status' "$launcher" "$work" "$check" "$program" 2>"$work/session.log"
status=$?
if [ "$status" -ne 0 ]; then
    [ "$status" -eq 124 ] && echo "FAIL: the check did not end within 120 s"
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- $log"; cat "$log"; }
    done
fi
exit "$status"
