#!/usr/bin/env python3
"""Compares a printed page with the page image it was printed from, and measures the
preview's picture inside the chequered panel.

  pagegrid.py compare PAGE_IMAGE PRINTED   the grid lines of both pages
  pagegrid.py extent SCREENSHOT L T R B    width and height of the picture in that panel

Pictures of any format ImageMagick reads. "compare" trims each page to its drawn part
(everything not near-white), finds the horizontal and vertical lines (rows and columns
mostly dark across the drawn part) and the lines across its second column, and prints both pages' aspect ratios and line
positions as fractions of the drawn part. It exits 1 when the aspect ratios differ by
more than 3 %, the line counts differ or a line lies more than 1.5 % from its partner.
"""
import subprocess
import sys

DARK = 200        # luminance below this counts as ink
LINE_SHARE = 0.4  # a line is dark along at least this share of the drawn part
MERGE = 0.012     # lines closer than this (fraction of the extent) are one line


def read(path):
    ppm = subprocess.run(["convert", path, "-alpha", "off", "-depth", "8", "ppm:-"],
                         check=True, capture_output=True).stdout
    fields, pos = [], 0
    while len(fields) < 4:
        while ppm[pos:pos + 1].isspace():
            pos += 1
        if ppm[pos:pos + 1] == b"#":
            pos = ppm.index(b"\n", pos)
            continue
        end = pos
        while not ppm[end:end + 1].isspace():
            end += 1
        fields.append(ppm[pos:end])
        pos = end
    width, height = int(fields[1]), int(fields[2])
    data = ppm[pos + 1:]
    lum = [[0] * width for _ in range(height)]
    for y in range(height):
        row = data[y * width * 3:(y + 1) * width * 3]
        lum[y] = [(row[i] * 77 + row[i + 1] * 151 + row[i + 2] * 28) >> 8 for i in range(0, len(row), 3)]
    return lum, width, height


def drawn_box(lum, width, height):
    rows = [y for y in range(height) if min(lum[y]) < DARK]
    cols = [x for x in range(width) if any(lum[y][x] < DARK for y in rows)]
    if not rows or not cols:
        raise SystemExit("nothing drawn on the page")
    return cols[0], rows[0], cols[-1] + 1, rows[-1] + 1


def lines(lum, box, horizontal, inner=None, share=LINE_SHARE):
    left, top, right, bottom = box
    outer = range(top, bottom) if horizontal else range(left, right)
    inner = inner or (range(left, right) if horizontal else range(top, bottom))
    extent = len(outer)
    hits = []
    for o in outer:
        dark = sum(1 for i in inner if (lum[o][i] if horizontal else lum[i][o]) < DARK)
        if dark >= share * len(inner):
            hits.append((o - outer[0]) / extent)
    groups = []
    for h in hits:
        if groups and h - groups[-1][-1] <= MERGE:
            groups[-1].append(h)
        else:
            groups.append([h])
    return [sum(g) / len(g) for g in groups]


def compare(original, printed):
    found = []
    for path in (original, printed):
        lum, w, h = read(path)
        box = drawn_box(lum, w, h)
        # The frames of one column alone: the second column from the left (Mondays
        # when week numbers are shown), in a strip close to its right edge, where the
        # left-aligned day numbers and texts do not reach. One line per row boundary.
        vertical = lines(lum, box, False)
        width = box[2] - box[0]
        edge = box[0] + int(vertical[2] * width) if len(vertical) > 2 else box[2]
        strip = range(edge - max(2, width * 15 // 1000), edge - max(1, width * 5 // 1000))
        found.append((width / (box[3] - box[1]), lines(lum, box, True), vertical, lines(lum, box, True, strip, 0.9)))
    ok = True
    (a1, h1, v1, w1), (a2, h2, v2, w2) = found
    print("aspect %.4f %.4f" % (a1, a2))
    if abs(a1 - a2) > 0.03 * a1:
        print("aspect ratios differ")
        ok = False
    for name, l1, l2 in (("horizontal", h1, h2), ("vertical", v1, v2), ("column", w1, w2)):
        print("%s %d %d: %s | %s" % (name, len(l1), len(l2), " ".join("%.3f" % v for v in l1),
                                     " ".join("%.3f" % v for v in l2)))
        if len(l1) != len(l2):
            print("%s line counts differ" % name)
            ok = False
        elif any(abs(p - q) > 0.015 for p, q in zip(l1, l2)):
            print("%s lines lie elsewhere" % name)
            ok = False
    return 0 if ok else 1


def extent(shot, left, top, right, bottom):
    lum, _, _ = read(shot)
    board = {0xB0, 0xC0}

    def run(values):
        inside = [i for i, v in enumerate(values) if v not in board]
        return inside[-1] - inside[0] + 1 if inside else 0

    cy, cx = (top + bottom) // 2, (left + right) // 2
    print(run(lum[cy][left:right]), run([lum[y][cx] for y in range(top, bottom)]))
    return 0


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "compare":
        sys.exit(compare(sys.argv[2], sys.argv[3]))
    if len(sys.argv) == 7 and sys.argv[1] == "extent":
        sys.exit(extent(sys.argv[2], *map(int, sys.argv[3:])))
    sys.exit(__doc__)
