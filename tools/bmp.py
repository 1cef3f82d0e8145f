"""Reads and writes the uncompressed BMP files Huebrick uses: 24-bit, and 8-bit with a sorted
palette. Pixels are rows of (r, g, b), top row first; files are written bottom-up."""

import struct


def encode(rows, bits=24):
    width, height = len(rows[0]), len(rows)
    palette = sorted({c for row in rows for c in row}) if bits == 8 else []
    if len(palette) > 256:
        raise ValueError("%d colours do not fit an 8-bit palette" % len(palette))
    index = {c: i for i, c in enumerate(palette)}
    stride = (width * bits // 8 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytes(index[c] for c in row) if bits == 8 else b"".join(bytes((b, g, r)) for r, g, b in row)
        pixels += line + bytes(stride - len(line))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 54 + len(table)
    return (struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
            + struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835, len(palette), 0)
            + table + bytes(pixels))


def write(path, rows, bits=24):
    with open(path, "wb") as f:
        f.write(encode(rows, bits))


def read(path):
    """The rows of an 8- or 24-bit BMP, bottom-up or top-down."""
    data = open(path, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    size, width, height, _, bits = struct.unpack_from("<IiiHH", data, 14)
    colours = struct.unpack_from("<I", data, 46)[0] or 256
    palette = [tuple(data[14 + size + 4 * i:17 + size + 4 * i][::-1]) for i in range(colours)]
    stride = (width * bits // 8 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        line = data[offset + stride * (abs(height) - 1 - y if height > 0 else y):][:stride]
        rows.append([palette[i] for i in line[:width]] if bits == 8 else
                    [tuple(line[3 * x:3 * x + 3][::-1]) for x in range(width)])
    return rows
