#!/usr/bin/env python3
"""Writes the program's binary image resources from the pixel maps below.

    zelmar.ico   the program icon: a calendar page, 16 x 16, and the same map at 24, 32 and
                 48 pixels a side (the small icon at 150 %, 200 % and 300 % display scaling
                 and the large one at 100 % and 150 %), 16 colours
    holiday.bmp  the holiday image list: 32 x 16, 16 colours, two 16 x 16 images on
                 pure green (the list's transparent colour): 0 empty, 1 a red flag

The files are committed; run this script (python3 resources/make_images.py) after
changing a map. The output is byte for byte the same on every run.
"""
import os
import struct

# The 16-colour palette in the usual Windows order (R, G, B).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# Map letters to palette indexes; "." is transparent in the icon.
INDEX = {"k": 0, "R": 1, "s": 7, "g": 8, "r": 9, "G": 10, "w": 15, ".": 0}

ICON_16 = [
    "................",
    "....s......s....",
    ".kkkskkkkkkskkk.",
    ".krrsrrrrrrsrrk.",
    ".krrrrrrrrrrrrk.",
    ".kkkkkkkkkkkkkk.",
    ".kwwwwwwwwwwwwk.",
    ".kwgwgwgwgwgwwk.",
    ".kwwwwwwwwwwwwk.",
    ".kwgwgwgwgwrrwk.",
    ".kwwwwwwwwwrrwk.",
    ".kwgwgwgwgwgwwk.",
    ".kwwwwwwwwwwwwk.",
    ".kwgwgwgwwwwwwk.",
    ".kwwwwwwwwwwwsk.",
    ".kkkkkkkkkkkkkk.",
]

FLAG = [
    "GGGGGGGGGGGGGGGG",
    "GGGgGGGGGGGGGGGG",
    "GGGgrrrrrrrGGGGG",
    "GGGgrrrrrrrrrGGG",
    "GGGgrrrrrrrrrrGG",
    "GGGgrrrrrrrrrGGG",
    "GGGgrrrrrrrGGGGG",
    "GGGgGGGGGGGGGGGG",
    "GGGgGGGGGGGGGGGG",
    "GGGgGGGGGGGGGGGG",
    "GGGgGGGGGGGGGGGG",
    "GGGgGGGGGGGGGGGG",
    "GGGgGGGGGGGGGGGG",
    "GGGgGGGGGGGGGGGG",
    "GGgggGGGGGGGGGGG",
    "GGGGGGGGGGGGGGGG",
]
EMPTY = ["G" * 16] * 16


def scale2(rows):
    """Each pixel doubled in both directions."""
    return ["".join(c * 2 for c in r) for r in rows for _ in (0, 1)]


def scaled(rows, size):
    """The map at size x size pixels, each pixel taken from the nearest one of the map."""
    h, w = len(rows), len(rows[0])
    return ["".join(rows[y * h // size][x * w // size] for x in range(size)) for y in range(size)]


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)


def pixels_4bpp(rows):
    """Bottom-up rows of 4-bit indexes, each padded to a multiple of 4 bytes."""
    out = b""
    for row in reversed(rows):
        idx = [INDEX[c] for c in row]
        line = bytes((idx[i] << 4) | idx[i + 1] for i in range(0, len(idx), 2))
        out += line + b"\0" * (-len(line) % 4)
    return out


def mask_1bpp(rows):
    """Bottom-up AND mask: 1 where the icon is transparent."""
    out = b""
    for row in reversed(rows):
        bits = 0
        line = bytearray()
        for i, c in enumerate(row):
            bits = (bits << 1) | (1 if c == "." else 0)
            if i % 8 == 7:
                line.append(bits)
                bits = 0
        out += bytes(line) + b"\0" * (-len(line) % 4)
    return out


def info_header(w, h, bits_size):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, bits_size, 0, 0, 16, 0)


def icon_image(rows):
    w, h = len(rows[0]), len(rows)
    xor, mask = pixels_4bpp(rows), mask_1bpp(rows)
    return info_header(w, 2 * h, len(xor) + len(mask)) + palette_bytes() + xor + mask


def write_icon(path, images):
    blobs = [icon_image(rows) for rows in images]
    data = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for rows, blob in zip(images, blobs):
        w, h = len(rows[0]), len(rows)
        data += struct.pack("<BBBBHHII", w, h, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(data + b"".join(blobs))


def write_bitmap(path, rows):
    w, h = len(rows[0]), len(rows)
    bits = pixels_4bpp(rows)
    head = info_header(w, h, len(bits)) + palette_bytes()
    file_head = struct.pack("<2sIHHI", b"BM", 14 + len(head) + len(bits), 0, 0, 14 + len(head))
    with open(path, "wb") as f:
        f.write(file_head + head + bits)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    write_icon(os.path.join(here, "zelmar.ico"),
               [ICON_16, scaled(ICON_16, 24), scale2(ICON_16), scaled(ICON_16, 48)])
    write_bitmap(os.path.join(here, "holiday.bmp"), [a + b for a, b in zip(EMPTY, FLAG)])


if __name__ == "__main__":
    main()
