#!/usr/bin/env bash
# End to end: what the window manager is told about the main window, and real double-clicks.
#   1. WM_NORMAL_HINTS: the minimum and maximum size are the 334 x 144 client area (no sizing);
#      _MOTIF_WM_HINTS: move, minimise and close, no resize or maximise function, no resize
#      handles or maximise button; _NET_WM_ICON: the program's icon (resource 168), 32 and 16 px;
#   2. a double-click on the language flag flips it once, a second one flips it back;
#   3. at the measuring step a double-click on the sound icon flips it once, and a double-click
#      on the window itself switches to the wide view and back.
# Xvfb runs no window manager, so these are the properties the program itself sets.
VINTOREL_BIN=$1
ICON=$2
source "$(dirname "$0")/lib.sh"
for tool in xprop import python3; do
    command -v "$tool" >/dev/null || fail "$tool is needed for this check"
done
e2e_start_x
export VINTOREL_TUNER=sim
work="$E2E_TMP/work"
e2e_default_list "$work"
e2e_start_app "$work"
id=$(e2e_wait_window '^V i n t o r e l$')
sleep 0.5

# 1
hints=$(xprop -id "$id" WM_NORMAL_HINTS)
grep -q "minimum size: 334 by 144" <<<"$hints" || fail "minimum size is not 334 x 144: $hints"
grep -q "maximum size: 334 by 144" <<<"$hints" || fail "maximum size is not 334 x 144: $hints"
motif=$(xprop -id "$id" -notype _MOTIF_WM_HINTS | sed 's/.*= //')
IFS=', ' read -r -a m <<<"$motif"
[ "${#m[@]}" -ge 3 ] || fail "no _MOTIF_WM_HINTS: $motif"
flags=$((m[0])) functions=$((m[1])) decorations=$((m[2]))
((flags & 1)) && ((flags & 2)) || fail "_MOTIF_WM_HINTS gives no functions or decorations: $motif"
((functions & 0x4)) && ((functions & 0x8)) && ((functions & 0x20)) ||
    fail "move, minimise or close not allowed: $motif"
((functions & 0x2)) && fail "resizing allowed: $motif"
((functions & 0x10)) && fail "maximising allowed: $motif"
((decorations & 0x4)) && fail "resize handles asked for: $motif"
((decorations & 0x40)) && fail "maximise button asked for: $motif"
xprop -id "$id" -notype -f _NET_WM_ICON 32c _NET_WM_ICON | sed 's/.*= //' >"$E2E_TMP/net_wm_icon"
python3 - "$E2E_TMP/net_wm_icon" "$ICON" <<'PY' || fail "_NET_WM_ICON is not the program's icon"
import struct, sys
values = [int(v) for v in open(sys.argv[1]).read().replace(",", " ").split()]
icons = {}
while len(values) >= 2:
    w, h = values[0], values[1]
    icons[(w, h)] = values[2:2 + w * h]
    values = values[2 + w * h:]
# The .ico file: its 32 x 32 image as the icon directory gives it (BMP data, 4 bits, AND mask).
data = open(sys.argv[2], "rb").read()
count = struct.unpack_from("<H", data, 4)[0]
for i in range(count):
    w, h, colours, _, planes, bpp, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
    if (w, h) != (32, 32):
        continue
    header = struct.unpack_from("<IiiHH", data, offset)
    bits = header[4]
    palette = offset + header[0]
    pixels = palette + 4 * (1 << bits)
    stride = ((32 * bits + 31) // 32) * 4
    mask = pixels + stride * 32
    mask_stride = 4
    expected = []
    for y in range(32):
        row = 31 - y
        for x in range(32):
            byte = data[pixels + row * stride + x * bits // 8]
            index = (byte >> (4 * (1 - x % 2))) & 0xF if bits == 4 else byte
            b, g, r, _ = data[palette + 4 * index:palette + 4 * index + 4]
            transparent = data[mask + row * mask_stride + x // 8] >> (7 - x % 8) & 1
            expected.append(0 if transparent else 0xFF000000 | r << 16 | g << 8 | b)
    got = icons.get((32, 32))
    if got is None or (16, 16) not in icons:
        sys.exit("sizes %s" % sorted(icons))
    differing = sum(1 for a, e in zip(got, expected) if (a >> 24 == 0) != (e == 0) or (e and a != e))
    sys.exit(1 if differing else 0)
sys.exit("no 32 x 32 image in the icon file")
PY
echo "ok: fixed size, no resize or maximise, the program's icon"

# Client coordinates of the controls in the 334 x 144 window.
FLAG=(12 9) SOUND=(30 9) NEXT=(264 122) COMBO=(150 70) READOUT=(150 100)

# The pixels of a rectangle of the window's client area (WIDTHxHEIGHT+X+Y), as a checksum.
pixels() {
    import -window "$id" -crop "$1" +repage rgb:- 2>/dev/null | md5sum
}
# Double-clicks at client coordinates ($1, $2).
# 2
english=$(pixels 18x12+3+3)
e2e_double_click "$id" "${FLAG[@]}"
russian=$(pixels 18x12+3+3)
[ "$russian" != "$english" ] || fail "a double-click on the flag left it as it was (flipped twice?)"
e2e_double_click "$id" "${FLAG[@]}"
[ "$(pixels 18x12+3+3)" = "$english" ] || fail "a second double-click did not bring the flag back"
echo "ok: a double-click on the flag flips it once"

# 3
e2e_click "$id" "${COMBO[@]}"
xdotool key --clearmodifiers Down
sleep 0.3
e2e_click "$id" "${NEXT[@]}"                    # "FIND>": measuring
sleep 0.8
tone=$(pixels 12x12+24+3)
e2e_double_click "$id" "${SOUND[@]}"
voice=$(pixels 12x12+24+3)
[ "$voice" != "$tone" ] || fail "a double-click on the sound icon left it as it was"
e2e_double_click "$id" "${SOUND[@]}"
[ "$(pixels 12x12+24+3)" = "$tone" ] || fail "a second double-click did not bring the icon back"
echo "ok: a double-click on the sound icon flips it once"
e2e_double_click "$id" "${READOUT[@]}"
[ "$(e2e_size "$id")" = "918x144" ] || fail "a double-click did not switch to the wide view"
e2e_double_click "$id" 500 100
[ "$(e2e_size "$id")" = "334x144" ] || fail "a double-click did not switch back"
echo "ok: a double-click on the window switches the view and back"

e2e_click "$id" 320 30
xdotool key --clearmodifiers Escape
e2e_wait_exit
[ "$APP_RC" = 0 ] || fail "exit code $APP_RC"
echo "1 passed, 0 failed"
