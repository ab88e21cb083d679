# Helpers for the end-to-end checks: the real binary on a private X server (Xvfb), driven with
# xdotool as a person would. Set VINTOREL_BIN, source this file, call e2e_start_x first.
#
# VINTOREL_BIN says how the program is started: the Linux executable runs natively; the Windows
# one (a name ending in .exe) runs under Wine in the prefix WINEPREFIX names (made by
# tests/wine/prefix.sh, with the simulated card registered). Without Wine installed a Windows
# check is skipped (exit 77). Paths handed to the program go through e2e_path.
# VINTOREL_WINE32=1: the program is the 32-bit build; its card is registered with the 32-bit
# regsvr32, and the check is skipped (77) where Wine cannot run 32-bit programs. Otherwise only
# 64-bit Wine is used (tests/wine/wine64.sh).
#
# E2E_DESKTOP says where the program's windows go: unset, a bare X server (Xvfb); "xwayland", a
# Wayland session (sway, headless) as a desktop starts the program, with WAYLAND_DISPLAY, an X
# display (XWayland) and XDG_SESSION_TYPE=wayland set, so that the program picks the X display
# and X tools drive it; "wayland", the same session without an X display, the program then a
# Wayland client, clicked and typed at through sway (swaymsg, wtype) and looked at with grim.
# Without sway, grim, wtype or wayvnc those checks are skipped (77).
set -euo pipefail

E2E_TMP=$(mktemp -d)
E2E_PIDS=()
E2E_WINE=0
case "${VINTOREL_BIN:-}" in
*.exe) E2E_WINE=1 ;;
esac

if [ "$E2E_WINE" = 1 ]; then
    if ! command -v wine >/dev/null || ! command -v wineserver >/dev/null; then
        echo "SKIP: Wine is not installed"
        exit 77
    fi
    source "$(dirname "${BASH_SOURCE[0]}")/../wine/bitness.sh"
    E2E_REGSVR32=$wine_regsvr32
    E2E_WINE_LOADER=$wine_loader
    [ -n "${WINEPREFIX:-}" ] && [ -f "$WINEPREFIX/system.reg" ] || {
        echo "FAIL: no Wine prefix at '${WINEPREFIX:-}' (tests/wine/prefix.sh makes it)" >&2
        exit 1
    }
    # No Mono or Gecko installer prompts; of Wine's debug output only the texts of message
    # boxes, which e2e_box_text_was reads.
    export WINEDEBUG=-all,+msgbox WINEDLLOVERRIDES="mscoree,mshtml="
fi

# At the end: everything started is stopped and the check's files removed (E2E_KEEP=FOLDER
# keeps a copy of them there: captures, screenshots, logs).
e2e_cleanup() {
    # Wine's own processes (explorer, services) outlive the program: end them before their
    # X server goes, so the next check starts from a clean prefix.
    if [ "$E2E_WINE" = 1 ]; then
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    fi
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    if [ -n "${E2E_KEEP:-}" ]; then cp -r "$E2E_TMP" "$E2E_KEEP"; fi
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

# Prints path $1 as the program sees it: unchanged on Linux, in Windows form (Z:\...) under Wine.
# Every prefix maps the root of the file system as Z:, which is what winepath gives for paths
# outside drive_c; the form is made here, since running winepath costs a Wine process each time
# and, on a loaded machine, once printed Wine's start-up error instead of a path.
e2e_path() {
    local path=$1
    [[ $path == /* ]] || path=$PWD/$path
    if [ "$E2E_WINE" = 1 ]; then printf 'Z:%s\n' "${path//\//\\}"; else printf '%s\n' "$1"; fi
}

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
    if [ -n "${E2E_DESKTOP:-}" ]; then
        e2e_start_sway
        return 0
    fi
    local fifo="$E2E_TMP/displayfd"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x1024}x24" -nolisten tcp -noreset 3>"$fifo" >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    local display=""
    read -r -t 20 display <"$fifo" || true
    [ -n "$display" ] || { cat "$E2E_TMP/xvfb.log" >&2; fail "Xvfb did not start"; }
    export DISPLAY=":$display"
    for _ in $(seq 100); do
        if xwininfo -root >/dev/null 2>&1; then
            e2e_start_wineserver
            return 0
        fi
        sleep 0.1
    done
    fail "Xvfb did not answer on $DISPLAY"
}

# A headless sway session with an output of E2E_SCREEN (1280x1024), its windows framed by sway's
# title bars, for E2E_DESKTOP (see the top). sway refuses to run as root: for root it runs as
# nobody, in a runtime folder of its own, and lets root's clients on its X display.
e2e_start_sway() {
    local tool
    for tool in sway swaymsg grim wtype wayvnc xhost; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
    [ "$E2E_WINE" = 0 ] || fail "E2E_DESKTOP is for the Linux program"
    local run="$E2E_TMP/sway" as=() xwayland=disable
    mkdir -m 700 "$run"
    if [ "$(id -u)" = 0 ]; then
        chmod 711 "$E2E_TMP"
        chown nobody "$run"
        as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    fi
    [ "$E2E_DESKTOP" = xwayland ] && xwayland=force
    {
        echo "xwayland $xwayland"
        echo "output HEADLESS-1 resolution ${E2E_SCREEN:-1280x1024} position 0 0"
        echo "default_border normal"
        # Once the session (and its X display) is up: its names, for this shell.
        echo "exec sh -c '[ -z \"\$DISPLAY\" ] || xhost +si:localuser:root >/dev/null;" \
            "echo \"\$WAYLAND_DISPLAY \$DISPLAY\" >\"\$XDG_RUNTIME_DIR/session.new\";" \
            "mv \"\$XDG_RUNTIME_DIR/session.new\" \"\$XDG_RUNTIME_DIR/session\"'"
    } >"$run/config"
    env -i PATH="$PATH" HOME="$run" XDG_RUNTIME_DIR="$run" WLR_BACKENDS=headless \
        WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman "${as[@]}" sway -c "$run/config" \
        >"$E2E_TMP/sway.log" 2>&1 &
    E2E_PIDS+=($!)
    for _ in $(seq 100); do
        [ -f "$run/session" ] && break
        sleep 0.1
    done
    local wayland="" display=""
    [ -f "$run/session" ] && read -r wayland display <"$run/session"
    [ -n "$wayland" ] || { cat "$E2E_TMP/sway.log" >&2; fail "sway did not start"; }
    SWAYSOCK=$(ls "$run"/sway-ipc.*.sock)
    export SWAYSOCK WAYLAND_DISPLAY="$run/$wayland" XDG_SESSION_TYPE=wayland
    export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
    unset QT_QPA_PLATFORM
    if [ "$E2E_DESKTOP" = xwayland ]; then
        [ -n "$display" ] || fail "sway has no X display"
        export DISPLAY="$display"
    else
        unset DISPLAY
        # sway's seat commands click with a pointer only where there is one, and a headless
        # session has none: wayvnc, which no one connects to, brings a virtual one.
        wayvnc -u "$E2E_TMP/vnc.sock" >"$E2E_TMP/wayvnc.log" 2>&1 &
        E2E_PIDS+=($!)
        for _ in $(seq 50); do
            swaymsg -t get_seats | grep -q '"capabilities": [13]' && return 0
            sleep 0.1
        done
        cat "$E2E_TMP/wayvnc.log" >&2
        fail "no pointer in the sway session"
    fi
}
E2E_NATIVE_WAYLAND=0
[ "${E2E_DESKTOP:-}" = wayland ] && E2E_NATIVE_WAYLAND=1

# Native Wayland: the id of the program's window named by regex $1 ("" if none), its content's
# "X Y WIDTH HEIGHT" on the screen.
e2e_sway_find() {
    swaymsg -t get_tree | python3 "$(dirname "${BASH_SOURCE[0]}")/sway_window.py" find "$1" "$APP_PID" || true
}
e2e_sway_geometry() {
    swaymsg -t get_tree | python3 "$(dirname "${BASH_SOURCE[0]}")/sway_window.py" geometry "$1" ||
        fail "no window $1"
}

# Under Wine: one wineserver for the whole check, started now so it (and Wine's desktop
# process) use this display, and kept until the end instead of starting anew for every run.
# The simulated card is registered again, in case a check that unregisters it was cut short.
e2e_start_wineserver() {
    [ "$E2E_WINE" = 1 ] || return 0
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wineserver -p
    e2e_register_card
}

# Under Wine: the simulated card's server DLL beside the program, registered or not.
e2e_register_card() {
    wine "$E2E_REGSVR32" /s "$(e2e_path "$(dirname "$VINTOREL_BIN")/vintorel_tuner_sim.dll")" ||
        fail "cannot register the simulated card"
}
e2e_unregister_card() {
    wine "$E2E_REGSVR32" /s /u "$(e2e_path "$(dirname "$VINTOREL_BIN")/vintorel_tuner_sim.dll")" ||
        fail "cannot unregister the simulated card"
}

# Runs the program in the background in folder $1 (which should hold Data/); sets APP_PID.
e2e_start_app() {
    local workdir=$1
    if [ "$E2E_WINE" = 1 ]; then
        (cd "$workdir" && exec "$E2E_WINE_LOADER" "$VINTOREL_BIN") >"$E2E_TMP/app.out" 2>&1 &
    else
        (cd "$workdir" && exec "$VINTOREL_BIN") >"$E2E_TMP/app.out" 2>&1 &
    fi
    APP_PID=$!
    E2E_PIDS+=("$APP_PID")
}

# Prints the id of the visible window whose name matches regex $1, waiting up to $2 seconds.
e2e_wait_window() {
    local pattern=$1 seconds=${2:-15} id
    for _ in $(seq $((seconds * 10))); do
        if [ "$E2E_NATIVE_WAYLAND" = 1 ]; then
            id=$(e2e_sway_find "$pattern")
        else
            id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1 || true)
        fi
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

# Types keys into window $1 (X key names), or with e2e_press into the window that has the keys;
# e2e_type types text there.
e2e_keys() {
    local id=$1; shift
    if [ "$E2E_NATIVE_WAYLAND" = 1 ]; then
        swaymsg "[con_id=$id] focus" >/dev/null || fail "cannot focus window $id"
    else
        xdotool windowfocus --sync "$id" >/dev/null 2>&1 || xdotool windowfocus "$id"
    fi
    e2e_press "$@"
}
# On Wayland each wtype brings a virtual keyboard of its own, whose keymap the program must take
# before the keys (a slow program, such as the sanitizer build, otherwise loses them); so one
# wtype for all the keys, which waits a little before them and after them.
e2e_press() {
    if [ "$E2E_NATIVE_WAYLAND" = 1 ]; then
        local key args=()
        for key in "$@"; do args+=(-k "$key"); done
        wtype -s 300 "${args[@]}" -s 300 || fail "wtype cannot press $*"
    else
        xdotool key --clearmodifiers "$@"
    fi
}
e2e_type() {
    if [ "$E2E_NATIVE_WAYLAND" = 1 ]; then
        wtype -s 300 -d 30 "$1" -s 300 || fail "wtype cannot type $1"
    else
        xdotool type --delay 30 "$1"
    fi
}

# Window $1's client area on the screen: "WIDTHxHEIGHT", its left edge; e2e_shot saves its
# image as file $2.
e2e_size() {
    if [ "$E2E_NATIVE_WAYLAND" = 1 ]; then
        e2e_sway_geometry "$1" | awk '{ print $3 "x" $4 }'
    else
        xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
    fi
}
e2e_left() {
    if [ "$E2E_NATIVE_WAYLAND" = 1 ]; then
        e2e_sway_geometry "$1" | awk '{ print $1 }'
    else
        xwininfo -id "$1" | awk '/Absolute upper-left X:/ {print $4}'
    fi
}
e2e_shot() {
    if [ "$E2E_NATIVE_WAYLAND" = 1 ]; then
        local x y w h
        read -r x y w h < <(e2e_sway_geometry "$1")
        grim -g "$x,$y ${w}x$h" "$2" || fail "grim cannot take window $1"
    else
        import -window "$1" "$2"
    fi
}
# 0 when a window named by regex $1 is shown.
e2e_window_shown() {
    if [ "$E2E_NATIVE_WAYLAND" = 1 ]; then
        [ -n "$(e2e_sway_find "$1")" ]
    else
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1
    fi
}
# 0 where the program's windows are where it places them: on a bare X server and under Wine.
# In sway the compositor places them (an X window that grows is centred anew), and a Wayland
# client cannot place its windows at all.
e2e_places_windows() {
    [ -z "${E2E_DESKTOP:-}" ]
}

# Writes the four default satellites into $1/Data/satellite.ini.
e2e_default_list() {
    mkdir -p "$1/Data"
    printf '%s' "[Astra 1B-1H,2C   19.2e]=12515h22000;[Eutelsat W4/Sesat   36.0e]=12360h26480;[HotBird 1-6   13.0e]=10723h29900;[Sirius 2/3,Astra 1A   5.0e]=12465h10787;" >"$1/Data/satellite.ini"
}

# A client coordinate of the program as a point of the screen: the program's pixels are
# E2E_SCALE screen pixels each (1 unless a check scales the desktop, as at 144 DPI).
e2e_scaled() {
    awk -v v="$1" -v s="${E2E_SCALE:-1}" 'BEGIN { printf "%d\n", v * s + 0.5 }'
}

# Clicks at client coordinates ($2, $3) of window $1.
e2e_click() {
    if [ "$E2E_NATIVE_WAYLAND" = 1 ]; then
        e2e_sway_click "$@" 1
    else
        xdotool mousemove --window "$1" "$(e2e_scaled "$2")" "$(e2e_scaled "$3")" click 1
    fi
    sleep 0.3
}
# Native Wayland: $4 clicks at client coordinates ($2, $3) of window $1, with sway's pointer.
e2e_sway_click() {
    local x y _
    read -r x y _ < <(e2e_sway_geometry "$1")
    swaymsg "seat seat0 cursor set $((x + $2)) $((y + $3))" >/dev/null
    for _ in $(seq "$4"); do
        swaymsg "seat seat0 cursor press button1" >/dev/null
        swaymsg "seat seat0 cursor release button1" >/dev/null
    done
}

# Double-clicks at client coordinates ($2, $3) of window $1, then waits longer than a
# double-click, so that a following click stands alone.
e2e_double_click() {
    if [ "$E2E_NATIVE_WAYLAND" = 1 ]; then
        e2e_sway_click "$@" 2
    else
        xdotool mousemove --window "$1" "$(e2e_scaled "$2")" "$(e2e_scaled "$3")" click --repeat 2 --delay 80 1
    fi
    sleep 0.6
}

# 0 when the program's last run showed a message box saying $1 ("": no box at all). Wine
# traces each box's text; on Linux the window tests check the texts, so this passes there.
e2e_box_text_was() {
    [ "$E2E_WINE" = 1 ] || return 0
    local shown
    shown=$(sed -n 's/.*trace:msgbox:MSGBOX_OnInit L"\(.*\)"\r\?$/\1/p' "$E2E_TMP/app.out")
    [ "$shown" = "$1" ]
}

# Everything the program plays goes into WAV file $1 instead of a sound device: natively
# through OpenAL Soft's wave writer; under Wine through an ALSA configuration of the test's
# own, whose default device is ALSA's file plugin (over a null device, as 16-bit 44.1 kHz
# stereo), so Wine's winealsa driver writes the mix there. ALSA's null device does not keep
# time: Wine's output then runs ahead of the clock, so only the order of sounds is reliable.
e2e_capture_sound() {
    if [ "$E2E_WINE" = 1 ]; then
        cat >"$E2E_TMP/asound.conf" <<ALSA
pcm.!default { type plug slave { pcm "capture" format S16_LE rate 44100 channels 2 } }
pcm.capture { type file slave.pcm "nullout" file "$1" format "wav" }
pcm.nullout { type null }
ALSA
        export ALSA_CONFIG_PATH="$E2E_TMP/asound.conf"
    else
        printf '[general]\ndrivers = wave\n[wave]\nfile = %s\n' "$1" >"$E2E_TMP/alsoft.conf"
        export ALSOFT_CONF="$E2E_TMP/alsoft.conf" ALSOFT_DRIVERS=wave
    fi
}

# Everything the program plays is mixed into a null output, heard by nobody: natively OpenAL
# Soft's null driver, under Wine ALSA's null device (an ALSA configuration of the tests').
e2e_null_sound() {
    if [ "$E2E_WINE" = 1 ]; then
        ALSA_CONFIG_PATH="$(cd "$(dirname "${BASH_SOURCE[0]}")/../dsound" && pwd)/wine_null_sound.conf"
        export ALSA_CONFIG_PATH
    else
        export ALSOFT_DRIVERS=null
    fi
}

# A desktop's sound server of its own for this check: PipeWire, WirePlumber and pipewire-pulse
# in a private D-Bus session and runtime folder, with no sound card, so the output is
# WirePlumber's null sink. The program then uses OpenAL Soft's default output, as on a desktop.
# Sets E2E_SINK (the sink's name); e2e_record_sink FILE records its monitor. Skips (77) where
# PipeWire is not installed.
e2e_start_pipewire() {
    local tool
    for tool in pipewire wireplumber pipewire-pulse parecord pactl dbus-daemon; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
    unset ALSOFT_DRIVERS PULSE_SERVER
    export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
    dbus-daemon --session --fork --nopidfile --print-address=3 --print-pid=4 \
        3>"$E2E_TMP/dbus.address" 4>"$E2E_TMP/dbus.pid" || fail "no D-Bus session"
    E2E_PIDS+=("$(cat "$E2E_TMP/dbus.pid")")
    DBUS_SESSION_BUS_ADDRESS=$(cat "$E2E_TMP/dbus.address")
    export DBUS_SESSION_BUS_ADDRESS
    e2e_start_sound_server
}
# The sound server itself (PipeWire, WirePlumber, pipewire-pulse), in the session that
# e2e_start_pipewire made; e2e_stop_sound_server ends it, as when it is stopped or crashes.
e2e_start_sound_server() {
    local tool
    E2E_SOUND_SERVER=()
    # WirePlumber and pipewire-pulse connect to PipeWire at once and give up if it is not there.
    pipewire >>"$E2E_TMP/pipewire.log" 2>&1 &
    E2E_SOUND_SERVER+=($!)
    for _ in $(seq 100); do
        [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] && break
        sleep 0.05
    done
    for tool in wireplumber pipewire-pulse; do
        "$tool" >>"$E2E_TMP/$tool.log" 2>&1 &
        E2E_SOUND_SERVER+=($!)
    done
    E2E_PIDS+=("${E2E_SOUND_SERVER[@]}")
    E2E_SINK=""
    for _ in $(seq 100); do
        E2E_SINK=$(pactl get-default-sink 2>/dev/null || true)
        [ -n "$E2E_SINK" ] && pactl list short sinks 2>/dev/null | grep -q "$E2E_SINK" && return 0
        sleep 0.1
    done
    cat "$E2E_TMP"/pipewire*.log "$E2E_TMP/wireplumber.log" >&2
    fail "PipeWire has no sink"
}
e2e_stop_sound_server() {
    local pid
    for pid in "${E2E_SOUND_SERVER[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${E2E_SOUND_SERVER[@]}"; do wait "$pid" 2>/dev/null || true; done
}
# Records the sink's monitor into the WAV file $1 through pipewire-pulse, which holds what a
# recorder late to read (a loaded machine) has not read yet: pw-record, in the graph itself,
# loses it, and the recording then has clips cut short that the sink played whole. Read every
# 50 ms, not in the server's default pieces of 2 s, of which the last one would be lost at the
# end.
e2e_record_sink() {
    parecord --device "$E2E_SINK.monitor" --rate 48000 --channels 1 --format s16le \
        --latency-msec=50 --file-format=wav "$1" >"$E2E_TMP/parecord.log" 2>&1 &
    E2E_RECORDER=$!
    E2E_PIDS+=("$E2E_RECORDER")
    sleep 0.5
}
e2e_stop_recording() {
    kill -INT "$E2E_RECORDER" 2>/dev/null || true
    wait "$E2E_RECORDER" 2>/dev/null || true
}

# Answers the message box window $1 with keys $2... and waits up to 5 s until it is gone.
e2e_answer_box() {
    local box=$1 _
    shift
    e2e_keys "$box" "$@"
    for _ in $(seq 50); do
        xwininfo -id "$box" 2>/dev/null | grep -q IsViewable || break
        sleep 0.1
    done
}

# Replaces the text of the edit box at client coordinates ($2, $3) of window $1 by $4.
e2e_retype() {
    e2e_click "$1" "$2" "$3"
    xdotool key --clearmodifiers End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
    xdotool type --delay 30 "$4"
}

# Text file $1 as the program wrote it, without the carriage returns of Windows' text files.
e2e_log() {
    tr -d '\r' <"$1"
}

# Waits up to 5 s for file $1 to end with the lines given after it.
e2e_wait_log_tail() {
    local file=$1; shift
    local expected actual n=$#
    expected=$(printf '%s\n' "$@")
    for _ in $(seq 50); do
        actual=$(e2e_log "$file" | grep -v -E '^(applyTuning|refreshMeasurement|getQuality|getSnr)' | tail -n "$n")
        [ "$actual" = "$expected" ] && return 0
        sleep 0.1
    done
    echo "expected the card to receive:" >&2; printf '  %s\n' "$@" >&2
    echo "it received last:" >&2; printf '%s\n' "$actual" | sed 's/^/  /' >&2
    fail "tuning sequence differs"
}

# The close box of window $1 (there is no window manager to draw one): the request a window
# manager sends when it is clicked.
e2e_close() {
    if [ "$E2E_NATIVE_WAYLAND" = 1 ]; then
        swaymsg "[con_id=$1] kill" >/dev/null || fail "cannot close window $1"
        return 0
    fi
    python3 "$(dirname "${BASH_SOURCE[0]}")/close_window.py" "$1" || fail "cannot close window $1"
}

# Window $1 is activated anew, as when the user comes back to it from another window: another
# X window takes the focus, then this one. On Windows, activation gives the keyboard focus to
# the window itself (DefWindowProc's WM_ACTIVATE), not to the child that had it.
e2e_activate() {
    if [ -n "${E2E_DESKTOP:-}" ]; then
        # In sway: over to an empty workspace and back.
        swaymsg workspace 2 >/dev/null && sleep 0.3 && swaymsg workspace 1 >/dev/null ||
            fail "cannot switch workspaces"
        sleep 0.3
        return 0
    fi
    xmessage -geometry +0+0 other >/dev/null 2>&1 &
    local other_pid=$! other="" _
    for _ in $(seq 50); do
        other=$(xdotool search --onlyvisible --name '^xmessage$' 2>/dev/null | head -1 || true)
        [ -n "$other" ] && break
        sleep 0.1
    done
    [ -n "$other" ] || fail "no other window to switch to"
    xdotool windowfocus --sync "$1" >/dev/null 2>&1 || true
    xdotool windowfocus --sync "$other" >/dev/null 2>&1 || true
    sleep 0.3
    xdotool windowfocus --sync "$1" >/dev/null 2>&1 || true
    kill "$other_pid" 2>/dev/null || true
    wait "$other_pid" 2>/dev/null || true
    sleep 0.3
}

# Where our Linux layer is known not to behave as Windows does (docs/windows.md lists each
# with its reason). A check of such a behaviour reports it instead of failing on Linux, and
# fails once the layer behaves as Windows, so that the entry gets removed.
E2E_LINUX_DIFFERENCES=""

# $1 a name from the list above, $2 what Windows does, $3 0 when the program did it.
e2e_windows_behaviour() {
    local name=$1 what=$2 seen=$3
    if [ "$E2E_WINE" = 0 ] && [[ " $E2E_LINUX_DIFFERENCES " == *" $name "* ]]; then
        [ "$seen" = 0 ] && fail "the Linux layer now behaves as Windows ($what): take '$name' off E2E_LINUX_DIFFERENCES in lib.sh and out of docs/windows.md"
        echo "known difference '$name' (docs/windows.md): on Windows $what, not here"
        return 0
    fi
    [ "$seen" = 0 ] || fail "$what"
    echo "ok: $what"
}

# 0 when the program is still running after $1 seconds (default 3: Wine takes a while to end).
e2e_still_running() {
    local _
    for _ in $(seq $((${1:-3} * 10))); do
        kill -0 "$APP_PID" 2>/dev/null || return 1
        sleep 0.1
    done
}

# In "MODE 0" of window $1: picks the first satellite of the list, presses FIND> and waits until
# the card (log $2) has been tuned to it.
e2e_search_first_satellite() {
    local id=$1 log=$2
    e2e_click "$id" 150 70                          # the satellite list
    e2e_press Down                                  # the first satellite
    sleep 0.3
    e2e_click "$id" 264 122                         # FIND>
    e2e_wait_log_tail "$log" "setTransponderFrequency 12515 -> 0x00000000"
}

# Starts the program in folder $1 (as e2e_start_app), waits for its main window and in it
# searches the first satellite (as e2e_search_first_satellite, card log $2); sets E2E_WINDOW to
# the window's id.
e2e_start_measuring() {
    e2e_start_app "$1"
    E2E_WINDOW=$(e2e_wait_window '^V i n t o r e l$')
    sleep 0.5
    e2e_search_first_satellite "$E2E_WINDOW" "$2"
}

# The objects the running program holds: call e2e_count_objects before e2e_start_app, then
# e2e_objects prints them as "name=value ..." ("-" where nothing counts that kind). Natively
# the platform layer's counts (VINTOREL_OBJECT_COUNTS: a line of JSON on every SIGUSR2); under
# Wine what tests/soak/guiobjects.exe, beside the program, reads (GDI and USER objects where
# Windows counts them, kernel handles, windows). Wine's GetGuiResources counts nothing, so the
# GDI count comes from Wine's own trace of the handles made and freed.
e2e_count_objects() {
    if [ "$E2E_WINE" = 1 ]; then
        E2E_GUIOBJECTS=$(dirname "$VINTOREL_BIN")/guiobjects.exe
        [ -f "$E2E_GUIOBJECTS" ] || fail "no $E2E_GUIOBJECTS (the windows build makes it)"
        export WINEDEBUG="$WINEDEBUG,trace+gdi"
    else
        export VINTOREL_OBJECT_COUNTS="$E2E_TMP/counts.jsonl"
        : >"$VINTOREL_OBJECT_COUNTS"
    fi
}
e2e_objects() {
    local line
    if [ "$E2E_WINE" = 1 ]; then
        line=$(wine "$E2E_GUIOBJECTS" "V i n t o r e l" 2>/dev/null | tr -d '\r') ||
            fail "guiobjects found no window"
        if [[ $line == *'"gdiObjects":null'* ]]; then
            # The live count after each handle made ("allocated ... N/MAX") or freed (N before
            # it); the lowest of the last 200 (a few seconds), so that a device context or
            # region held for a moment while painting is not taken for one kept.
            local gdi
            gdi=$(grep -a -E 'trace:gdi:(alloc|free)_gdi_handle' "$E2E_TMP/app.out" | tail -200 |
                awk '{ split($NF, n, "/"); v = $2 == "freed" ? n[1] - 1 : n[1]
                       if (low == "" || v < low) low = v } END { print low }')
            line=${line/\"gdiObjects\":null/\"gdiObjects\":${gdi:-null}}
        fi
    else
        local before _
        before=$(wc -l <"$VINTOREL_OBJECT_COUNTS")
        kill -USR2 "$APP_PID"
        for _ in $(seq 50); do
            [ "$(wc -l <"$VINTOREL_OBJECT_COUNTS")" -gt "$before" ] && break
            sleep 0.1
        done
        line=$(tail -1 "$VINTOREL_OBJECT_COUNTS")
    fi
    # {"a":1,"b":null} as "a=1 b=-", the log's time stamp left out.
    sed -e 's/[{}" ]//g' -e 's/:/=/g' -e 's/,/ /g' -e 's/=null/=-/g' -e 's/^ms=[0-9]* //' <<<"$line"
}
