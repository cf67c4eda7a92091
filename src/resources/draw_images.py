#!/usr/bin/env python3
"""Draws the program's icons and the intro bitmap into the folder given as argument.

The pictures are simple geometric drawings computed here, so no binary image is kept in
the sources and every build makes the same bytes.
"""
import os
import struct
import sys

SIZE = 32


def bmp_rows(pixels, width, height):
    """Bottom-up 24-bit rows padded to four bytes."""
    pad = (4 - (width * 3) % 4) % 4
    out = bytearray()
    for y in range(height - 1, -1, -1):
        for x in range(width):
            r, g, b = pixels(x, y)
            out += bytes((b, g, r))
        out += b"\0" * pad
    return bytes(out)


def write_bmp(path, pixels, width, height):
    rows = bmp_rows(pixels, width, height)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(rows), 0, 0, 54))
        f.write(header + rows)


def write_ico(path, pixels):
    """A 32x32 icon, 32 bits per pixel with alpha, and an all-visible AND mask."""
    xor = bytearray()
    for y in range(SIZE - 1, -1, -1):
        for x in range(SIZE):
            rgba = pixels(x, y)
            if rgba is None:
                xor += b"\0\0\0\0"
            else:
                r, g, b = rgba
                xor += bytes((b, g, r, 255))
    mask = bytes(SIZE * 4)  # 32 bits per row, already a multiple of four bytes
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    image = header + bytes(xor) + mask
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1))
        f.write(struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 22))
        f.write(image)


def inside_rounded(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def main_icon(x, y):
    """A blue disc with a white lightning-like V: the package's mark."""
    d2 = (x - 15.5) ** 2 + (y - 15.5) ** 2
    if d2 > 15.5 ** 2:
        return None
    on_v = abs((x - 15.5) - (y - 8) * 0.45) < 2.2 or abs((x - 15.5) + (y - 8) * 0.45) < 2.2
    if 7 <= y <= 25 and on_v:
        return (255, 255, 255)
    shade = int(160 - (d2 ** 0.5) * 4)
    return (20, 60, max(90, shade + 60))


def card_icon(x, y):
    """An adapter card: green board, gold contacts, a black chip."""
    if 4 <= y <= 23 and 2 <= x <= 29:
        if 10 <= x <= 19 and 8 <= y <= 15:
            return (20, 20, 20)
        return (30, 130, 60)
    if 24 <= y <= 28 and 6 <= x <= 25:
        return (230, 180, 40) if x % 3 != 0 else None
    return None


def no_velmar_icon(x, y):
    """The card crossed out by a red bar: no driver installed."""
    if abs(x - y) <= 2 or abs(x + y - 31) <= 2:
        if 2 <= x <= 29:
            return (200, 20, 20)
    return card_icon(x, y)


def intro_pixels(x, y):
    """A tile of the intro background: diagonal bands in the package's blues."""
    band = ((x + y) // 8) % 4
    return [(16, 48, 112), (24, 64, 144), (32, 80, 168), (24, 64, 144)][band]


# The check box bitmap: 16 colours, cells of 14 x 13 pixels, five per row (unchecked,
# checked, pushed or disabled unchecked, pushed checked, disabled checked) in three rows
# (check box, radio button, three-state box in its third state). It uses only the colour
# table entries the program replaces by the current colours when it loads the bitmap.
CELL_W, CELL_H = 14, 13
WINDOW_TEXT, SHADOW, FACE, FRAME, WINDOW, HIGHLIGHT = 0, 7, 8, 10, 11, 15
PALETTE = {WINDOW_TEXT: (0, 0, 0), SHADOW: (128, 128, 128), FACE: (192, 192, 192),
           FRAME: (0, 0, 0), WINDOW: (255, 255, 255), HIGHLIGHT: (255, 255, 255)}


def tick(x, y):
    """A three-pixel-thick tick inside the box's 9 x 9 interior."""
    c = x - 3
    if not 0 <= c <= 6:
        return False
    top = 5 + c if c <= 2 else 7 - (c - 2)
    return top <= y <= top + 2


def box_pixel(x, y, sunken_face, mark):
    if x == 12 or y == 12:
        return HIGHLIGHT
    if x == 0 or y == 0:
        return SHADOW
    if x == 11 or y == 11:
        return FACE
    if x == 1 or y == 1:
        return FRAME
    if mark is not None and tick(x, y):
        return mark
    return FACE if sunken_face else WINDOW


def radio_pixel(x, y, sunken_face, mark):
    d = ((x - 5.5) ** 2 + (y - 5.5) ** 2) ** 0.5
    upper_left = x + y < 11
    if d > 6.0:
        return FACE
    if d > 5.0:
        return SHADOW if upper_left else HIGHLIGHT
    if d > 4.0:
        return FRAME if upper_left else FACE
    if mark is not None and d <= 1.8:
        return mark
    return FACE if sunken_face else WINDOW


def check_pixels(x, y):
    row, cell = y // CELL_H, x // CELL_W
    cx, cy = x % CELL_W, y % CELL_H
    if cx == 13:
        return FACE
    sunken_face = cell >= 2
    checked = cell in (1, 3, 4)
    if row == 2:  # the third state: a grey mark
        mark = SHADOW if checked else None
    else:
        mark = (SHADOW if cell == 4 else WINDOW_TEXT) if checked else None
    draw = radio_pixel if row == 1 else box_pixel
    return draw(cx, cy, sunken_face, mark)


def write_bmp16(path, pixels, width, height):
    """A 4-bit BMP with a 16-entry colour table; unused entries are black."""
    row_bytes = ((width + 1) // 2 + 3) & ~3
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(width):
            row[x // 2] |= pixels(x, y) << (0 if x % 2 else 4)
        out += row
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in
                     (PALETTE.get(i, (0, 0, 0)) for i in range(16)))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(out), 2835, 2835, 16, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(table) + len(out), 0, 0,
                                    14 + len(header) + len(table)))
        f.write(header + table + bytes(out))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_ico(os.path.join(out, "main.ico"), main_icon)
    write_ico(os.path.join(out, "card.ico"), card_icon)
    write_ico(os.path.join(out, "novelmar.ico"), no_velmar_icon)
    write_bmp(os.path.join(out, "velmar.bmp"), intro_pixels, 64, 64)
    write_bmp16(os.path.join(out, "checkbox.bmp"), check_pixels, 5 * CELL_W, 3 * CELL_H)


if __name__ == "__main__":
    main()
