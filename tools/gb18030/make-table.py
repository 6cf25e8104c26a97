#!/usr/bin/env python3
"""Writes the two-byte table of GB18030 (the 2000 edition, as Windows' code
page 54936 maps it) as C++ source, from Python's own gb18030 codec.

    python3 tools/gb18030/make-table.py > base/Gb18030Table.inc

Two-byte codes: lead 0x81-0xFE, trail 0x40-0x7E or 0x80-0xFE; 126 rows of
190 UTF-16 code units. The four-byte codes of the Basic Multilingual Plane
need no table: in ascending order they take the code points from U+0080 up
that are neither surrogates nor two-byte codes, in ascending order. This
script checks that rule before it writes anything.
"""
import sys

LEADS = range(0x81, 0xFF)
TRAILS = [t for t in range(0x40, 0xFF) if t != 0x7F]


def two_byte_table():
    return [[ord(bytes([lead, trail]).decode("gb18030")) for trail in TRAILS] for lead in LEADS]


def check_four_byte_rule(table):
    two_byte = {unit for row in table for unit in row}
    rest = [c for c in range(0x80, 0x10000) if not 0xD800 <= c <= 0xDFFF and c not in two_byte]
    assert len(rest) == 39420, len(rest)
    for index, code_point in enumerate(rest):
        code = bytes([0x81 + index // 12600, 0x30 + index // 1260 % 10, 0x81 + index // 10 % 126, 0x30 + index % 10])
        assert ord(code.decode("gb18030")) == code_point, (index, hex(code_point))


def main():
    table = two_byte_table()
    check_four_byte_rule(table)
    out = sys.stdout
    out.write("// Made by `python3 tools/gb18030/make-table.py`; do not edit.\n")
    out.write("// GB18030 two-byte codes to UTF-16: one row per lead byte 0x81-0xFE, one\n")
    out.write("// column per trail byte 0x40-0x7E, 0x80-0xFE.\n")
    for lead, row in zip(LEADS, table):
        out.write("/* %02X */" % lead)
        for i, unit in enumerate(row):
            if i and i % 19 == 0:
                out.write("\n        ")
            out.write(" 0x%04X," % unit)
        out.write("\n")


if __name__ == "__main__":
    main()
