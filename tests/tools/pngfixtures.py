#!/usr/bin/env python3
"""Writes the PNG test files of tests/data that the image tests decode:
pictures of the kinds that need the decoder's largest buffers (16 bits a
channel, interlaced), large enough for those buffers to be megabytes, and a
small paletted one. Each is a pattern whose pixel (x, y) is
red = x * 5, green = y * 7, blue = 200, alpha = 255 - x - y, each modulo 256
(alpha only where the kind has one), so a test can check any pixel.

    python3 tests/tools/pngfixtures.py [folder]   # default tests/data
"""
import os
import struct
import sys
import zlib

WIDTH, HEIGHT = 640, 480


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(color_type, depth, interlace, rows, palette=None, width=WIDTH, height=HEIGHT):
    header = struct.pack(">IIBBBBB", width, height, depth, color_type, 0, 0, interlace)
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
    if palette:
        out += chunk(b"PLTE", palette)
    out += chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")
    return out


def pixel(x, y):
    return (x * 5) % 256, (y * 7) % 256, 200, (255 - x - y) % 256


def rgba16_rows(positions):
    """Rows of 16-bit RGBA for rows of (x, y) positions, each with the "sub"
    filter (a byte less the byte one pixel before), which keeps the file small."""
    data = bytearray()
    for row in positions:
        raw = b"".join(struct.pack(">H", v * 257) for x, y in row for v in pixel(x, y))
        data += b"\x01" + bytes((raw[i] - (raw[i - 8] if i >= 8 else 0)) % 256 for i in range(len(raw)))
    return bytes(data)


def adam7_rows():
    passes = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
    rows = []
    for x0, y0, dx, dy in passes:
        xs = list(range(x0, WIDTH, dx))
        if not xs:
            continue
        for y in range(y0, HEIGHT, dy):
            rows.append([(x, y) for x in xs])
    return rows


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data")
    plain = [[(x, y) for x in range(WIDTH)] for y in range(HEIGHT)]
    files = {
        "rgba16.png": png(6, 16, 0, rgba16_rows(plain)),
        "rgba16-interlaced.png": png(6, 16, 1, rgba16_rows(adam7_rows())),
    }
    # Paletted, 37 x 23: one entry a row, the row's colour of column 0 (no alpha).
    palette = b"".join(bytes(pixel(0, y)[:3]) for y in range(23))
    files["paletted.png"] = png(3, 8, 0, b"".join(b"\x00" + bytes([y]) * 37 for y in range(23)), palette, 37, 23)
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
