#!/usr/bin/env python3
"""Draws the palette image of TPrintableMemo: a sheet with lines of text coming out of a printer.

Writes TPRINTABLEMEMO.png next to this script: 24 x 24 pixels, 8-bit indexed colour (a 256-entry palette),
index 0 transparent. Only the standard library is used, so the image can be redrawn anywhere.
"""
import pathlib
import struct
import zlib

PALETTE = {
    ".": (255, 0, 255),  # transparent
    "K": (0, 0, 0),  # outlines
    "D": (96, 96, 96),  # printer shadow
    "S": (48, 48, 48),  # paper slot
    "G": (160, 160, 160),  # printer body
    "L": (212, 212, 212),  # printer top
    "W": (255, 255, 255),  # paper
    "B": (0, 0, 128),  # printed text
    "N": (0, 200, 0),  # power lamp
}

PIXELS = """
........................
......KKKKKKKKKKKK......
......KWWWWWWWWWWK......
......KWWWWWWWWWWK......
...KKKKKKKKKKKKKKKKKK...
..KLLLLLLLLLLLLLLLLLLK..
.KLLLLLLLLLLLLLLLLLLLLK.
.KGGGGGGGGGGGGGGGGGGGGK.
.KGGGGGGGGGGGGGGGGGNNGK.
.KGGGGGGGGGGGGGGGGGGGGK.
.KDDSSSSSSSSSSSSSSSSDDK.
.KGGKWWWWWWWWWWWWWWKGGK.
.KGGKWBBBBWBBBBBBWWKGGK.
.KGGKWWWWWWWWWWWWWWKGGK.
.KDDKWBBBWBBBBWBBBWKDDK.
..KKKWWWWWWWWWWWWWWKKK..
....KWBBBBBWBBBBBWWK....
....KWWWWWWWWWWWWWWK....
....KWBBBWBBBBBBWWWK....
....KWWWWWWWWWWWWWWK....
....KWBBBBBBWBBBBBWK....
....KWWWWWWWWWWWWWWK....
....KKKKKKKKKKKKKKKK....
........................
""".split()


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def main():
    assert len(PIXELS) == 24 and all(len(row) == 24 for row in PIXELS)
    keys = list(PALETTE)
    colours = [PALETTE[k] for k in keys] + [(0, 0, 0)] * (256 - len(keys))
    raw = b"".join(b"\x00" + bytes(keys.index(c) for c in row) for row in PIXELS)
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", 24, 24, 8, 3, 0, 0, 0))
    png += chunk(b"PLTE", b"".join(bytes(c) for c in colours))
    png += chunk(b"tRNS", b"\x00")
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    (pathlib.Path(__file__).resolve().parent / "TPRINTABLEMEMO.png").write_bytes(png)


if __name__ == "__main__":
    main()
