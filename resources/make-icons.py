#!/usr/bin/env python3
"""Draws the product icons and writes them as .ico files.

Vembrol.ico: a beamed pair of notes on a teal tile with a spark, for the Starter.
Uninstall.ico: the same tile with a red remove badge, for the uninstaller.
Every size Windows asks for at 100 to 200 % display scaling is drawn, so none is scaled from
another: 16, 20, 24, 32 and 40 pixels (notification area, small icons), 48 and 256 (Explorer).
Shapes are drawn from distance functions with supersampling so each size stays crisp. Images up
to 48 pixels are 32-bit DIBs with alpha; the 256-pixel one is PNG-compressed, as Windows
expects it there (a 256-pixel DIB would add 256 KB to each program).
"""
import math
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 256)


def clamp(v, lo=0.0, hi=1.0):
    return max(lo, min(hi, v))


def rounded_box(x, y, cx, cy, hw, hh, r):
    qx, qy = abs(x - cx) - hw + r, abs(y - cy) - hh + r
    return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r


def ellipse(x, y, cx, cy, rx, ry, angle):
    c, s = math.cos(angle), math.sin(angle)
    dx, dy = x - cx, y - cy
    u, v = (dx * c + dy * s) / rx, (-dx * s + dy * c) / ry
    return (math.hypot(u, v) - 1) * min(rx, ry)


def segment(x, y, ax, ay, bx, by, w):
    px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
    t = clamp((px * vx + py * vy) / (vx * vx + vy * vy))
    return math.hypot(px - vx * t, py - vy * t) - w


def spark(x, y, cx, cy, r):
    dx, dy = abs(x - cx), abs(y - cy)
    return (dx ** 0.5 + dy ** 0.5) - r ** 0.5


def over(dst, src):
    sr, sg, sb, sa = src
    dr, dg, db, da = dst
    a = sa + da * (1 - sa)
    if a == 0:
        return (0, 0, 0, 0)
    return ((sr * sa + dr * da * (1 - sa)) / a, (sg * sa + dg * da * (1 - sa)) / a,
            (sb * sa + db * da * (1 - sa)) / a, a)


def shade(x, y, badge):
    """Colour at a point of the unit square (0..1), as (r, g, b, a) in 0..1."""
    px = (0, 0, 0, 0)
    if rounded_box(x, y, 0.5, 0.5, 0.47, 0.47, 0.16) < 0:
        t = y
        px = (0.05 + 0.05 * t, 0.55 - 0.25 * t, 0.62 - 0.22 * t, 1.0)
    white = (1, 1, 1, 1)
    notes = [ellipse(x, y, 0.30, 0.72, 0.12, 0.085, -0.45), ellipse(x, y, 0.66, 0.64, 0.12, 0.085, -0.45),
             segment(x, y, 0.405, 0.70, 0.405, 0.26, 0.035), segment(x, y, 0.765, 0.62, 0.765, 0.18, 0.035),
             segment(x, y, 0.405, 0.27, 0.765, 0.19, 0.06)]
    if min(notes) < 0:
        px = over(px, white)
    if not badge and spark(x, y, 0.22, 0.24, 0.13) < 0:
        px = over(px, (1.0, 0.86, 0.25, 1))
    if badge:
        d = math.hypot(x - 0.74, y - 0.76) - 0.23
        if d < 0:
            px = over(px, (0.85, 0.12, 0.12, 1))
        if d < 0 and segment(x, y, 0.63, 0.76, 0.85, 0.76, 0.045) < 0:
            px = over(px, white)
    return px


def render(size, badge):
    n = 4
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sj in range(n):
                for si in range(n):
                    r, g, b, a = shade((i + (si + 0.5) / n) / size, (j + (sj + 0.5) / n) / size, badge)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            a = acc[3] / (n * n)
            if a > 0:
                rgb = [acc[k] / acc[3] for k in range(3)]
            else:
                rgb = [0, 0, 0]
            row.append(tuple(int(round(clamp(c) * 255)) for c in rgb) + (int(round(a * 255)),))
        rows.append(row)
    return rows


def dib(rows):
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # alpha carries the shape; an all-zero AND mask
    return header + pixels + mask


def png(rows):
    size = len(rows)
    raw = b''.join(b'\x00' + bytes(v for px in row for v in px) for row in rows)  # filter 0, RGBA

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def image(size, badge):
    rows = render(size, badge)
    return png(rows) if size >= 256 else dib(rows)


def write_ico(path, images):
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for size, data in images:
        # The directory's width and height bytes hold 0 for 256 pixels.
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        blobs.append(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(blobs))


def main():
    outdir = sys.argv[1] if len(sys.argv) > 1 else '.'
    for name, badge in (('Vembrol.ico', False), ('Uninstall.ico', True)):
        write_ico(f'{outdir}/{name}', [(s, image(s, badge)) for s in SIZES])


if __name__ == '__main__':
    main()
