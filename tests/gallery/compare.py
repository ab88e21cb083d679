#!/usr/bin/env python3
"""Compares the screens of the Linux program with those of the Windows program under Wine.

    compare.py LINUX_DIR WINE_DIR OUT_DIR KNOWN_MD [SCALE]

Each DIR holds, per screen, NAME.png (the whole screen) and NAME.json (the windows shown, as
capture.sh keeps them). Fonts differ between the two (Wine maps the default face to its own),
so what is compared is what must not differ: the client size of the main window and where each
control and the dropped list are, relative to the main window's client area; the controls'
texts; the combo box's item heights; each message box's caption, text, buttons (their texts in
order, no images on them, one row, in the middle) and whether it shows an icon; the readout's
colours at fixed points. Every difference has a key (e.g. rect:edit:110); a key listed in
KNOWN_MD's section "Screens that differ" as `key` is a known difference with its reason there.
OUT_DIR receives one picture per screen (Linux left, Wine right, the differences below) and
report.txt. Exit code 1 when a difference is not known.

SCALE (144 DPI: 1.5) compares a Linux program whose desktop is scaled by that factor with the
unscaled Windows program: Windows scales a program that declares no DPI awareness as one
picture, keeping its geometry in its own pixels, so the window lists must agree as they are
and the Windows pictures are the unscaled ones, enlarged.
"""
import fnmatch
import json
import os
import re
import subprocess
import sys

# Client points whose colour is the same on both sides: frame and background everywhere; the
# bar and the lamp while measuring (normal and compact view).
POINTS = {"frame": (1, 1), "background": (5, 60)}
MEASURING = {"bar": (100, 70), "lamp": (280, 70)}
COMPACT = {"bar": (200, 90), "lamp": (850, 90)}
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"  # fonts-dejavu-core


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)["windows"]


def plain(text):
    return text.replace("&", "")


def readable(text):
    """A text Wine read in code page 1252 from bytes the program wrote in 1251, as written."""
    try:
        return text.encode("cp1252").decode("cp1251")
    except (UnicodeEncodeError, UnicodeDecodeError):
        return text


def relative(rect, origin):
    return [rect[0] - origin[0], rect[1] - origin[1], rect[2] - origin[0], rect[3] - origin[1]]


class Screen:
    def __init__(self, windows):
        self.windows = windows
        tops = [w for w in windows if w["parent"] is None]
        self.main = next((w for w in tops if w["text"] == "V i n t o r e l"), None)
        self.origin = self.main["client"][:2] if self.main else [0, 0]
        self.lists = [w for w in tops if w["class"] == "ComboLBox"]
        self.boxes = [w for w in tops if w["class"] == "#32770"]

    def children(self, parent):
        return [w for w in self.windows if w["parent"] == parent["hwnd"]]

    def controls(self):
        if not self.main:
            return {}
        return {(w["class"].lower(), w["id"]): w for w in self.children(self.main)}


def box_facts(screen, box, wine):
    """What must agree of a message box, as a dictionary."""
    kids = screen.children(box)
    texts = [w for w in kids if w["class"].lower() == "static" and not w.get("image")]
    text = " ".join(readable(w["text"]) if wine else w["text"] for w in texts)
    buttons = sorted((w for w in kids if w["class"].lower() == "button"), key=lambda w: w["rect"][0])
    icons = [w for w in kids if w["class"].lower() == "static" and w.get("image")]
    if wine:
        # Wine keeps its icon control shown without an icon, and then puts the text over it.
        icons = [i for i in icons if all(t["rect"][0] >= i["rect"][2] for t in texts)]
    client = box["client"]
    facts = {
        "caption": readable(box["text"]) if wine else box["text"],
        "text": " ".join(text.split()),
        "buttons": [plain(b["text"]) for b in buttons],
        "button-images": any(b.get("image") for b in buttons),
        "icon": bool(icons),
    }
    if buttons:
        left = buttons[0]["rect"][0] - client[0]
        right = client[2] - buttons[-1]["rect"][2]
        facts["buttons-centred"] = abs(left - right) <= 8
        facts["buttons-one-row"] = len({b["rect"][1] for b in buttons}) == 1
        facts["buttons-below-text"] = all(b["rect"][1] >= t["rect"][3] for b in buttons for t in texts)
    return facts


def centre(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


def pixel(png, origin, point, scale=1.0):
    """The colour of the client pixel `point` of a window whose client area is at `origin`, in
    a picture taken at that scale (the window is drawn from its scaled origin)."""
    x = int(origin[0] * scale + 0.5) + int(point[0] * scale + scale / 2)
    y = int(origin[1] * scale + 0.5) + int(point[1] * scale + scale / 2)
    out = subprocess.run(["convert", png, "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"],
                         capture_output=True, text=True, check=True).stdout
    match = re.search(r"#([0-9A-Fa-f]{6})", out)
    return match.group(1).upper() if match else "?"


def compare(name, linux, wine, linux_png, wine_png, scale=1.0):
    """The differences of one screen: a list of (key, what)."""
    diffs = []
    if not linux.main or not wine.main:
        if bool(linux.main) != bool(wine.main):
            diffs.append(("main-window", "the main window shows on one side only"))
    else:
        size = lambda s: (s.main["client"][2] - s.main["client"][0], s.main["client"][3] - s.main["client"][1])
        if size(linux) != size(wine):
            diffs.append(("client-size", f"client {size(linux)} here, {size(wine)} on Windows"))
        if linux.origin != wine.origin:
            diffs.append(("client-origin", f"client area at {linux.origin} here, {wine.origin} on Windows"))
        ours, theirs = linux.controls(), wine.controls()
        for key in sorted(set(ours) | set(theirs), key=str):
            cls, ident = key
            if key not in ours or key not in theirs:
                side = "here" if key in ours else "on Windows"
                diffs.append((f"control:{cls}:{ident}", f"{cls} {ident} shown {side} only"))
                continue
            a, b = ours[key], theirs[key]
            ra, rb = relative(a["rect"], linux.origin), relative(b["rect"], wine.origin)
            if ra != rb:
                diffs.append((f"rect:{cls}:{ident}", f"{cls} {ident} at {ra} here, {rb} on Windows"))
            if plain(a["text"]) != plain(b["text"]):
                diffs.append((f"text:{cls}:{ident}", f"{cls} {ident} says {a['text']!r} here, {b['text']!r} on Windows"))
            if a.get("itemHeights") != b.get("itemHeights"):
                diffs.append((f"item-heights:{ident}", f"item heights {a.get('itemHeights')} here, {b.get('itemHeights')} on Windows"))
        if len(linux.lists) != len(wine.lists):
            diffs.append(("list-shown", f"{len(linux.lists)} dropped list(s) here, {len(wine.lists)} on Windows"))
        for a, b in zip(linux.lists, wine.lists):
            ra, rb = relative(a["rect"], linux.origin), relative(b["rect"], wine.origin)
            if ra != rb:
                diffs.append(("rect:list", f"dropped list at {ra} here, {rb} on Windows"))
        points = dict(POINTS)
        if name.startswith("measuring"):
            points.update(MEASURING)
        if name.startswith("compact"):
            points.update(COMPACT)
        covers = [relative(w["rect"], s.origin) for s in (linux, wine) for w in s.windows
                  if w["parent"] is None and w is not s.main]
        for what, (x, y) in points.items():
            if any(r[0] <= x < r[2] and r[1] <= y < r[3] for r in covers):
                continue  # another window is over that point
            ca = pixel(linux_png, linux.origin, (x, y), scale)
            cb = pixel(wine_png, wine.origin, (x, y))
            if ca != cb:
                diffs.append((f"colour:{what}", f"{what} at ({x}, {y}) is #{ca} here, #{cb} on Windows"))
    if len(linux.boxes) != len(wine.boxes):
        diffs.append(("box-shown", f"{len(linux.boxes)} message box(es) here, {len(wine.boxes)} on Windows"))
    for a, b in zip(linux.boxes, wine.boxes):
        # Both screens are alike, so the middle of a box is at the same place on both.
        (xa, ya), (xb, yb) = centre(a["rect"]), centre(b["rect"])
        # Without a window manager the Linux box's client area is where Wine's frame begins.
        fx, fy = b["client"][0] - b["rect"][0], b["client"][1] - b["rect"][1]
        if abs(xa + fx - xb) <= 2 and abs(ya + fy - yb) <= 2 and (fx or fy):
            diffs.append(("box-position-frame", f"message box centred at {(xa, ya)} here, {(xb, yb)} on Windows (a frame apart)"))
        elif abs(xa - xb) > 2 or abs(ya - yb) > 2:
            diffs.append(("box-position", f"message box centred at {(xa, ya)} here, {(xb, yb)} on Windows"))
        fa, fb = box_facts(linux, a, False), box_facts(wine, b, True)
        for key in sorted(set(fa) | set(fb)):
            if fa.get(key) != fb.get(key):
                diffs.append((f"box-{key}", f"message box {key}: {fa.get(key)!r} here, {fb.get(key)!r} on Windows"))
    return diffs


def known_keys(markdown):
    """The keys of the section "Screens that differ": each bullet starts with `key`."""
    keys, inside = [], False
    with open(markdown, encoding="utf-8") as f:
        for line in f:
            if line.startswith("## "):
                inside = line.strip() == "## Screens that differ"
            elif inside:
                match = re.match(r"- \*\*`([^`]+)`", line) or re.match(r"- `([^`]+)`", line)
                if match:
                    keys.append(match.group(1))
    return keys


def picture(name, linux, wine, linux_png, wine_png, lines, out, scale=1.0):
    """Linux and Wine side by side, cropped alike around the program's windows, the
    differences written below."""
    boxes = []
    for s in (linux, wine):
        for w in s.windows:
            if w["parent"] is None:
                boxes.append(relative(w["rect"], s.origin))
    left = max(min(b[0] for b in boxes) - 8, -linux.origin[0], -wine.origin[0])
    top = max(min(b[1] for b in boxes) - 8, -linux.origin[1], -wine.origin[1])
    right = max(b[2] for b in boxes) + 8
    bottom = max(b[3] for b in boxes) + 8
    width, height = right - left, bottom - top
    crops = []
    for label, s, png, factor in (("Linux", linux, linux_png, scale),
                                  ("Windows (Wine)", wine, wine_png, 1.0)):
        crop = os.path.join(out, f".{name}-{label[0]}.png")
        x, y = s.origin[0] + left, s.origin[1] + top
        area = f"{round(width * factor)}x{round(height * factor)}+{round(x * factor)}+{round(y * factor)}"
        enlarge = ["-resize", f"{round(scale * 100)}%"] if factor != scale else []
        subprocess.run(["convert", png, "-crop", area, "+repage", *enlarge, "-background", "white", "-splice", "0x18", "-font", FONT, "-gravity", "north",
                        "-annotate", "+0+2", label, crop], check=True)
        crops.append(crop)
    text = "\n".join(lines) if lines else "no differences"
    note = os.path.join(out, f".{name}-note.png")
    subprocess.run(["convert", "-size", f"{round(2 * width * scale) + 8}x", "-background", "white", "-font", FONT, "-pointsize", "11",
                    f"caption:{name}\n{text}", note], check=True)
    subprocess.run(["convert", "(", crops[0], crops[1], "-bordercolor", "white", "-border", "2", "+append", ")",
                    note, "-append", os.path.join(out, f"{name}.png")], check=True)
    for f in crops + [note]:
        os.remove(f)


def main():
    linux_dir, wine_dir, out, known_md = sys.argv[1:5]
    scale = float(sys.argv[5]) if len(sys.argv) > 5 else 1.0
    os.makedirs(out, exist_ok=True)
    known = known_keys(known_md)
    names = sorted(f[:-5] for f in os.listdir(linux_dir) if f.endswith(".json"))
    report, unknown = [], 0
    for name in sorted(f[:-5] for f in os.listdir(wine_dir) if f.endswith(".json")):
        if name not in names:
            report.append(f"{name}: no Linux screen")
            unknown += 1
    if not names:
        report.append("no screens at all")
        unknown += 1
    for name in names:
        wine_json = os.path.join(wine_dir, name + ".json")
        if not os.path.exists(wine_json):
            report.append(f"{name}: no Windows screen")
            unknown += 1
            continue
        linux, wine = Screen(load(os.path.join(linux_dir, name + ".json"))), Screen(load(wine_json))
        linux_png, wine_png = os.path.join(linux_dir, name + ".png"), os.path.join(wine_dir, name + ".png")
        lines = []
        for key, what in compare(name, linux, wine, linux_png, wine_png, scale):
            listed = any(fnmatch.fnmatchcase(key, k) for k in known)
            unknown += 0 if listed else 1
            lines.append(f"{'known' if listed else 'NEW'}  {key}: {what}")
        picture(name, linux, wine, linux_png, wine_png, lines, out, scale)
        report.append(f"{name}: " + ("same" if not lines else f"{len(lines)} difference(s)"))
        report.extend("    " + line for line in lines)
    summary = f"{len(names)} screens, {sum(1 for r in report if r.startswith('    '))} differences, {unknown} not known"
    report.append(summary)
    with open(os.path.join(out, "report.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(report) + "\n")
    print("\n".join(report))
    return 1 if unknown else 0


if __name__ == "__main__":
    sys.exit(main())
