#!/usr/bin/env python3
"""Draws the program icon (a blue shield with a white check) into resources/veltrano.ico."""
import struct
import sys


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
    if not inside_shield(x, y):
        return (0, 0, 0, 0)
    if on_check(x, y):
        return (255, 255, 255, 255)
    shade = int(200 - 90 * y)
    return (shade, 90 + int(40 * (1 - y)), 30, 255)  # BGRA: blue dominant


def image(size):
    rows = []
    for row in range(size - 1, -1, -1):  # bottom-up
        line = b""
        for col in range(size):
            samples = [pixel((col + dx) / size, (row + dy) / size) for dx in (0.25, 0.75) for dy in (0.25, 0.75)]
            line += bytes(sum(s[i] for s in samples) // 4 for i in range(4))
        rows.append(line)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    mask_row = ((size + 31) // 32) * 4
    return header + b"".join(rows) + b"\0" * (mask_row * size)


def main(path):
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/veltrano.ico")
