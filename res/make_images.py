#!/usr/bin/env python3
"""Draws the program's own images from simple geometry, standard library only.

  about.bmp    128x128, 8 bits per pixel with a 256-colour palette, uncompressed (About page)
  gomcfg2.svg  the application icon as vector art
  gomcfg2.png  the same icon, 64x64 RGBA, for the window icon

The motif: a cog ring around three slider bars, for "settings".
Run from anywhere; the files are written next to this script.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# Geometry in a unit square, shared by the bitmap, the icon and the SVG.
CX, CY = 0.5, 0.5
TEETH = 10
R_HOLE, R_BASE, R_TIP = 0.30, 0.36, 0.44
HALF_BASE, HALF_TIP = math.pi / TEETH * 0.55, math.pi / TEETH * 0.32
SLIDERS = [  # (y, knob x, knob colour)
    (0.39, 0.60, (236, 112, 52)),
    (0.50, 0.40, (92, 196, 120)),
    (0.61, 0.55, (244, 196, 64)),
]
BAR_X0, BAR_X1, BAR_HALF_H, KNOB_R = 0.33, 0.67, 0.016, 0.045
GOLD_IN, GOLD_OUT = (250, 214, 120), (184, 128, 40)


def in_gear(x, y):
    dx, dy = x - CX, y - CY
    r = math.hypot(dx, dy)
    if r < R_HOLE or r > R_TIP:
        return False
    if r <= R_BASE:
        return True
    step = 2 * math.pi / TEETH
    a = (math.atan2(dy, dx) + step / 2) % step - step / 2
    t = (r - R_BASE) / (R_TIP - R_BASE)
    return abs(a) <= HALF_BASE + (HALF_TIP - HALF_BASE) * t


def in_bar(x, y, yc):
    if abs(y - yc) > BAR_HALF_H:
        return False
    if BAR_X0 <= x <= BAR_X1:
        return True
    return min(math.hypot(x - BAR_X0, y - yc), math.hypot(x - BAR_X1, y - yc)) <= BAR_HALF_H


def lerp(c0, c1, t):
    t = max(0.0, min(1.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def emblem_sample(x, y, background):
    """Colour (r, g, b, a) of the emblem at one point; background gives what lies behind."""
    colour = background(x, y)
    r = math.hypot(x - CX, y - CY)
    if in_gear(x, y):
        # Lit from the upper left.
        light = 0.5 + 0.5 * ((CX - x) + (CY - y)) / (R_TIP * 1.5)
        colour = lerp(GOLD_OUT, GOLD_IN, light) + (1.0,)
    elif r < R_HOLE:
        colour = lerp((30, 52, 84), (16, 28, 52), r / R_HOLE) + (1.0,)
    for yc, kx, knob in SLIDERS:
        if in_bar(x, y, yc):
            colour = (214, 222, 232, 1.0)
        if math.hypot(x - kx, y - yc) <= KNOB_R:
            shade = 1.0 - 0.35 * max(0.0, (y - yc + x - kx) / (2 * KNOB_R))
            colour = tuple(c * shade for c in knob) + (1.0,)
    return colour


def render(size, background, samples=4):
    pixels = []
    for py in range(size):
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    y = (py + (sy + 0.5) / samples) / size
                    r, g, b, a = emblem_sample(x, y, background)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = samples * samples
            a = acc[3] / n
            if a > 0:
                rgb = tuple(int(round(c / acc[3])) for c in acc[:3])
            else:
                rgb = (0, 0, 0)
            pixels.append(rgb + (int(round(a * 255)),))
    return pixels


def night_sky(x, y):
    d = math.hypot(x - 0.42, y - 0.38) / 0.75
    return lerp((40, 96, 150), (10, 24, 52), d) + (1.0,)


def icon_tile(x, y):
    # A rounded square, transparent outside.
    m, rad = 0.03, 0.16
    qx = max(abs(x - 0.5) - (0.5 - m - rad), 0.0)
    qy = max(abs(y - 0.5) - (0.5 - m - rad), 0.0)
    if math.hypot(qx, qy) > rad:
        return (0, 0, 0, 0.0)
    return lerp((52, 112, 168), (18, 40, 76), y) + (1.0,)


def median_cut(colours, count):
    boxes = [colours]
    while len(boxes) < count:
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break
        box = max(splittable, key=lambda b: max(
            max(c[i] for c in b) - min(c[i] for c in b) for i in range(3)) * len(b))
        boxes.remove(box)
        channel = max(range(3), key=lambda i: max(c[i] for c in box) - min(c[i] for c in box))
        box.sort(key=lambda c: c[channel])
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    return [tuple(sum(c[i] for c in b) // len(b) for i in range(3)) for b in boxes]


def write_bmp8(path, size, pixels):
    colours = [p[:3] for p in pixels]
    palette = median_cut(sorted(set(colours)), 256)
    palette += [(0, 0, 0)] * (256 - len(palette))
    cache = {}

    def index(c):
        if c not in cache:
            cache[c] = min(range(256), key=lambda i: sum((a - b) ** 2
                                                         for a, b in zip(c, palette[i])))
        return cache[c]

    row_bytes = (size + 3) & ~3
    rows = []
    for y in reversed(range(size)):  # bottom-up
        row = bytes(index(colours[y * size + x]) for x in range(size))
        rows.append(row + b"\0" * (row_bytes - size))
    image = b"".join(rows)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 8, 0, len(image), 2835, 2835, 256, 0)
    with open(path, "wb") as f:
        f.write(header + info + pal + image)


def write_png(path, size, pixels):
    raw = b"".join(b"\0" + bytes(v for p in pixels[y * size:(y + 1) * size] for v in p)
                   for y in range(size))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def gear_path(scale):
    step = 2 * math.pi / TEETH
    points = []
    for k in range(TEETH):
        a = k * step
        for r, da in ((R_BASE, -HALF_BASE), (R_TIP, -HALF_TIP), (R_TIP, HALF_TIP),
                      (R_BASE, HALF_BASE)):
            points.append((r, a + da))
        for j in range(1, 4):  # the base circle between two teeth
            points.append((R_BASE, a + HALF_BASE + (step - 2 * HALF_BASE) * j / 4))
    xy = [(scale * (CX + r * math.cos(a)), scale * (CY + r * math.sin(a))) for r, a in points]
    d = "M" + " L".join(f"{x:.2f},{y:.2f}" for x, y in xy) + " Z"
    # The hole, as two arcs, cut out by the even-odd rule.
    h = scale * R_HOLE
    d += (f" M{scale * CX - h:.2f},{scale * CY:.2f} a{h:.2f},{h:.2f} 0 1,0 {2 * h:.2f},0"
          f" a{h:.2f},{h:.2f} 0 1,0 {-2 * h:.2f},0 Z")
    return d


def write_svg(path):
    s = 256
    rgb = lambda c: "#%02x%02x%02x" % c
    bars = "".join(
        f'<rect x="{s * BAR_X0 - s * BAR_HALF_H:.1f}" y="{s * (yc - BAR_HALF_H):.1f}" '
        f'width="{s * (BAR_X1 - BAR_X0 + 2 * BAR_HALF_H):.1f}" height="{s * 2 * BAR_HALF_H:.1f}" '
        f'rx="{s * BAR_HALF_H:.1f}" fill="#d6dee8"/>'
        f'<circle cx="{s * kx:.1f}" cy="{s * yc:.1f}" r="{s * KNOB_R:.1f}" fill="{rgb(knob)}"/>'
        for yc, kx, knob in SLIDERS)
    svg = f"""<svg xmlns="http://www.w3.org/2000/svg" width="{s}" height="{s}" viewBox="0 0 {s} {s}">
  <defs>
    <linearGradient id="tile" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#3470a8"/><stop offset="1" stop-color="#12284c"/>
    </linearGradient>
    <linearGradient id="gold" x1="0" y1="0" x2="1" y2="1">
      <stop offset="0" stop-color="{rgb(GOLD_IN)}"/><stop offset="1" stop-color="{rgb(GOLD_OUT)}"/>
    </linearGradient>
  </defs>
  <rect x="{s * 0.03:.1f}" y="{s * 0.03:.1f}" width="{s * 0.94:.1f}" height="{s * 0.94:.1f}" rx="{s * 0.16:.1f}" fill="url(#tile)"/>
  <circle cx="{s * CX:.1f}" cy="{s * CY:.1f}" r="{s * R_HOLE:.1f}" fill="#1c3054"/>
  <path fill="url(#gold)" fill-rule="evenodd" d="{gear_path(s)}"/>
  {bars}
</svg>
"""
    with open(path, "w") as f:
        f.write(svg)


def main():
    write_bmp8(os.path.join(HERE, "about.bmp"), 128, render(128, night_sky))
    write_png(os.path.join(HERE, "gomcfg2.png"), 64, render(64, icon_tile))
    write_svg(os.path.join(HERE, "gomcfg2.svg"))


if __name__ == "__main__":
    main()
