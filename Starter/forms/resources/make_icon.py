#!/usr/bin/env python3
"""Draws the Starter's product icon (16x16 and 32x32, 32-bit with alpha) into StarterIcon.ico.

Run it again after changing the drawing: python3 make_icon.py [output.ico]
Only the standard library is used, so the icon can be rebuilt on any machine.
"""
import struct
import sys

BLUE = (0x1E, 0x5A, 0xA8)   # disc
RIM = (0x0F, 0x2F, 0x5C)    # disc edge
WHITE = (0xFF, 0xFF, 0xFF)  # the "V"
SAMPLES = 4                 # per axis, for smooth edges at 16x16


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    cx, cy = ax + t * dx, ay + t * dy
    return ((px - cx) ** 2 + (py - cy) ** 2) ** 0.5


def shade(u, v):
    """Colour and coverage of one sample at (u, v) in the unit square."""
    r = ((u - 0.5) ** 2 + (v - 0.5) ** 2) ** 0.5
    if r > 0.48:
        return None
    stroke = 0.075
    in_v = (segment_distance(u, v, 0.28, 0.27, 0.47, 0.73) < stroke or
            segment_distance(u, v, 0.47, 0.73, 0.72, 0.27) < stroke)
    if in_v:
        return WHITE
    return RIM if r > 0.43 else BLUE


def render(size):
    """Rows top to bottom of (b, g, r, a)."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0]
            hits = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    u = (x + (sx + 0.5) / SAMPLES) / size
                    v = (y + (sy + 0.5) / SAMPLES) / size
                    c = shade(u, v)
                    if c is not None:
                        hits += 1
                        for i in range(3):
                            acc[i] += c[i]
            n = SAMPLES * SAMPLES
            if hits == 0:
                row.append((0, 0, 0, 0))
            else:
                r, g, b = (acc[i] // hits for i in range(3))
                row.append((b, g, r, 255 * hits // n))
        rows.append(row)
    return rows


def dib(size):
    rows = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes(c for px in row for c in px) for row in reversed(rows))
    mask_stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + xor + mask


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else 'StarterIcon.ico'
    images = [(s, dib(s)) for s in (16, 32)]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, blob in images:
        data += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for _, blob in images:
        data += blob
    with open(out, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main()
