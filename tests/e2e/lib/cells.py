#!/usr/bin/env python3
"""Finds the day cells of a calendar drawn over a single-colour wallpaper.

Usage: cells.py WALLPAPER.bmp RRGGBB LEFT TOP RIGHT BOTTOM

Reads a 24-bit BMP, takes every pixel inside the panel rectangle that differs from the
background colour, groups them into 4-connected regions and prints the regions that
have the size most day cells share (the title, the weekday row, month captions and
cells merged with today's glow have other sizes), one per line, sorted into rows and
columns:  ROW COLUMN LEFT TOP RIGHT BOTTOM  (right and bottom exclusive).
"""
import struct
import sys
from collections import Counter


def read_bmp24(path):
    data = open(path, "rb").read()
    if data[:2] != b"BM":
        raise SystemExit("not a BMP: " + path)
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    if bits != 24:
        raise SystemExit("not a 24-bit BMP: %d bits" % bits)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        src = y if height < 0 else abs(height) - 1 - y
        start = offset + src * stride
        row = data[start:start + width * 3]
        rows.append([(row[3 * x + 2] << 16) | (row[3 * x + 1] << 8) | row[3 * x] for x in range(width)])
    return width, abs(height), rows


def main():
    path, bg = sys.argv[1], int(sys.argv[2], 16)
    left, top, right, bottom = (int(v) for v in sys.argv[3:7])
    width, height, rows = read_bmp24(path)
    left, top = max(left, 0), max(top, 0)
    right, bottom = min(right, width), min(bottom, height)
    seen = set()
    regions = []
    for y in range(top, bottom):
        for x in range(left, right):
            if (x, y) in seen or rows[y][x] == bg:
                continue
            stack = [(x, y)]
            seen.add((x, y))
            x0, y0, x1, y1 = x, y, x, y
            while stack:
                cx, cy = stack.pop()
                x0, y0, x1, y1 = min(x0, cx), min(y0, cy), max(x1, cx), max(y1, cy)
                for nx, ny in ((cx + 1, cy), (cx - 1, cy), (cx, cy + 1), (cx, cy - 1)):
                    if left <= nx < right and top <= ny < bottom and (nx, ny) not in seen and rows[ny][nx] != bg:
                        seen.add((nx, ny))
                        stack.append((nx, ny))
            regions.append((x0, y0, x1 + 1, y1 + 1))
    sizes = Counter((r[2] - r[0], r[3] - r[1]) for r in regions)
    if not sizes:
        return
    (cw, ch), _ = sizes.most_common(1)[0]
    cells = [r for r in regions if (r[2] - r[0], r[3] - r[1]) == (cw, ch)]
    xs = sorted({r[0] for r in cells})
    ys = sorted({r[1] for r in cells})

    def pitch(values, fallback):
        steps = [b - a for a, b in zip(values, values[1:]) if b > a]
        return min(steps) if steps else fallback

    # Rows and columns from the pitch, so that a column or row lost to today's glow does
    # not shift the others.
    px, py = pitch(xs, cw), pitch(ys, ch)
    for r in sorted(cells, key=lambda r: (r[1], r[0])):
        print(round((r[1] - ys[0]) / py), round((r[0] - xs[0]) / px), r[0], r[1], r[2], r[3])


if __name__ == "__main__":
    main()
