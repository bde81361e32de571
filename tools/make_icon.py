#!/usr/bin/env python3
"""Draws the program icon (a blue shield with a white check) into resources/veltrano.ico."""
import struct
import sys
import zlib


def inside_shield(x, y):
    # x, y in 0..1; a shield: straight sides in the upper half, a point at the bottom.
    if y < 0.08 or y > 0.95:
        return False
    if y < 0.55:
        return 0.12 <= x <= 0.88
    half = 0.38 * (0.95 - y) / 0.40
    return abs(x - 0.5) <= half


def on_check(x, y):
    # Two strokes of a check mark, thickness 0.09.
    def near(ax, ay, bx, by):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= 0.075 ** 2
    return near(0.30, 0.47, 0.45, 0.63) or near(0.45, 0.63, 0.72, 0.30)


def pixel(x, y):
    """The colour at x, y as (R, G, B, A)."""
    if not inside_shield(x, y):
        return (0, 0, 0, 0)
    if on_check(x, y):
        return (255, 255, 255, 255)
    return (30, 90 + int(40 * (1 - y)), int(200 - 90 * y), 255)  # blue dominant


def rows_top_down(size):
    """Each pixel averaged over 4 × 4 samples, so that edges are smooth at every size."""
    grid = 4
    offsets = [(i + 0.5) / grid for i in range(grid)]
    rows = []
    for row in range(size):
        line = []
        for col in range(size):
            samples = [pixel((col + dx) / size, (row + dy) / size) for dx in offsets for dy in offsets]
            line.append(tuple(sum(s[i] for s in samples) // len(samples) for i in range(4)))
        rows.append(line)
    return rows


def dib(size):
    """A 32-bit frame as icons store it: a bottom-up BGRA bitmap and an AND mask."""
    pixels = b"".join(bytes((b, g, r, a)) for line in reversed(rows_top_down(size)) for r, g, b, a in line)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    mask_row = ((size + 31) // 32) * 4
    return header + pixels + b"\0" * (mask_row * size)


def png(size):
    """A PNG-compressed frame, as icons store their 256-pixel frame."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in line) for line in rows_top_down(size))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


# Every size Windows asks for at 100 % to 200 % scale, and the large frame drawn scaled down.
SIZES = [16, 20, 24, 32, 40, 48, 64, 256]


def main(path):
    images = [png(s) if s == 256 else dib(s) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(SIZES))
    offset = 6 + 16 * len(SIZES)
    for s, data in zip(SIZES, images):
        side = s % 256  # 0 stands for 256
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/veltrano.ico")
