#!/usr/bin/env bash
# One side of the screen gallery: drives the real program (Linux, or Windows under Wine, as
# tests/e2e/lib.sh starts it) through every screen a person meets and keeps, for each, a
# picture of the whole screen (NAME.png) and the list of windows shown (NAME.json: from the
# Linux layer's window list, VINTOREL_WINDOW_TREE, or from wintree.exe under Wine).
#   capture.sh PROGRAM OUT_DIR [WINTREE_EXE]
# The screens: step 0 in both modes, steps 1 and 2, measuring with and without a signal, the
# compact view, each in English and Russian; the dropped list; the first-start question; every
# warning box of the wizard and the list (in both languages), "Cannot create file
# satellite.ini", the About box and the "Error" box without a card.
VINTOREL_BIN=$(realpath "$1")
OUT=$(realpath -m "$2")
WINTREE=${3:+$(realpath "$3")}
source "$(dirname "$0")/../e2e/lib.sh"
command -v import >/dev/null || { echo "SKIP: ImageMagick's import is missing"; exit 77; }
if [ "$E2E_WINE" = 1 ] && [ ! -f "$WINTREE" ]; then
    echo "SKIP: no wintree.exe (the windows build makes it)"
    exit 77
fi
mkdir -p "$OUT"
rm -f "$OUT"/*.png "$OUT"/*.json
e2e_start_x
export VINTOREL_TUNER=sim
tree="$E2E_TMP/tree.json"
export VINTOREL_WINDOW_TREE="$tree"

# Client coordinates of the controls in the 334 x 144 window.
MODE=(66 122) NEXT=(264 122) FLAG=(12 9) EDIT=(125 70) ARROW=(285 70) COMBO=(150 70) BODY=(150 30)

# Keeps the screen and the window list as NAME.
shot() {
    sleep 0.6
    import -window root "$OUT/$1.png" || fail "no screenshot $1"
    if [ "$E2E_WINE" = 1 ]; then
        wine "$WINTREE" "V i n t o r e l" >"$OUT/$1.json" 2>/dev/null || fail "no window list for $1"
    else
        rm -f "$tree"
        kill -USR1 "$APP_PID"
        for _ in $(seq 50); do [ -s "$tree" ] && break; sleep 0.1; done
        [ -s "$tree" ] || fail "no window list for $1"
        mv "$tree" "$OUT/$1.json"
    fi
    echo "shot: $1"
}

# Waits for the message box captioned $1, keeps it as $2, then answers it with keys $3...
box() {
    local caption=$1 name=$2 b
    shift 2
    b=$(e2e_wait_window "^$caption\$")
    shot "$name"
    e2e_answer_box "$b" "$@"
    sleep 0.4
}

# Both languages of the screen now shown: NAME-en, then the flag, NAME-ru, and back.
both() {
    shot "$1-en"
    e2e_click "$id" "${FLAG[@]}"
    shot "$1-ru"
    e2e_click "$id" "${FLAG[@]}"
}

# Both languages of the box that clicking at ($2, $3) brings up, captioned $4 / $5.
box_both() {
    local name=$1 x=$2 y=$3 en=$4 ru=$5
    e2e_click "$id" "$x" "$y"
    box "$en" "$name-en" Return
    e2e_click "$id" "${FLAG[@]}"
    e2e_click "$id" "$x" "$y"
    box "$ru" "$name-ru" Return
    e2e_click "$id" "${FLAG[@]}"
}

# Replaces the edit box's text by $1.
retype() { e2e_retype "$id" "${EDIT[@]}" "$1"; }

# The Russian caption: Cyrillic letters, or under Wine the same bytes read as Windows-1252.
ru_attention='[^A-Za-z ]+!'
stop_app() {
    kill "$APP_PID" 2>/dev/null || true
    wait "$APP_PID" 2>/dev/null || true
    if [ "$E2E_WINE" = 1 ]; then wineserver -k 2>/dev/null || true; wineserver -w; e2e_start_wineserver; fi
}

# 1. The default list and a card with a signal: the wizard in both modes, its boxes, measuring.
work="$E2E_TMP/work"
e2e_default_list "$work"
echo "poll locked 57 11.2" >"$E2E_TMP/locked.script"
VINTOREL_SIM_SCRIPT=$(e2e_path "$E2E_TMP/locked.script")
export VINTOREL_SIM_SCRIPT
e2e_start_app "$work"
id=$(e2e_wait_window '^V i n t o r e l$')
sleep 0.5
both step0-mode0
e2e_click "$id" "${ARROW[@]}"
shot list-dropped
xdotool key --clearmodifiers Escape
sleep 0.4
box_both box-choose-satellite "${NEXT[@]}" 'Attention!' "$ru_attention"
e2e_click "$id" "${MODE[@]}"
both step0-mode1
retype 99
box_both box-frequency "${NEXT[@]}" ' Attention! ' "$ru_attention"
retype 12245
e2e_click "$id" "${NEXT[@]}"
both step1
retype 1
box_both box-symbol-rate "${NEXT[@]}" 'Attention!' "$ru_attention"
retype 27500
e2e_click "$id" "${NEXT[@]}"
both step2
e2e_click "$id" "${NEXT[@]}"
sleep 2.5 # four announce ticks: the S/N text is refreshed too
both measuring
e2e_double_click "$id" "${BODY[@]}"
both compact
e2e_double_click "$id" "${BODY[@]}"
e2e_click "$id" "${NEXT[@]}" # About, where FIND> was
box About box-about Return
stop_app

# 2. No list: the first-start question (answered No), "MODE 0" without a list, and measuring
# without a signal.
rm -f "$work/Data/satellite.ini"
echo "poll unlocked" >"$E2E_TMP/unlocked.script"
VINTOREL_SIM_SCRIPT=$(e2e_path "$E2E_TMP/unlocked.script")
e2e_start_app "$work"
box 'Warning!' box-create-list Tab Return
id=$(e2e_wait_window '^V i n t o r e l$')
sleep 0.5
box_both box-no-list "${MODE[@]}" 'Attention!' "$ru_attention"
e2e_click "$id" "${NEXT[@]}"
e2e_click "$id" "${NEXT[@]}"
e2e_click "$id" "${NEXT[@]}"
sleep 2.5
both measuring-no-signal
stop_app

# 3. A list with out-of-range entries: the list's own warnings.
printf '%s' "[Too low   1.0e]=99h22000;[Too slow   2.0e]=12515h1;" >"$work/Data/satellite.ini"
e2e_start_app "$work"
id=$(e2e_wait_window '^V i n t o r e l$')
sleep 0.5
e2e_click "$id" "${COMBO[@]}"
xdotool key --clearmodifiers Down
box_both box-list-frequency "${NEXT[@]}" ' Attention! ' "$ru_attention"
e2e_click "$id" "${COMBO[@]}"
xdotool key --clearmodifiers Down
box_both box-list-symbol-rate "${NEXT[@]}" 'Attention!' "$ru_attention"
stop_app

# 4. No Data folder, and Yes to the question: the list cannot be written.
nodata="$E2E_TMP/nodata"
mkdir -p "$nodata"
e2e_start_app "$nodata"
box 'Warning!' box-create-list-yes Return
box 'Error!' box-cannot-create Return
stop_app

# 5. No card: the "Error" box, after which the program ends.
if [ "$E2E_WINE" = 1 ]; then e2e_unregister_card; else export VINTOREL_TUNER=none; fi
e2e_start_app "$work"
box Error box-no-card Return
e2e_wait_exit
[ "$E2E_WINE" = 1 ] && e2e_register_card
echo "captured $(ls "$OUT"/*.json | wc -l) screens in $OUT"
