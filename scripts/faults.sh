#!/usr/bin/env bash
# The fault matrix: the real program started against a failing card, missing or odd Data/,
# broken clips, hostile satellite lists, a read-only folder, a full disk, no sound device and a
# sound server that goes away, one case per row of the table below. Each case runs natively
# (the sanitizer build by default) and, where the row applies there, the Windows program under
# Wine, and is checked for: no sanitizer report, no crash, exactly the message boxes expected
# (caption and text, in order, and no other), the exit code, and Data/satellite.ini (unchanged
# byte for byte, created whole with the four default satellites, or absent).
#   scripts/faults.sh [--quick] [--linux PROGRAM]... [--no-linux] [--wine PROGRAM.exe | --no-wine]
#                     [--prefix WINEPREFIX] [REGEX]
# Defaults: build/sanitize/bin/vintorel, build/windows/bin/vintorel.exe in the prefix
# build/windows/wine-prefix (made if missing). Several --linux: the first that exists. --quick
# (the test run's form): the clip faults in one case, and under Wine only the rows marked for
# it. REGEX picks cases by name.
# Natively the cases run in two halves at once, the Wine side beside them.
# Prints "PASS SIDE name", "FAIL SIDE name: reason" or "SKIP SIDE name: reason" per case (SIDE
# linux or wine) and a summary; exits 1 on any FAIL.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# name | where | setup | steps | exit | list
#   where: both, linux (not meaningful under Wine), quick-wine (under Wine also with --quick)
#   setup: list=KIND, card=DIRECTIVE (":" for blanks), clip=NAME:KIND, nodata, readonly, fulldisk,
#          nosound, soundserver
#   steps, in order: box CAPTION=TEXT[=KEYS] (answered with KEYS, default Return); window (the
#          main window); find N (entry N of the list, then FIND>); tuned MHZ (the card was tuned
#          to it); speak (digits instead of the tone); russian; wait SECONDS (measuring goes
#          on); sound on (the sound server hears the program); server kill|start;
#          close (the close box); ends (the program ends by itself)
#   list: same, default (created with the four default satellites), absent
CREATE_Q='box Warning!=satellite.ini - not found. Create new  file?'
NO_FILE='box Error!=Cannot create file satellite.ini'
BAD_FREQ='box  Attention! =Invalid parameter of transponder frequency in satellite.ini'
BAD_RATE='box Attention!=Invalid parameter of symbol rate in satellite.ini'
FIND0='window;find 0;tuned 12515'
CASES=(
    "card-create|quick-wine|card=create:fail|box Error=Cannot create filter graph manager;ends|0|same"
    "card-query|both|card=query:fail|ends|0|same"
    "card-initialize|both|card=fail:initialize|box Error=Cannot initialize tuner control interface;ends|0|same"
    "card-fec|both|card=fail:setFec|box Error=Set fec failed;ends|0|same"
    "card-fec-positive|both|card=status:setFec:1|$FIND0;close|0|same"
    "card-diseqc|both|card=fail:setDiseqc|box Error=Set DiSEqC failed;ends|0|same"
    "card-lnb-selection|both|card=fail:setLnbSelection|window;find 0;box Error=Set LNB selection failed;ends|0|same"
    "card-lnb-10600|both|card=fail:setLnbFrequency:10600|window;find 0;box Error=Set LNB frequency failed;ends|0|same"
    "card-lnb-5150|both|list=cband card=fail:setLnbFrequency:5150|window;find 0;box Error=Set LNB frequency failed;ends|0|same"
    "card-lnb-9750-then-5150|both|list=cband card=fail:setLnbFrequency:9750|window;find 0;tuned 3875;close|0|same"
    "card-polarity|both|card=fail:setPolarity|window;find 0;box Error=Set polarity failed;ends|0|same"
    "card-symbol-rate|both|card=fail:setSymbolRate|window;find 0;box Error=Set symbol rate failed;ends|0|same"
    "card-frequency|both|card=fail:setTransponderFrequency|window;find 0;box Error=Set transponder frequency failed;ends|0|same"
    "card-apply-tuning|both|card=fail:applyTuning|$FIND0;speak;wait 2;close|0|same"
    "card-reads|both|card=fail:refreshMeasurement card=fail:getQuality card=fail:getSnr|$FIND0;speak;wait 2;close|0|same"
    "no-data|quick-wine|nodata|$CREATE_Q;$NO_FILE;window;close|0|absent"
    "no-list-no|both|list=none|$CREATE_Q=Tab Return;window;close|0|absent"
    "no-list-yes|both|list=none|$CREATE_Q;$FIND0;close|0|default"
    "list-empty|both|list=empty|window;find -1;box Attention!=Please shoose the satellite!;close|0|same"
    "list-garbage-1MiB|quick-wine|list=garbage|window;find 0;$BAD_FREQ;close|0|same"
    "list-32767-entries|both|list=many|window;find 2;tuned 10723;close|0|same"
    "list-out-of-range|both|list=ranges|window;find 0;$BAD_FREQ;find 1;$BAD_FREQ;find 2;$BAD_FREQ;find 3;$BAD_FREQ;find 4;$BAD_RATE;find 5;$BAD_RATE;find 6;$BAD_RATE;find 7;$BAD_FREQ;find 8;$BAD_FREQ;find 9;$BAD_FREQ;find 10;$BAD_FREQ;find 11;$BAD_FREQ;find 12;$BAD_RATE;find 13;tuned 3400;close|0|same"
    "list-nul-bytes|both|list=nul|window;find 1;tuned 10723;close|0|same"
    "list-crlf|both|list=crlf|window;find 3;tuned 12465;close|0|same"
    "list-no-final-semicolon|both|list=nosemi|window;find 1;tuned 10723;close|0|same"
    "readonly-no-list|quick-wine|list=none readonly|$CREATE_Q;$NO_FILE;window;close|0|absent"
    "readonly-list|both|readonly|$FIND0;close|0|same"
    "full-disk|quick-wine|list=none fulldisk|$CREATE_Q;$NO_FILE;window;close|0|absent"
    "no-sound-device|quick-wine|nosound|$FIND0;speak;wait 2;close|0|same"
    "sound-server-gone|linux|soundserver card=poll:locked:57:9.5|$FIND0;sound on;server kill;wait 3;server start;wait 2;sound on;close|0|same"
)
# Every clip fault on each of the 21 clips, a case each: the slot stays empty and silent, and
# measuring goes on with the digit or tone it holds. --quick: one case with fault i on clip 5i
# (mod 21), which covers both languages and the tone, speaking the digits 5 and 4.
CLIP_KINDS=(missing empty truncated random 24bit 3channels folder fifo)
CLIPS=(0ru 1ru 2ru 3ru 4ru 5ru 6ru 7ru 8ru 9ru 0en 1en 2en 3en 4en 5en 6en 7en 8en 9en tone)

quick=0 linux_bins=() wine_bin="$root/build/windows/bin/vintorel.exe" prefix="" pattern=""
while [ $# -gt 0 ]; do
    case $1 in
    --quick) quick=1 ;;
    --linux) linux_bins+=("$2"); shift ;;
    --no-linux) linux_bins=(none) ;;
    --wine) wine_bin=$2; shift ;;
    --no-wine) wine_bin="" ;;
    --prefix) prefix=$2; shift ;;
    --side) side=$2; shift ;; # internal: run one side's cases in this process
    --shard) shard=$2; shift ;; # internal, with --side: only cases I, I+N, ... (I/N, from 0)
    -*) echo "usage: $0 [--quick] [--linux PROGRAM|--no-linux] [--wine PROGRAM.exe|--no-wine] [--prefix DIR] [REGEX]" >&2; exit 2 ;;
    *) pattern=$1 ;;
    esac
    shift
done

# The clip rows, made from the two lists above.
clip_rows() {
    local i clip steps quality setup=""
    if [ "$quick" = 1 ]; then
        for i in "${!CLIP_KINDS[@]}"; do
            setup+="clip=${CLIPS[$(((i * 5) % ${#CLIPS[@]}))]}:${CLIP_KINDS[$i]} "
        done
        echo "clips-broken|quick-wine|${setup}card=poll:locked:54:9.5|$FIND0;wait 1;speak;wait 1;russian;wait 1;close|0|same"
        return
    fi
    for kind in "${CLIP_KINDS[@]}"; do
        for clip in "${CLIPS[@]}"; do
            case $clip in
            tone) steps="$FIND0;wait 2;close" ;;
            *ru) steps="$FIND0;russian;speak;wait 2;close" ;;
            *) steps="$FIND0;speak;wait 2;close" ;;
            esac
            # The reading's first digit is the clip's ("zero" comes second, in 10).
            quality=${clip:0:1}${clip:0:1}
            [ "${clip:0:1}" = 0 ] && quality=10
            [ "$clip" = tone ] && quality=57
            echo "clip-$kind-$clip|both|clip=$clip:$kind card=poll:locked:$quality:9.5|$steps|0|same"
        done
    done
}

[ ${#linux_bins[@]} -gt 0 ] || linux_bins=("$root/build/sanitize/bin/vintorel")
linux_bin=""
for candidate in "${linux_bins[@]}"; do
    [ "$candidate" != none ] || break
    if [ -f "$candidate" ]; then linux_bin=$candidate; break; fi
done

if [ -z "${side:-}" ]; then
    # Both sides, each in a process of its own (the end-to-end helpers hold one program each).
    rc=0 out=$(mktemp)
    args=()
    [ "$quick" = 1 ] && args+=(--quick)
    [ -n "$pattern" ] && args+=("$pattern")
    # The two sides at once, each on an X server of its own; the Wine side's lines follow.
    wine_out=$(mktemp)
    trap 'rm -f "$out" "$wine_out"' EXIT
    wine_side=""
    if [ -n "$wine_bin" ]; then
        if ! command -v wine >/dev/null; then
            echo "SKIP wine: Wine is not installed" >"$wine_out"
        elif [ ! -f "$wine_bin" ]; then
            echo "SKIP wine: no $wine_bin (cmake --preset windows && cmake --build build/windows)" >"$wine_out"
        else
            prefix=${prefix:-$(dirname "$(dirname "$wine_bin")")/wine-prefix}
            (
                SECONDS=0
                if ! bash "$root/tests/wine/prefix.sh" "$prefix" "$(dirname "$wine_bin")" >/dev/null; then
                    echo "FAIL wine: no Wine prefix at $prefix (tests/wine/prefix.sh)"
                else
                    echo "wine: $wine_bin"
                    WINEPREFIX=$prefix VINTOREL_BIN=$wine_bin bash "$0" --side wine "${args[@]}" ||
                        echo "FAIL wine: the side ended with an error"
                fi
                echo "wine: $SECONDS s"
            ) >"$wine_out" 2>&1 &
            wine_side=$!
        fi
    fi
    SECONDS=0
    if [ -n "$linux_bin" ]; then
        echo "linux: $linux_bin"
        # Natively in two halves at once (cases alternating), each on an X server of its own:
        # most of a case is waiting for the program.
        linux_out=$(mktemp)
        trap 'rm -f "$out" "$wine_out" "$linux_out"' EXIT
        VINTOREL_BIN=$linux_bin bash "$0" --side linux --shard 1/2 "${args[@]}" >"$linux_out" 2>&1 &
        linux_half=$!
        VINTOREL_BIN=$linux_bin bash "$0" --side linux --shard 0/2 "${args[@]}" | tee -a "$out" || rc=1
        wait "$linux_half" || rc=1
        tee -a "$out" <"$linux_out"
    elif [ "${linux_bins[0]}" != none ]; then
        echo "FAIL linux: no program at ${linux_bins[*]} (cmake --preset sanitize && cmake --build build/sanitize)" | tee -a "$out"
    fi
    echo "linux: $SECONDS s"
    [ -z "$wine_side" ] || wait "$wine_side" || rc=1
    tee -a "$out" <"$wine_out"
    echo "faults: $(grep -c '^PASS' "$out" || true) passed, $(grep -c '^FAIL' "$out" || true) failed," \
        "$(grep -c '^SKIP' "$out" || true) skipped"
    grep -q '^FAIL' "$out" && rc=1
    exit "$rc"
fi

# --- One side: every case against VINTOREL_BIN. ---
[ -f "$VINTOREL_BIN" ] || { echo "FAIL $side: no program $VINTOREL_BIN"; exit 1; }
VINTOREL_BIN=$(realpath "$VINTOREL_BIN")
source "$root/tests/e2e/lib.sh"
e2e_start_x >/dev/null
export VINTOREL_TUNER=sim
NEXT=(264 122) FLAG=(12 9) SOUND=(30 9) COMBO=(150 70)
DEFAULT_LIST='[Astra 1B-1H,2C   19.2e]=12515h22000;[Eutelsat W4/Sesat   36.0e]=12360h26480;[HotBird 1-6   13.0e]=10723h29900;[Sirius 2/3,Astra 1A   5.0e]=12465h10787;'

# Writes list KIND into file $1.
make_list() {
    local file=$1 kind=$2
    case $kind in
    default) printf '%s' "$DEFAULT_LIST" >"$file" ;;
    empty) : >"$file" ;;
    garbage) python3 -c 'import random,sys; r=random.Random(21); sys.stdout.buffer.write(bytes(r.getrandbits(8) for _ in range(1 << 20)))' >"$file" ;;
    many) python3 -c 'import sys; sys.stdout.write("".join("[Sat %05d]=%dh%d;\n" % (i, (12515, 12360, 10723)[i % 3], (22000, 26480, 29900)[i % 3]) for i in range(32767)))' >"$file" ;;
    ranges)
        # Each entry with one field out of range (or unreadable), then one just in range.
        printf '%s' '[f 3399]=3399h27500;[f 4201]=4201v27500;[f 10699]=10699h27500;[f 15001]=15001h27500;' \
            '[s 999]=12515h999;[s 45001]=12515h45001;[upper H]=12515H22000;[no letter]=1251522000;' \
            '[negative]=-12515h22000;[empty]=h;[eleven digits]=00000000012515h22000;' \
            '[overflow]=99999999999999999999h22000;[s overflow]=12515h99999999999999999999;' \
            "[$(printf 'n%.0s' $(seq 100))]= +3400v+1000" >"$file" ;;
    nul) printf '[Astra\0 19.2e]=12515h22000;\0\0[Hot\0Bird]=10723h29900;' >"$file" ;;
    crlf) printf '%s' "${DEFAULT_LIST//;/;$'\r\n'}" >"$file" ;;
    nosemi) printf '%s' '[A]=12515h22000;[B]=10723h29900' >"$file" ;;
    cband) printf '%s' "[Sirius C band]=3875h27500;$DEFAULT_LIST" >"$file" ;;
    esac
}

# Breaks clip $2 (a name without .vcl) in folder $1 as KIND $3.
break_clip() {
    local data=$1 clip=$2 kind=$3 f="$1/$2.vcl" size
    size=$(stat -c %s "$f")
    case $kind in
    missing) rm -f "$f" ;;
    empty) : >"$f" ;;
    truncated) head -c $((size / 2)) "$root/Data/$clip.vcl" >"$f" ;;
    random) head -c "$size" /dev/urandom >"$f" ;;
    24bit | 3channels)
        command -v flac >/dev/null || return 1
        local ch=1 bps=24
        [ "$kind" = 3channels ] && ch=3 bps=16
        head -c $((ch * bps / 8 * 8000)) /dev/urandom >"$data/raw"
        flac -s -f --force-raw-format --endian=little --sign=signed --channels=$ch --bps=$bps \
            --sample-rate=44100 -o "$f" "$data/raw"
        rm -f "$data/raw" ;;
    folder) rm -f "$f"; mkdir "$f" ;;
    fifo) rm -f "$f"; mkfifo "$f" ;;
    esac
}

# The program's own process: in a mount namespace a shell waits for it there (see start_program).
program_pid() {
    if [ -s "$CASE/pid" ]; then cat "$CASE/pid"; else echo "$APP_PID"; fi
}

# The boxes shown now, one "CAPTION<tab>TEXT" line each (Linux: the layer's window list).
shown_boxes() {
    rm -f "$CASE/tree.json"
    kill -USR1 "$(program_pid)" 2>/dev/null || return 0
    for _ in $(seq 50); do [ -s "$CASE/tree.json" ] && break; sleep 0.1; done
    python3 - "$CASE/tree.json" <<'PY'
import json, sys
windows = json.load(open(sys.argv[1], encoding="utf-8"))["windows"]
for box in (w for w in windows if w["class"] == "#32770"):
    texts = [w["text"] for w in windows if w["parent"] == box["hwnd"] and w["class"] == "Static" and w["text"]]
    print(box["text"] + "\t" + " ".join(texts))
PY
}

# Records what the sound server plays for $1 seconds; 0 when something was heard.
heard() {
    local rec="$CASE/heard.raw"
    timeout "$1" parec --latency-msec=100 -d faults.monitor --raw --format=s16le --channels=1 --rate=8000 >"$rec" 2>/dev/null || true
    python3 - "$rec" <<'PY'
import array, sys
a = array.array("h", open(sys.argv[1], "rb").read()[: (1 << 20) & ~1])
sys.exit(0 if a and max(abs(x) for x in a) > 300 else 1)
PY
}

server_start() {
    HOME="$PULSE_HOME" pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
        --disable-shm=yes -L "module-null-sink sink_name=faults" -L module-native-protocol-unix \
        >>"$CASE/pulse.log" 2>&1 &
    SERVER_PID=$!
    for _ in $(seq 50); do pactl info >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}

# Selects entry $1 of the satellite list (counting from the one selected before) and presses
# FIND>; -1: FIND> with nothing selected.
find_entry() {
    local n=$1 keys=()
    if [ "$n" -ge 0 ]; then
        e2e_click "$ID" "${COMBO[@]}"
        while [ "$SELECTED" -lt "$n" ]; do keys+=(Down); SELECTED=$((SELECTED + 1)); done
        [ ${#keys[@]} -eq 0 ] || xdotool key --clearmodifiers "${keys[@]}"
        sleep 0.1
    fi
    e2e_click "$ID" "${NEXT[@]}"
}

# One step of a case; a failure ends the case's subshell with its reason.
step() {
    local s=$1 arg=${1#* }
    case $s in
    box\ *)
        local spec=${s#box } caption text keys b seen
        caption=${spec%%=*}
        text=${spec#*=}
        keys=Return
        [[ "$text" == *=* ]] && { keys=${text#*=}; text=${text%%=*}; }
        b=$(e2e_wait_window "^$(printf '%s' "$caption" | sed 's/[][\.*^$()+?{}|]/\\&/g')\$" 10)
        if [ "$E2E_WINE" = 0 ]; then
            seen=$(shown_boxes)
            [ "$seen" = "$caption"$'\t'"$text" ] || fail "box '$caption: $text' expected, shown: ${seen:-none}"
        fi
        WINE_TEXTS+=("$text")
        # shellcheck disable=SC2086
        e2e_answer_box "$b" $keys ;;
    window) ID=$(e2e_wait_window '^V i n t o r e l$' 20); sleep 0.3 ;;
    find\ *) find_entry "$arg" ;;
    tuned\ *) e2e_wait_log_tail "$CASE/card.log" "setTransponderFrequency $arg -> 0x00000000" ;;
    speak) e2e_click "$ID" "${SOUND[@]}" ;;
    russian) e2e_click "$ID" "${FLAG[@]}" ;;
    wait\ *)
        local before after
        before=$(grep -c '^applyTuning' "$CASE/card.log" || true)
        sleep "$arg"
        kill -0 "$APP_PID" 2>/dev/null || { e2e_wait_exit 1; fail "the program ended while measuring (exit code $APP_RC)"; }
        after=$(grep -c '^applyTuning' "$CASE/card.log" || true)
        [ "$after" -gt "$before" ] || fail "measuring stopped (no poll in ${arg}s)" ;;
    sound\ on) heard 3 || fail "no sound reached the sound server" ;;
    server\ kill) kill -9 "$SERVER_PID"; wait "$SERVER_PID" 2>/dev/null || true ;;
    server\ start) server_start || fail "the sound server did not start again" ;;
    close)
        if [ "$E2E_WINE" = 0 ]; then
            local seen
            seen=$(shown_boxes)
            [ -z "$seen" ] || fail "unexpected box: $seen"
        fi
        e2e_close "$ID"
        e2e_wait_exit 20 ;;
    ends) e2e_wait_exit 20 ;;
    *) fail "unknown step '$s'" ;;
    esac
}

# Starts the program for the case, inside a private mount namespace when the setup needs one.
start_program() {
    local mounts=$1
    if [ -z "$mounts" ]; then
        e2e_start_app "$WORK"
        return
    fi
    # Under Wine the server opens the files, so it must run in the namespace too: the shared
    # one is stopped and the program starts a private one there.
    if [ "$E2E_WINE" = 1 ]; then
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        : >"$E2E_TMP/restart-wineserver"
    fi
    local run=(unshare -m --)
    [ "$(id -u)" = 0 ] || run=(unshare -rm --)
    local launcher=("$VINTOREL_BIN")
    [ "$E2E_WINE" = 1 ] && launcher=("$E2E_WINE_LOADER" "$VINTOREL_BIN")
    # The list is only seen in the namespace: a copy of it (if any) is left in list.after.
    local then='"$@" & echo $! >../pid; wait $! && rc=0 || rc=$?
        [ ! -e Data/satellite.ini ] || cp Data/satellite.ini ../list.after; exit $rc'
    (cd "$WORK" && exec "${run[@]}" bash -c "$mounts && { $then; }" mounts "${launcher[@]}") \
        >"$E2E_TMP/app.out" 2>&1 &
    APP_PID=$! LIST_AFTER="$CASE/list.after"
}

# The shell commands that make the case's mounts (run in the namespace, in the work folder).
mounts_for() {
    case $1 in
    readonly) echo 'mount --bind Data Data && mount -o remount,bind,ro Data' ;;
    fulldisk)
        # Room for the clips and nothing more: the list's first write finds the disk full.
        echo 'mkdir -p ../clips && cp Data/* ../clips/ && mount -t tmpfs -o size=512k tmpfs Data &&
              cp ../clips/* Data/ && { dd if=/dev/zero of=Data/filler bs=4k 2>/dev/null || true; }' ;;
    esac
}

# One case: $1 name, $2 setup, $3 steps, $4 exit code, $5 list state. Prints its verdict line.
run_case() {
    local name=$1 setup=$2 steps=$3 want_rc=$4 want_list=$5
    CASE="$E2E_TMP/cases/$name"
    WORK="$CASE/work dir ä"
    LIST_AFTER=""
    mkdir -p "$WORK/Data"
    cp "$root"/Data/*.vcl "$WORK/Data/"
    make_list "$WORK/Data/satellite.ini" default
    : >"$CASE/card.script"
    local token mounts="" list_kind=default
    export ALSOFT_DRIVERS=null ALSOFT_CONF=/dev/null
    for token in $setup; do
        case $token in
        list=none) rm -f "$WORK/Data/satellite.ini"; list_kind=none ;;
        list=*) list_kind=${token#list=}; make_list "$WORK/Data/satellite.ini" "$list_kind" ;;
        card=*) echo "${token#card=}" | tr ':' ' ' >>"$CASE/card.script" ;;
        clip=*)
            local c=${token#clip=}
            break_clip "$WORK/Data" "${c%%:*}" "${c#*:}" || { echo "SKIP $side $name: flac (the encoder) is not installed"; return 0; } ;;
        nodata) rm -rf "$WORK/Data" ;;
        readonly | fulldisk)
            if ! { [ "$(id -u)" = 0 ] && unshare -m true 2>/dev/null; } && ! unshare -rm true 2>/dev/null; then
                echo "SKIP $side $name: no private mount namespace here (neither unshare -m as root nor unshare -rm)"
                return 0
            fi
            mounts=$(mounts_for "$token") ;;
        nosound)
            if [ "$E2E_WINE" = 1 ]; then
                export WINEDLLOVERRIDES="mscoree,mshtml=,winealsa.drv,winepulse.drv,wineoss.drv=d"
            else
                export ALSOFT_DRIVERS=vintorel-no-such-backend
            fi ;;
        soundserver)
            command -v pulseaudio >/dev/null && command -v parec >/dev/null || {
                echo "SKIP $side $name: PulseAudio is not installed (scripts/install-deps.sh --test)"
                return 0
            }
            PULSE_HOME="$CASE/pulse home" XDG_RUNTIME_DIR="$CASE/pulse-runtime"
            mkdir -p -m 700 "$PULSE_HOME" "$XDG_RUNTIME_DIR"
            export XDG_RUNTIME_DIR PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native" ALSOFT_DRIVERS=pulse
            server_start || { echo "FAIL $side $name: PulseAudio does not start (see $CASE/pulse.log)"; return 0; } ;;
        esac
    done
    [ "$E2E_WINE" = 1 ] && [ "$ALSOFT_DRIVERS" = null ] && e2e_capture_sound "$CASE/sound.wav"
    VINTOREL_SIM_SCRIPT=$(e2e_path "$CASE/card.script")
    VINTOREL_SIM_LOG=$(e2e_path "$CASE/card.log")
    export VINTOREL_SIM_SCRIPT VINTOREL_SIM_LOG VINTOREL_WINDOW_TREE="$CASE/tree.json"
    export ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0:log_path=$CASE/sanitizer"
    export LSAN_OPTIONS="suppressions='$root/tests/sanitizer/lsan.supp':print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$CASE/sanitizer:suppressions='$root/tests/sanitizer/ubsan.supp'"
    [ -f "$WORK/Data/satellite.ini" ] && cp "$WORK/Data/satellite.ini" "$CASE/list.before"
    : >"$CASE/card.log"

    start_program "$mounts"
    WINE_TEXTS=() SELECTED=-1 ID="" APP_RC=""
    local s
    IFS=';' read -r -a step_list <<<"$steps"
    for s in "${step_list[@]}"; do step "$s"; done
    [ -n "$APP_RC" ] || fail "the program did not end"
    [ "$APP_RC" = "$want_rc" ] || fail "exit code $APP_RC, expected $want_rc"
    if compgen -G "$CASE/sanitizer*" >/dev/null; then fail "sanitizer report: $(head -c 300 "$CASE"/sanitizer* | tr '\n' ' ')"; fi
    ! grep -q -E 'runtime error:|ERROR: (Address|Leak)Sanitizer' "$E2E_TMP/app.out" || fail "sanitizer report in the output"
    if [ "$E2E_WINE" = 1 ]; then
        local shown expected
        shown=$(sed -n 's/.*trace:msgbox:MSGBOX_OnInit L"\(.*\)"\r\?$/\1/p' "$E2E_TMP/app.out")
        expected=$(printf '%s\n' ${WINE_TEXTS[@]+"${WINE_TEXTS[@]}"} | sed '/^$/d')
        [ "$shown" = "$expected" ] || fail "boxes shown: $(echo "$shown" | tr '\n' '/'), expected: $(echo "$expected" | tr '\n' '/')"
    fi
    local list=${LIST_AFTER:-$WORK/Data/satellite.ini}
    case $want_list in
    same) cmp -s "$CASE/list.before" "$list" || fail "satellite.ini changed" ;;
    default) [ "$(cat "$list" 2>/dev/null)" = "$DEFAULT_LIST" ] || fail "satellite.ini is not the default list" ;;
    absent) [ ! -e "$list" ] || fail "satellite.ini exists ($(stat -c %s "$list") bytes)" ;;
    esac
    [ "$list_kind" != none ] || [ "$want_list" != same ] || fail "table: a case without a list cannot keep it"
    return 0
}

case_result() {
    local name=$1
    shift
    local rc=0 out="$E2E_TMP/case.out"
    (
        fail() { echo "$*" >"$E2E_TMP/reason"; exit 1; }
        trap 'kill "$(program_pid)" "$APP_PID" "${SERVER_PID:-}" 2>/dev/null || true' EXIT
        run_case "$name" "$@"
    ) >"$out" 2>&1 || rc=$?
    if [ -f "$E2E_TMP/restart-wineserver" ]; then
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        wineserver -p
        rm -f "$E2E_TMP/restart-wineserver"
    fi
    if grep -q "^SKIP\|^FAIL $side" "$out"; then
        grep "^SKIP\|^FAIL $side" "$out"
    elif [ "$rc" = 0 ]; then
        echo "PASS $side $name"
    else
        echo "FAIL $side $name: $(cat "$E2E_TMP/reason" 2>/dev/null || tail -3 "$out" | tr '\n' ' ')"
        cat "$E2E_TMP/cases/$name"/sanitizer* 2>/dev/null | head -30 | sed 's/^/    | /' || true
        [ ! -s "$E2E_TMP/app.out" ] || sed 's/^/    | /' "$E2E_TMP/app.out" | grep -v 'trace:msgbox' | tail -15 || true
    fi
    rm -f "$E2E_TMP/reason"
    [ -z "${FAULTS_KEEP:-}" ] || cp -r "$E2E_TMP/cases/$name" "$FAULTS_KEEP/$side-$name" 2>/dev/null || true
    rm -rf "$E2E_TMP/cases/$name"
}

mapfile -t clip_list < <(clip_rows)
index=-1
for row in "${CASES[@]}" "${clip_list[@]}"; do
    IFS='|' read -r name where setup steps rc list <<<"$row"
    [ -z "$pattern" ] || [[ "$name" =~ $pattern ]] || continue
    index=$((index + 1))
    [ -z "${shard:-}" ] || [ $((index % ${shard#*/})) = "${shard%/*}" ] || continue
    if [ "$E2E_WINE" = 1 ]; then
        [ "$where" = linux ] && continue
        [ "$quick" = 1 ] && [ "$where" != quick-wine ] && continue
    fi
    case_result "$name" "$setup" "$steps" "$rc" "$list"
done
