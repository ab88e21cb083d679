#!/usr/bin/env bash
# Without a display the program says so in one line and ends with exit code 1: no abort, no core
# dump, no hang. Cases: DISPLAY unset, DISPLAY naming a display with no server, and an X server
# that refuses the connection (Xvfb with an authority file, the program without the cookie).
# Qt's own -platform option among the arguments is not taken: the command line is the program's.
# Usage: no_display.sh PROGRAM
set -u
program=$(realpath "$1")
tmp=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
failures=0

# expect LABEL REASON_PATTERN [env assignments or -u NAME ...] -- [arguments]
expect() {
    local label=$1 pattern=$2 rc lines
    shift 2
    local settings=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do settings+=("$1"); shift; done
    shift
    (cd "$tmp" && ulimit -c 0 && exec env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "${settings[@]}" \
        timeout 30 "$program" "$@") >"$tmp/out" 2>&1
    rc=$?
    lines=$(grep -c . "$tmp/out")
    if [ "$rc" -ne 1 ] || [ "$lines" -ne 1 ] ||
        ! grep -q "^vintorel: cannot open the display.*$pattern" "$tmp/out"; then
        echo "FAIL: $label: exit code $rc (1 expected; 124 is a hang, 134 an abort), output:"
        cat "$tmp/out"
        failures=$((failures + 1))
    else
        echo "ok: $label: $(cat "$tmp/out")"
    fi
}

expect "no DISPLAY" "DISPLAY is not set" -u DISPLAY --
expect "no DISPLAY, xcb asked for" "xcb" -u DISPLAY QT_QPA_PLATFORM=xcb --
expect "no DISPLAY, Qt's -platform option given" "DISPLAY is not set" -u DISPLAY -- -platform offscreen

# A display number without a server: the first one with neither socket nor lock file.
free=90
while [ -e "/tmp/.X11-unix/X$free" ] || [ -e "/tmp/.X$free-lock" ]; do free=$((free + 1)); done
expect "display without a server" ":$free" DISPLAY=":$free" --

# A server that refuses clients without its cookie.
xauth -f "$tmp/auth" add :0 . "$(mcookie)" 2>/dev/null
mkfifo "$tmp/displayfd"
Xvfb -displayfd 3 -auth "$tmp/auth" -nolisten tcp -screen 0 320x240x24 \
    3>"$tmp/displayfd" >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
read -r -t 20 display <"$tmp/displayfd" || true
if [ -z "$display" ]; then
    echo "FAIL: Xvfb did not start"; cat "$tmp/xvfb.log"
    failures=$((failures + 1))
else
    expect "server refusing the connection" "Authorization required" \
        DISPLAY=":$display" XAUTHORITY=/dev/null --
fi

[ "$failures" -eq 0 ]
