# Helpers for the end-to-end checks: the real binary on a private X server (Xvfb), driven with
# xdotool as a person would. Source this file; call e2e_start_x first.
set -euo pipefail

E2E_TMP=$(mktemp -d)
E2E_PIDS=()

e2e_cleanup() {
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -s "$E2E_TMP/app.out" ] && { echo "--- program output:" >&2; cat "$E2E_TMP/app.out" >&2; }
    [ -s "$E2E_TMP/xvfb.log" ] && { echo "--- Xvfb (display ${DISPLAY:-none}):" >&2; cat "$E2E_TMP/xvfb.log" >&2; }
    exit 1
}

# Starts Xvfb on a display it picks itself (so checks running side by side never collide) and
# exports DISPLAY. -noreset: an X server resets when its last client leaves and refuses
# connections meanwhile, so a program started right after another one ended could not connect.
e2e_start_x() {
    local fifo="$E2E_TMP/displayfd"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    local display=""
    read -r -t 20 display <"$fifo" || true
    [ -n "$display" ] || { cat "$E2E_TMP/xvfb.log" >&2; fail "Xvfb did not start"; }
    export DISPLAY=":$display"
    for _ in $(seq 100); do
        if xwininfo -root >/dev/null 2>&1; then return 0; fi
        sleep 0.1
    done
    fail "Xvfb did not answer on $DISPLAY"
}

# Runs the program in the background in folder $1 (which should hold Data/); sets APP_PID.
e2e_start_app() {
    local workdir=$1
    (cd "$workdir" && exec "$VINTOREL_BIN") >"$E2E_TMP/app.out" 2>&1 &
    APP_PID=$!
    E2E_PIDS+=("$APP_PID")
}

# Prints the id of the visible window whose name matches regex $1, waiting up to $2 seconds.
e2e_wait_window() {
    local pattern=$1 seconds=${2:-15} id
    for _ in $(seq $((seconds * 10))); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1 || true)
        if [ -n "$id" ]; then echo "$id"; return 0; fi
        kill -0 "$APP_PID" 2>/dev/null || { cat "$E2E_TMP/app.out" >&2; fail "program ended while waiting for '$pattern'"; }
        sleep 0.1
    done
    cat "$E2E_TMP/app.out" >&2
    fail "no window named '$pattern' within ${seconds}s"
}

# Waits up to $1 seconds for the program to end; sets APP_RC to its exit code. (Not to be
# called in a subshell: only this shell can collect the program's exit code.)
e2e_wait_exit() {
    local seconds=${1:-15}
    for _ in $(seq $((seconds * 10))); do
        if ! kill -0 "$APP_PID" 2>/dev/null; then
            APP_RC=0
            wait "$APP_PID" || APP_RC=$?
            return 0
        fi
        sleep 0.1
    done
    fail "program still running after ${seconds}s"
}

# Types keys into window $1 (xdotool key names).
e2e_keys() {
    local id=$1; shift
    xdotool windowfocus --sync "$id" >/dev/null 2>&1 || xdotool windowfocus "$id"
    xdotool key --clearmodifiers "$@"
}

# Size of window $1 as "WIDTHxHEIGHT".
e2e_size() {
    xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}

# Writes the four default satellites into $1/Data/satellite.ini.
e2e_default_list() {
    mkdir -p "$1/Data"
    printf '%s' "[Astra 1B-1H,2C   19.2e]=12515h22000;[Eutelsat W4/Sesat   36.0e]=12360h26480;[HotBird 1-6   13.0e]=10723h29900;[Sirius 2/3,Astra 1A   5.0e]=12465h10787;" >"$1/Data/satellite.ini"
}

# Clicks at client coordinates ($2, $3) of window $1.
e2e_click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.3
}

# Waits up to 5 s for file $1 to end with the lines given after it.
e2e_wait_log_tail() {
    local file=$1; shift
    local expected actual n=$#
    expected=$(printf '%s\n' "$@")
    for _ in $(seq 50); do
        actual=$(grep -v -E '^(applyTuning|refreshMeasurement|getQuality|getSnr)' "$file" | tail -n "$n")
        [ "$actual" = "$expected" ] && return 0
        sleep 0.1
    done
    echo "expected the card to receive:" >&2; printf '  %s\n' "$@" >&2
    echo "it received last:" >&2; printf '%s\n' "$actual" | sed 's/^/  /' >&2
    fail "tuning sequence differs"
}
