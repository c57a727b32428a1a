#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into corpus/<target>/seed-*: the cases each control is known by,
in the byte streams the targets read (see the comment at the top of each fuzz_*.cpp). Inputs that once broke
an invariant live beside them as regression-* files and are not touched here."""

import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent
# Steps of the edit streams; typing one of these letters needs the escape K.
EDIT_OPS = set("TUHELGSBYZDRXOKIJQ")
NUMERIC_OPS = EDIT_OPS | set("VNPM")


def typed(text, ops):
    out = bytearray()
    for ch in text.encode("cp1252"):
        if chr(ch) in ops:
            out += b"K"
        out.append(ch)
    return bytes(out)


def code_text(text):
    data = text.encode("cp1252")
    return b"T" + bytes([len(data)]) + data


def count(letter, value):
    return letter.encode() + struct.pack("b", value)


def separator(text):
    data = text.encode("cp1252")
    return b"P" + bytes([len(data)]) + data


def numeric(text):
    return typed(text, NUMERIC_OPS)


NUMERIC = {
    # Sign keys: put in front of an unsigned number, flip the other sign, or change nothing.
    "sign-on-empty": numeric("-"),
    "sign-in-front-caret": numeric("12") + b"L" + numeric("+"),
    "sign-flips-plus": numeric("12+-"),
    "sign-minus-twice": numeric("12--"),
    "sign-plus-twice": numeric("12++"),
    "sign-flips-every-minus": code_text("1-2-3") + numeric("+"),
    # Digit counts of the channel displays: 3 before, none after the separator.
    "three-digits-refuse-fourth": b"M" + count("V", 3) + count("N", 0) + numeric("2551"),
    "signs-do-not-count": count("V", 3) + count("N", 0) + numeric("-255"),
    "separator-not-allowed-without-decimals": b"M" + count("N", 0) + separator(",") + numeric(","),
    "decimals-full-wherever-the-caret": b"M" + separator(",") + numeric("1,253") + b"H" + numeric("4") + b"L" + numeric("5"),
    "one-more-decimal": separator(",") + numeric("1,25"),
    "selection-without-separator-too-many-digits": b"M" + count("V", 2) + separator(",") + numeric("1,25")
    + b"O\x01\x02" + numeric("7"),
    "selected-separator-still-present": b"M" + separator(",") + numeric("1,25") + b"O\x01\x01" + numeric(","),
    "only-decimals": count("V", 0) + separator(",") + numeric(",5"),
    "backspace-at-the-limits": count("V", 3) + count("N", 0) + numeric("255\b\b\b\b"),
    "letters-blank-enter-ctrl-v": b"M" + numeric("a \r\x16") + b"Kx",
    "read-only-display-takes-signs": count("V", 3) + count("N", 0) + b"X\x03" + numeric("255") + b"R" + numeric("-7+"),
    "digit-count-writes": count("V", 15) + count("V", 16) + count("V", -5) + count("V", -16) + count("N", 15)
    + count("N", 16) + count("N", -5) + count("N", -16) + b"V\x80N\x80",
    "separator-writes": separator("") + numeric("12") + b"P\x02ab" + separator(".") + numeric("12.5"),
    "getdouble-comma": separator(",") + code_text("") + code_text("-1,5") + code_text("1.5") + code_text("FFh")
    + code_text("+"),
    "getdouble-point": separator(".") + code_text("12,5"),
    "getdouble-strtod-grammar": code_text("0x1Ap3") + code_text("Infinity") + code_text("nan(abc)")
    + code_text("1e999") + code_text("-1e-999") + code_text("  -0,") + code_text("\t.5e+") + code_text("0x")
    + code_text("4.9e-324") + code_text("0x1p-1075"),
    "display-texts-from-code": count("V", 3) + count("N", 0) + separator(",") + b"X\x03R" + code_text("FFh")
    + numeric("+-7") + b"R" + code_text("-255"),
    "dead-keys": b"I\xe4I5I,I-" + separator(",") + b"I,I1",
    "outside-the-code-page": b"J\x00J\x06Q\x01" + separator("?") + numeric("1") + b"J\x00J\x01",
    "caret-before-the-separator": count("V", 1) + separator(",") + numeric("1,") + b"H" + numeric("2345"),
    "typed-length-limit": b"X\x03" + numeric("12345") + b"O\x00\x02" + numeric("9"),
    "selections-and-delete": numeric("123456") + b"HBBD" + b"Y" + numeric("7") + b"ZSS\b" + b"E" + b"SD",
}


def hexadecimal(text):
    return typed(text, EDIT_OPS)


HEX = {
    "rejected-letters-and-signs": hexadecimal("Gx -"),
    "both-cases-stay": hexadecimal("aAfF"),
    "backspace": hexadecimal("12\b"),
    "control-keys-rejected": hexadecimal("12\x03\x16\x18\x1a\r\x1b"),
    "typed-beyond-32-bits": hexadecimal("7FFFFFFFF") + b"H" + hexadecimal("-") + b"E" + hexadecimal("\b"),
    "dead-keys-and-foreign": b"IaIgJ\x00Q\x06",
    "typed-length-limit": b"X\x04" + hexadecimal("12345") + b"O\x01\x02" + hexadecimal("f"),
}
for name, text in {
    "empty": "", "zero": "0", "ff": "FF", "ff-lower": "ff", "mixed-case": "aB", "leading-zeros": "0000000000FF",
    "max": "7FFFFFFF", "just-over": "80000000", "all-ones": "FFFFFFFF", "nine-digits": "100000000",
    "minus-one": "-1", "min": "-80000000", "below-min": "-FFFFFFFF", "prefix": "0x1A", "blanks": "  1A",
    "plus": "+1A", "trailing": "1G", "leading-letter": "G1", "bare-prefix": "0x",
}.items():
    HEX["conversion-" + name] = code_text(text)
HEX["conversion-whitespace-kinds"] = code_text("\t\n\x0b\x0c\r 1A") + code_text("\xa01A") + b"U\x02\x10\xff\x31\x00"


def memo(dpi_index, page_height_pt, margin_pt, point_size, flags, memo_width, lines):
    header = bytes([dpi_index]) + struct.pack("<H", page_height_pt - 40) + bytes(
        [margin_pt, point_size - 1, flags, (memo_width - 40) // 2])
    return header + bytes(lines)


def layout(page_height, line_height):
    return b"\x80\x00" + struct.pack("<HH", page_height - 1, line_height)


A4 = 842
MEMO = {
    "empty-memo": memo(5, A4, 10, 10, 0, 400, []),
    "one-line": memo(5, A4, 10, 10, 0, 400, [3]),
    # 200 pt high with 10 pt margins at 1200 dpi: 3000 pixels, which hold 15 lines of 10 pt (192 pixels each).
    "one-full-page": memo(5, 200, 10, 10, 0, 400, [1] * 15),
    "one-line-more": memo(5, 200, 10, 10, 0, 400, [1] * 16),
    "two-full-pages": memo(5, 200, 10, 10, 0, 400, [5] * 30),
    "a4-page-at-10pt": memo(5, A4, 10, 10, 0, 400, [1] * 40),
    "empty-lines-at-the-end": memo(3, 200, 10, 12, 0, 400, [1] * 9 + [0] * 6),
    "line-taller-than-the-page": memo(5, 60, 15, 48, 0, 400, [1, 2, 3]),
    "10pt-at-300-dpi": memo(3, A4, 10, 10, 0, 400, [7] * 55),
    "14pt-at-600-dpi-bold": memo(4, A4, 10, 14, 2, 400, [7] * 60),
    "wrapped-paragraphs": memo(2, 300, 5, 12, 1, 60, [15] * 30),
    "tiny-page": memo(0, 40, 19, 1, 0, 100, [1] * 20),
    "layout-1000-30": layout(1000, 30),
    "layout-exact-fill": layout(1020, 20),
    "layout-one-short": layout(1019, 20),
    "layout-a4-1200dpi": layout(13699, 192),
    "layout-line-height-0": layout(1000, 0),
    "layout-line-taller-than-the-page": layout(1000, 5000),
    "layout-line-as-tall-as-the-page": layout(1000, 1000),
    "layout-page-within-the-offset": layout(20, 10),
}


def write(target, seeds):
    folder = HERE / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    for old in folder.glob("seed-*"):
        old.unlink()
    for name, data in seeds.items():
        (folder / ("seed-" + name)).write_bytes(data)


write("numericedit", NUMERIC)
write("hexedit", HEX)
write("memo", MEMO)
