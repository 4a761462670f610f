"""Reads the 24-bit BMP screen captures that the helper programs write and finds where they are lit."""

import struct
from dataclasses import dataclass

# Dithering and filtering leave near-black pixels in black areas; the helpers use the same threshold.
BLACK_THRESHOLD = 24
_LIT = bytes(0 if value <= BLACK_THRESHOLD else 1 for value in range(256))


@dataclass
class Bitmap:
    width: int
    height: int
    rows: list  # top-down, each row 3 * width bytes in blue, green, red order


@dataclass
class Extent:
    left: int
    top: int
    right: int  # inclusive
    bottom: int  # inclusive
    lit_rows: int  # rows between top and bottom with at least one lit pixel

    def __str__(self):
        return (f"x {self.left}..{self.right}, y {self.top}..{self.bottom} "
                f"({self.right - self.left + 1} x {self.bottom - self.top + 1})")


def read_bmp(path):
    with open(path, "rb") as file:
        data = file.read()
    if len(data) < 54 or data[:2] != b"BM":
        raise ValueError(f"{path}: not a BMP file")
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24:
        raise ValueError(f"{path}: {bits} bits per pixel, expected 24")
    top_down = height < 0
    height = abs(height)
    stride = (width * 3 + 3) & ~3
    if len(data) < offset + stride * height:
        raise ValueError(f"{path}: truncated pixel data")
    rows = [data[offset + stride * row:offset + stride * row + 3 * width] for row in range(height)]
    if not top_down:
        rows.reverse()
    return Bitmap(width, height, rows)


def lit_extent(bitmap):
    """The smallest rectangle holding every pixel that is not black, or None for a black picture."""
    left = top = right = bottom = None
    lit_rows = 0
    for y, row in enumerate(bitmap.rows):
        lit = row.translate(_LIT)
        first = lit.find(1)
        if first < 0:
            continue
        lit_rows += 1
        last = lit.rfind(1)
        top = y if top is None else top
        bottom = y
        left = first // 3 if left is None else min(left, first // 3)
        right = last // 3 if right is None else max(right, last // 3)
    if top is None:
        return None
    return Extent(left, top, right, bottom, lit_rows)


def block_means(bitmap, width, height, columns, rows):
    """Mean red, green and blue of each block of a grid laid over the top-left width x height pixels."""
    means = []
    for row in range(rows):
        top, bottom = row * height // rows, (row + 1) * height // rows
        for column in range(columns):
            left, right = column * width // columns, (column + 1) * width // columns
            totals = [0, 0, 0]
            for y in range(top, bottom):
                line = bitmap.rows[y]
                for channel in range(3):
                    totals[channel] += sum(line[3 * left + channel:3 * right:3])
            count = max(1, (bottom - top) * (right - left))
            means.append(tuple(total / count for total in reversed(totals)))
    return means


def distinct_colours(bitmap, step=8):
    """How many different colours a grid of samples shows, to tell a picture from a flat fill."""
    colours = set()
    for y in range(0, bitmap.height, step):
        line = bitmap.rows[y]
        for x in range(0, bitmap.width, step):
            colours.add(line[3 * x:3 * x + 3])
    return len(colours)

