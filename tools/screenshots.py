#!/usr/bin/env python3
"""Finds windows in a screenshot of the main window (a binary PPM) for tools/screenshots.sh.

  screenshots.py boxes FILE  -> x y w h of every picture box with a sunken border, one a line
  screenshots.py active FILE -> x y w h of the active child window (its blue title bar), or nothing
"""
import sys


def load(path):
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit(f"{path}: not an 8-bit binary PPM")
    w, h = int(fields[1]), int(fields[2])
    return w, h, data[pos + 1:]


def main():
    what, path = sys.argv[1], sys.argv[2]
    w, h, px = load(path)
    at = lambda x, y: px[3 * (y * w + x):3 * (y * w + x) + 3]

    def run(x, y, dx, dy, colour):
        n = 0
        while 0 <= x < w and 0 <= y < h and at(x, y) == colour:
            x, y, n = x + dx, y + dy, n + 1
        return n

    if what == "boxes":
        # The sunken border: an outer line of grey 128 and an inner line of grey 64 at the top left.
        outer, inner = bytes([128] * 3), bytes([64] * 3)
        for y in range(h - 1):
            row = px[3 * y * w:3 * (y + 1) * w]
            x = row.find(outer * 20)
            while x >= 0:
                if x % 3 == 0:
                    x //= 3
                    if at(x + 1, y + 1) == inner and (x == 0 or at(x - 1, y) != outer) and \
                            (y == 0 or at(x, y - 1) != outer):
                        bw, bh = run(x, y, 1, 0, outer) + 1, run(x, y, 0, 1, outer) + 1
                        if bw > 40 and bh > 40:
                            print(x, y, bw, bh)
                    x *= 3
                x = row.find(outer * 20, x + 3)
    elif what == "active":
        title = bytes([27, 78, 110])
        for y in range(h):
            row = px[3 * y * w:3 * (y + 1) * w]
            x = row.find(title * 100)
            while x >= 0 and x % 3:
                x = row.find(title * 100, x + 1)
            if x < 0:
                continue
            x //= 3
            mid = x + run(x, y, 1, 0, title) // 2
            tb = y + 1 + run(mid, y + 1, 0, 1, bytes(at(mid, y + 1)))
            while tb < h and at(mid, tb) != title:
                tb += 1
            lx = x
            while lx > 0 and at(lx - 1, tb) == title:
                lx -= 1
            rx = lx
            while rx + 1 < w and at(rx + 1, tb) == title:
                rx += 1
            bottom = tb + 1 + run(lx, tb + 1, 0, 1, bytes([114] * 3))
            left = max(lx - 1, 0)
            print(left, y, min(rx + 2, w) - left, bottom - y)
            return


main()
