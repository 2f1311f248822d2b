#!/usr/bin/env python3
"""Draws the pictures of the help file into the folder given as argument.

period_rows.png: a data table in miniature, its title row and column in grey and
its data cells in the colours the forms give to months, the annual value, the
two seasons and the LTAA.
"""
import pathlib
import struct
import sys
import zlib

TITLE = (0xDD, 0xDD, 0xDD)
LINE = (0xA0, 0xA0, 0xA0)
MONTH = (0xEE, 0xEE, 0xEE)
ANNUAL = (0xC0, 0xDC, 0xC0)
SEASON = (0xC1, 0xDA, 0xF4)
LTAA = (0xFF, 0xFF, 0xB9)
TEXT = (0x60, 0x60, 0x60)

COLUMNS = (110, 70, 70)
ROW_HEIGHT = 14
ROWS = 17


def row_colour(row):
    if row == 0:
        return TITLE
    if row <= 12:
        return MONTH
    if row == 13:
        return ANNUAL
    if row <= 15:
        return SEASON
    return LTAA


def cell_pixel(column, row, x, y):
    """Colour of a pixel inside a cell; titles carry a dark bar standing for text."""
    colour = TITLE if column == 0 else row_colour(row)
    is_title = column == 0 or row == 0
    text_width = 60 if column == 0 else 40
    if is_title and row + column > 0 and 4 <= x < 4 + text_width and 5 <= y < 9:
        return TEXT
    return colour


def period_rows():
    width = sum(COLUMNS) + 1
    height = ROWS * ROW_HEIGHT + 1
    starts = [sum(COLUMNS[:i]) for i in range(len(COLUMNS))]

    def pixel(x, y):
        if y % ROW_HEIGHT == 0 or x in starts or x == width - 1:
            return LINE
        column = max(i for i, start in enumerate(starts) if start <= x)
        return cell_pixel(column, y // ROW_HEIGHT, x - starts[column], y % ROW_HEIGHT)

    return width, height, pixel


def png(width, height, pixel):
    rows = b"".join(
        b"\0" + bytes(c for x in range(width) for c in pixel(x, y)) for y in range(height))

    def chunk(kind, data):
        crc = zlib.crc32(kind + data) & 0xFFFFFFFF
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def main():
    folder = pathlib.Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "period_rows.png").write_bytes(png(*period_rows()))


if __name__ == "__main__":
    main()
