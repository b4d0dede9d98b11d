#!/usr/bin/env python3
"""Draws the program icon (a clipboard whose text turns from one code set into another)
and writes it as a Windows .ico, 32-bit colour, with an image for the small and the large
icon at each display scale from 100 % to 200 % (16, 20, 24, 32 and 32, 40, 48, 64 pixels).

Usage: mkicon.py OUTPUT.ico
The shapes are given in unit coordinates and rendered with 4 x 4 supersampling, so each
size is drawn from the same description."""

import struct
import sys

OUTLINE = (60, 40, 20)


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def triangle_down(cx, y0, y1, half):
    def inside(x, y):
        if not (y0 <= y <= y1):
            return False
        w = half * (y1 - y) / (y1 - y0)
        return abs(x - cx) <= w
    return inside


def shapes():
    """Painted in order; later shapes cover earlier ones."""
    out = []
    # Board with a dark rim.
    out.append((rounded_rect(0.10, 0.08, 0.90, 0.98, 0.09), OUTLINE))
    out.append((rounded_rect(0.13, 0.11, 0.87, 0.95, 0.07), (176, 112, 52)))
    # Paper.
    out.append((rect(0.20, 0.21, 0.80, 0.89), (120, 120, 120)))
    out.append((rect(0.22, 0.23, 0.78, 0.87), (255, 255, 255)))
    # Clip.
    out.append((rounded_rect(0.32, 0.02, 0.68, 0.22, 0.05), (70, 70, 80)))
    out.append((rounded_rect(0.35, 0.05, 0.65, 0.19, 0.04), (200, 204, 214)))
    out.append((rounded_rect(0.44, 0.07, 0.56, 0.12, 0.02), (70, 70, 80)))
    # Text before the conversion (blue) ...
    out.append((rect(0.28, 0.30, 0.72, 0.35), (30, 70, 200)))
    out.append((rect(0.28, 0.40, 0.62, 0.45), (30, 70, 200)))
    # ... the conversion ...
    out.append((rect(0.45, 0.48, 0.55, 0.56), (20, 150, 40)))
    out.append((triangle_down(0.50, 0.55, 0.68, 0.14), (20, 150, 40)))
    # ... and after it (red).
    out.append((rect(0.28, 0.72, 0.72, 0.77), (200, 40, 40)))
    out.append((rect(0.28, 0.81, 0.58, 0.86), (200, 40, 40)))
    return out


def render(size, ss=4):
    """Rows top to bottom of (r, g, b, a)."""
    painted = shapes()
    rows = []
    n = size * ss
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(ss):
                for sx in range(ss):
                    x = (px * ss + sx + 0.5) / n
                    y = (py * ss + sy + 0.5) / n
                    colour = None
                    for inside, c in painted:
                        if inside(x, y):
                            colour = c
                    if colour is not None:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            k = ss * ss
            if acc[3]:
                row.append((acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3],
                            255 * acc[3] // k))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def icon_image(size):
    """A BITMAPINFOHEADER image as .ico files hold it: height doubled, XOR then AND mask,
    rows bottom-up."""
    rows = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(xor) + bytes(mask)


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: mkicon.py OUTPUT.ico')
    sizes = [16, 20, 24, 32, 40, 48, 64]
    images = [icon_image(s) for s in sizes]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(sys.argv[1], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
