#!/usr/bin/env python3
"""Draws Vintorel's bitmaps and its icon and writes them into resources/.

The pictures are pixel art, defined below as character grids with a palette of at most 16
colours each. They are written as Windows files the resource compiler and the Linux build both
embed: BMPs (BITMAPINFOHEADER, BI_RGB, 4 bits per pixel, 16-entry palette, bottom-up rows) and
an ICO with a 32x32 and a 16x16 image (4 bits per pixel plus a 1-bit transparency mask). The
icon is also written as PNGs at desktop sizes (nearest-neighbour enlargements) in the hicolor
layout, resources/icons/hicolor/NxN/apps/vintorel.png.

Only the Python standard library is used, and the output is byte-for-byte reproducible.

    python3 tools/make_resources.py             # (re)write the files in resources/
    python3 tools/make_resources.py --output D  # write them under D instead
    python3 tools/make_resources.py --check     # exit 1 if resources/ differs from the script
"""

import argparse
import struct
import sys
import zlib
from pathlib import Path

# ---------------------------------------------------------------------------------------------
# The pictures

FLAG_BLUE = (1, 33, 105)
FLAG_RED = (200, 16, 46)
WHITE = (255, 255, 255)

# A simplified Union Flag: the red cross on a white border, red diagonals on white, on blue.
FLAG_EN = {
    "palette": {"B": FLAG_BLUE, "W": WHITE, "R": FLAG_RED},
    "grid": [
        "RRWBBBBWRRWBBBBWRR",
        "WWRRWBBWRRWBBWRRWW",
        "BBWWRRWWRRWWRRWWBB",
        "BBBBWWRWRRWRWWBBBB",
        "WWWWWWWWRRWWWWWWWW",
        "RRRRRRRRRRRRRRRRRR",
        "RRRRRRRRRRRRRRRRRR",
        "WWWWWWWWRRWWWWWWWW",
        "BBBBWWRWRRWRWWBBBB",
        "BBWWRRWWRRWWRRWWBB",
        "WWRRWBBWRRWBBWRRWW",
        "RRWBBBBWRRWBBBBWRR",
    ],
}

# The Russian flag: white, blue and red bands, four rows each.
FLAG_RU = {
    "palette": {"W": WHITE, "B": (0, 57, 166), "R": (213, 43, 30)},
    "grid": ["W" * 18] * 4 + ["B" * 18] * 4 + ["R" * 18] * 4,
}

# A white mouth on grey-blue: the upper lip with its bow, the lower lip fuller.
LIPS = {
    "palette": {".": (160, 170, 190), "W": WHITE, "s": (110, 118, 138)},
    "grid": [
        "............",
        "............",
        "...WW..WW...",
        "..WWWWWWWW..",
        ".WWWWWWWWWW.",
        "WWssssssssWW",
        ".WWWWWWWWWW.",
        "..WWWWWWWW..",
        "...WWWWWW...",
        "....WWWW....",
        "............",
        "............",
    ],
}

# A white quaver on grey-blue: an oval head, its stem and the flag.
NOTE = {
    "palette": {".": (150, 170, 190), "W": WHITE},
    "grid": [
        "............",
        "......W.....",
        "......WW....",
        "......WWW...",
        "......W.WW..",
        "......W..W..",
        "......W..W..",
        "......W.W...",
        "...WWWW.....",
        "..WWWWWW....",
        "..WWWWW.....",
        "...WWW......",
    ],
}

# The application icon: a dish facing the sky to the upper right, its feed arm and the red
# receiver (LNB) at the focus, on a pole with a foot; at 32 px also the incoming signal.
# "." is transparent.
ICON_PALETTE = {
    ".": (0, 0, 0),
    "k": (24, 26, 34),
    "d": (76, 80, 92),
    "g": (128, 134, 146),
    "l": (192, 198, 210),
    "w": WHITE,
    "r": (200, 40, 30),
    "b": (40, 100, 210),
}

ICON_32 = [
    "................................",
    "................................",
    "..............................b.",
    ".......................kkkk.b..b",
    ".......................krrk..b.b",
    ".......................krrk..b.b",
    "................kkkkk.dkkkk.b..b",
    "..............kkwwllld........b.",
    "............kkwwwllldk..........",
    "...........kwwwwllldlk..........",
    "..........kwwwwllldllk..........",
    ".........kwwwwllldllgk..........",
    "........kwwwwllldllgk...........",
    ".......kwwwwllldllggk...........",
    "......kwwwwllldllggk............",
    "......kwwwllllllgggk............",
    ".....kwwwllllllgggk.............",
    ".....kwwllllllgggk..............",
    "....kwwllllllgggk...............",
    "....kwllllllgggk................",
    "....kllllllgggkd................",
    "....klllllggkkgd................",
    "....kllllgkk..gd................",
    ".....kkkkk....gd................",
    "..............gd................",
    "..............gd................",
    "..............gd................",
    "...........kkkkkkkk.............",
    "...........kggggggk.............",
    "..........kggggggggk............",
    ".........kggggggggggk...........",
    "........kkkkkkkkkkkkkk..........",
]

ICON_16 = [
    "...........kkk..",
    "...........krk..",
    "........kk.kkk..",
    "......kkwld.....",
    ".....kwwldk.....",
    "....kwwldlk.....",
    "...kwwldlgk.....",
    "..kwwlllgk......",
    "..kwlllgk.......",
    "..klllgkd.......",
    "..kllkkgd.......",
    "...kk..gd.......",
    ".......gd.......",
    ".....kkkkkk.....",
    "....kggggggk....",
    "....kkkkkkkk....",
]

ICON = {"palette": ICON_PALETTE, "images": [ICON_32, ICON_16], "transparent": "."}

BITMAPS = [
    ("flag_en.bmp", FLAG_EN, (18, 12)),
    ("flag_ru.bmp", FLAG_RU, (18, 12)),
    ("lips.bmp", LIPS, (12, 12)),
    ("note.bmp", NOTE, (12, 12)),
]

# Desktop sizes of the icon and the icon image each is enlarged from (an integer factor, so
# every pixel of the art stays square).
PNG_SIZES = [(16, ICON_16), (32, ICON_32), (48, ICON_16), (64, ICON_32), (128, ICON_32),
             (256, ICON_32)]

# ---------------------------------------------------------------------------------------------
# File formats


def check_picture(name, grid, palette, size=None):
    height = len(grid)
    width = len(grid[0]) if grid else 0
    if size is not None and (width, height) != size:
        raise ValueError(f"{name}: {width}x{height}, expected {size[0]}x{size[1]}")
    if any(len(row) != width for row in grid):
        raise ValueError(f"{name}: rows of different lengths")
    unknown = {c for row in grid for c in row} - set(palette)
    if unknown:
        raise ValueError(f"{name}: characters without a colour: {''.join(sorted(unknown))}")
    if len(palette) > 16:
        raise ValueError(f"{name}: more than 16 colours")


def colour_table(palette):
    """The 16-entry RGBQUAD table (blue, green, red, 0), unused entries black."""
    colours = list(palette.values()) + [(0, 0, 0)] * (16 - len(palette))
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in colours)


def pack_4bpp(grid, palette):
    """Bottom-up rows of 4-bit palette indices, two pixels a byte, padded to 4 bytes."""
    index = {c: i for i, c in enumerate(palette)}
    width = len(grid[0])
    stride = ((width * 4 + 31) // 32) * 4
    rows = []
    for row in reversed(grid):
        nibbles = [index[c] for c in row] + [0] * (width % 2)
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, len(nibbles), 2))
        rows.append(data.ljust(stride, b"\0"))
    return b"".join(rows)


def pack_mask(grid, transparent):
    """Bottom-up rows of the 1-bit AND mask (1 = transparent), padded to 4 bytes."""
    width = len(grid[0])
    stride = ((width + 31) // 32) * 4
    rows = []
    for row in reversed(grid):
        bits = [1 if c == transparent else 0 for c in row]
        bits += [0] * (-width % 8)
        data = bytes(
            sum(bit << (7 - j) for j, bit in enumerate(bits[i:i + 8]))
            for i in range(0, len(bits), 8)
        )
        rows.append(data.ljust(stride, b"\0"))
    return b"".join(rows)


def info_header(width, height, bits_size, height_field=None):
    """BITMAPINFOHEADER for a 4-bpp BI_RGB image with 16 palette entries."""
    return struct.pack(
        "<IiiHHIIiiII",
        40,  # biSize
        width,
        height if height_field is None else height_field,
        1,  # biPlanes
        4,  # biBitCount
        0,  # biCompression = BI_RGB
        bits_size,
        2835,  # 72 dpi
        2835,
        16,  # biClrUsed
        0,  # biClrImportant
    )


def make_bmp(picture):
    grid, palette = picture["grid"], picture["palette"]
    bits = pack_4bpp(grid, palette)
    header = info_header(len(grid[0]), len(grid), len(bits))
    table = colour_table(palette)
    offset = 14 + len(header) + len(table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return file_header + header + table + bits


def make_ico(icon):
    palette, transparent = icon["palette"], icon["transparent"]
    if list(palette.values())[list(palette).index(transparent)] != (0, 0, 0):
        raise ValueError("the transparent colour must be black in the colour image")
    images = []
    for grid in icon["images"]:
        width, height = len(grid[0]), len(grid)
        xor = pack_4bpp(grid, palette)
        mask = pack_mask(grid, transparent)
        # An icon image's header counts both the colour image and the mask in its height.
        header = info_header(width, height, len(xor) + len(mask), height_field=2 * height)
        images.append((width, height, header + colour_table(palette) + xor + mask))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for width, height, data in images:
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 16, 0, 1, 4, len(data),
                               offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, _, data in images)


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def make_png(grid, palette, transparent, size):
    """An RGBA PNG of the grid enlarged to size x size by nearest neighbour."""
    factor = size // len(grid)
    if factor * len(grid) != size or len(grid[0]) != len(grid):
        raise ValueError(f"cannot enlarge a {len(grid)} px image to {size} px evenly")
    raw = bytearray()
    for row in grid:
        line = bytearray([0])  # filter type None
        for c in row:
            rgba = (0, 0, 0, 0) if c == transparent else palette[c] + (255,)
            line += bytes(rgba) * factor
        raw += bytes(line) * factor
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + png_chunk(b"IEND", b""))


# ---------------------------------------------------------------------------------------------


def build():
    """Every output file, as {path relative to resources/: bytes}."""
    files = {}
    for name, picture, size in BITMAPS:
        check_picture(name, picture["grid"], picture["palette"], size)
        files[name] = make_bmp(picture)
    for grid, size in zip(ICON["images"], [(32, 32), (16, 16)]):
        check_picture("vintorel.ico", grid, ICON["palette"], size)
    files["vintorel.ico"] = make_ico(ICON)
    for size, grid in PNG_SIZES:
        path = f"icons/hicolor/{size}x{size}/apps/vintorel.png"
        files[path] = make_png(grid, ICON["palette"], ICON["transparent"], size)
    return files


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    default = Path(__file__).resolve().parent.parent / "resources"
    parser.add_argument("--output", type=Path, default=default,
                        help="folder to write into (default: the repository's resources/)")
    parser.add_argument("--check", action="store_true",
                        help="write nothing; fail if a file differs from what would be written")
    args = parser.parse_args()

    files = build()
    if args.check:
        stale = [p for p, data in files.items()
                 if not (args.output / p).is_file() or (args.output / p).read_bytes() != data]
        for path in stale:
            print(f"out of date: {args.output / path}", file=sys.stderr)
        if stale:
            print("run tools/make_resources.py to regenerate", file=sys.stderr)
        return 1 if stale else 0

    for path, data in files.items():
        target = args.output / path
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)
    print(f"wrote {len(files)} files to {args.output}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
