#!/usr/bin/env python3
"""Draws the Widget Box icons of the numeric edit, the hex edit and the status lamp.

Writes TNUMERICEDIT.png, THEXEDIT.png and TANZEIGE.png next to this script: 24 x 24 pixels, RGBA, named like
the memo's palette image (the class name in capitals), so the plugin finds every icon the same way. Only the
standard library is used; run it after changing a drawing and commit the pictures.
"""
import pathlib
import struct
import zlib

SIZE = 24
COLOURS = {
    ".": (0, 0, 0, 0),  # transparent
    "K": (0, 0, 0, 255),  # frame, digits
    "G": (128, 128, 128, 255),  # edit border
    "W": (255, 255, 255, 255),  # edit field
    "A": (0, 255, 255, 255),  # the lamp's default on colour
    "B": (0, 0, 128, 255),  # caret
}

# 3 x 5 digits and letters; "," is one column wide and reaches below the line.
GLYPHS = {
    "-": ["...", "...", "KKK", "...", "..."],
    "1": [".K.", "KK.", ".K.", ".K.", "KKK"],
    "5": ["KKK", "K..", "KK.", "..K", "KK."],
    ",": [".", ".", ".", ".", "K", "K"],
    "F": ["KKK", "K..", "KK.", "K..", "K.."],
    "A": [".K.", "K.K", "KKK", "K.K", "K.K"],
}


def blank():
    return [["."] * SIZE for _ in range(SIZE)]


def fill(pixels, left, top, right, bottom, colour):
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            pixels[y][x] = colour


def edit_field(text):
    """A single-line edit: grey border, white field, the text and a caret after it."""
    pixels = blank()
    fill(pixels, 0, 5, SIZE - 1, 18, "G")
    fill(pixels, 1, 6, SIZE - 2, 17, "W")
    x = 3
    for char in text:
        glyph = GLYPHS[char]
        for row, line in enumerate(glyph):
            for column, colour in enumerate(line):
                if colour != ".":
                    pixels[9 + row][x + column] = colour
        x += len(glyph[0]) + 1
    fill(pixels, x, 8, x, 15, "B")
    return pixels


def lamp():
    """The status lamp switched on: the on colour inside a black two-pixel frame."""
    pixels = blank()
    fill(pixels, 3, 3, 20, 20, "K")
    fill(pixels, 5, 5, 18, 18, "A")
    return pixels


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(pixels):
    raw = b"".join(b"\x00" + b"".join(bytes(COLOURS[c]) for c in row) for row in pixels)
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
        + chunk(b"IDAT", zlib.compress(raw, 9))
        + chunk(b"IEND", b"")
    )


def main():
    here = pathlib.Path(__file__).resolve().parent
    drawings = {"TNUMERICEDIT": edit_field("-1,5"), "THEXEDIT": edit_field("FA"), "TANZEIGE": lamp()}
    for name, pixels in drawings.items():
        (here / f"{name}.png").write_bytes(png(pixels))


if __name__ == "__main__":
    main()
