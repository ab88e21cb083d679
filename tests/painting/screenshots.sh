#!/usr/bin/env bash
# End to end: what the window shows, as screenshots of the real binary with the simulated card.
#   1. step 0 in "MODE 0" and "MODE 1"; the flag switches the prompt to Russian and back;
#   2. the measuring step: green lamp with a signal, in English and in Russian;
#   3. the sound icon shows the other picture after a click;
#   4. the compact view (double-click on the window) and back.
# With VINTOREL_UPDATE_SCREENSHOTS=1 the pictures are written to the folder given as $2 (docs/),
# otherwise they stay in a temporary folder.
VINTOREL_BIN=$1
DOCS=${2:-}
source "$(dirname "$0")/../e2e/lib.sh"
command -v import >/dev/null || { echo "SKIP: ImageMagick's import is missing"; exit 0; }
e2e_start_x
export VINTOREL_TUNER=sim
work="$E2E_TMP/work"
e2e_default_list "$work"
echo "poll locked 57 11.2" >"$E2E_TMP/card.script"
export VINTOREL_SIM_SCRIPT="$E2E_TMP/card.script"
shots="$E2E_TMP/shots"
mkdir -p "$shots"

# Client coordinates of the controls in the 334 x 144 window.
MODE=(66 122) NEXT=(264 122) FLAG=(12 9) SOUND=(30 9)

# Saves a picture of window $1 as $2.png.
shot() {
    sleep 0.4
    import -window "$1" "$shots/$2.png" || fail "no screenshot $2"
}

# The colour of pixel ($2, $3) of picture $1 as RRGGBB.
pixel() {
    convert "$shots/$1.png" -crop "1x1+$2+$3" -depth 8 txt:- |
        sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | head -1 | tr a-f A-F
}

# A checksum of the area WxH+X+Y of picture $1.
area() {
    convert "$shots/$1.png" -crop "$2" -depth 8 rgb:- | md5sum | cut -d' ' -f1
}

e2e_start_app "$work"
id=$(e2e_wait_window '^V i n t o r e l$')
sleep 0.5

# 1
shot "$id" step0-mode0-en
[ "$(pixel step0-mode0-en 0 0)" = 96AABE ] || fail "background is not RGB(150, 170, 190)"
[ "$(pixel step0-mode0-en 1 1)" = E6E6E6 ] || fail "no window frame"
e2e_click "$id" "${MODE[@]}"
shot "$id" step0-mode1-en
[ "$(area step0-mode0-en 264x49+33+7)" != "$(area step0-mode1-en 264x49+33+7)" ] ||
    fail "the prompt did not change with the entry mode"
e2e_click "$id" "${FLAG[@]}"
shot "$id" step0-mode1-ru
[ "$(area step0-mode1-en 18x12+3+3)" != "$(area step0-mode1-ru 18x12+3+3)" ] ||
    fail "the flag did not change"
[ "$(area step0-mode1-en 264x49+33+7)" != "$(area step0-mode1-ru 264x49+33+7)" ] ||
    fail "the prompt did not change to Russian"
e2e_click "$id" "${FLAG[@]}"
shot "$id" step0-mode1-en-again
[ "$(area step0-mode1-en 334x100+0+0)" = "$(area step0-mode1-en-again 334x100+0+0)" ] ||
    fail "a second click on the flag did not bring the English picture back"
echo "ok: step 0 in both modes, the flag switches the prompt and back"

# 2
e2e_click "$id" "${NEXT[@]}" # frequency 12245 as shown
e2e_click "$id" "${NEXT[@]}" # symbol rate 27500 as shown
e2e_click "$id" "${NEXT[@]}" # horizontal: tune and measure
sleep 3                      # four announce ticks: the S/N text is refreshed too
shot "$id" measuring-en
[ "$(pixel measuring-en 280 70)" = 00FF00 ] || fail "the lamp is not green while measuring"
[ "$(pixel measuring-en 100 80)" = E6F0FF ] || fail "no quality bar"
e2e_click "$id" "${FLAG[@]}"
shot "$id" measuring-ru
[ "$(area measuring-en 264x28+33+28)" != "$(area measuring-ru 264x28+33+28)" ] ||
    fail "the caption did not change to Russian"
[ "$(pixel measuring-ru 280 70)" = 00FF00 ] || fail "the lamp is not green in Russian"
echo "ok: measuring with a green lamp and a bar, in English and Russian"

# 3
e2e_click "$id" "${SOUND[@]}"
shot "$id" measuring-ru-voice
[ "$(area measuring-ru 12x12+24+3)" != "$(area measuring-ru-voice 12x12+24+3)" ] ||
    fail "the sound icon did not change"
e2e_click "$id" "${SOUND[@]}"
shot "$id" measuring-ru-tone
[ "$(area measuring-ru 12x12+24+3)" = "$(area measuring-ru-tone 12x12+24+3)" ] ||
    fail "a second click did not bring the first sound icon back"
echo "ok: the sound icon switches its picture and back"

# 4
e2e_double_click "$id" 300 20
sleep 1
[ "$(e2e_size "$id")" = "918x144" ] || fail "compact view is $(e2e_size "$id"), not 918x144"
shot "$id" compact-ru
[ "$(pixel compact-ru 850 90)" = 00FF00 ] || fail "the lamp is not green in the compact view"
e2e_click "$id" "${FLAG[@]}"
shot "$id" compact-en
[ "$(area compact-ru 18x12+3+3)" != "$(area compact-en 18x12+3+3)" ] ||
    fail "the flag did not change in the compact view"
e2e_double_click "$id" 300 20
sleep 1
[ "$(e2e_size "$id")" = "334x144" ] || fail "normal view is $(e2e_size "$id") after the compact view"
echo "ok: compact view with the lamp at the right, and back"

e2e_keys "$id" Escape
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC"

if [ "${VINTOREL_UPDATE_SCREENSHOTS:-}" = 1 ] && [ -n "$DOCS" ]; then
    mkdir -p "$DOCS"
    for name in step0-mode0-en step0-mode1-en step0-mode1-ru measuring-en measuring-ru \
        compact-en compact-ru; do
        cp "$shots/$name.png" "$DOCS/screenshot-$name.png"
    done
    echo "screenshots written to $DOCS"
fi
echo "1 passed, 0 failed"
