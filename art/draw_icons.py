#!/usr/bin/env python3
"""Draw the Quarnel! icons from scratch and write them as PNG files.

Pure Python, no imaging library: every shape is a signed-distance function
in pixel units (negative inside), pixels that straddle an edge are
supersampled for anti-aliasing, and the PNGs are written with zlib.
Output is deterministic.  Usage:  python3 art/draw_icons.py
"""
import math
import os
import struct
import zlib

OUT_DIR = os.path.dirname(os.path.abspath(__file__))
SUB = 8  # subsamples per axis for edge pixels

APP_SIZES = (16, 24, 32, 48, 64, 128, 256)
DROP_SIZES = (16, 32)
# The Windows icons hold every size the shell asks for at 100 to 300 % scaling. Image1 draws
# the largest that fits its place (37, 47, 56 px at 96, 120, 144 dpi with Wine's font), unscaled:
# one every 8 px up to 64, then steps of a sixth or less.
APP_ICO_SIZES = (16, 20, 24, 32, 40, 48, 64, 96, 128, 256)
DROP_ICO_SIZES = (16, 24, 32, 40, 48, 56, 64, 72, 80, 96, 112, 128, 256)
# Outline width per size: bold, but whole pixels so straight edges stay crisp.
OUTLINE = {16: 1, 20: 1, 24: 1, 32: 2, 40: 2, 48: 2, 64: 3, 96: 4, 128: 5, 256: 9}

INK = (30, 34, 44, 255)            # shared dark outline
WHITE = (255, 255, 255, 255)
PAPER_LOW = (222, 230, 240, 255)   # bottom of the balloon gradient
BLUE_TOP = (44, 128, 232, 255)
BLUE = (22, 96, 206, 255)
AMBER = (226, 158, 16, 255)        # folder back and tab
YELLOW = (255, 204, 52, 255)       # folder front
YELLOW_LIGHT = (255, 230, 130, 255)
STEEL = (92, 106, 124, 255)        # lens ring and handle
GLASS = (196, 228, 255, 235)
GLINT = (255, 255, 255, 200)      # highlight on the glass


# ---------- signed distance functions ----------

def sd_circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def sd_box(x, y, x0, y0, x1, y1, r=0.0):
    """Rectangle [x0,x1] x [y0,y1] with corner radius r."""
    qx = abs(x - (x0 + x1) / 2) - ((x1 - x0) / 2 - r)
    qy = abs(y - (y0 + y1) / 2) - ((y1 - y0) / 2 - r)
    return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r


def sd_capsule(x, y, ax, ay, bx, by, r):
    """Line segment a-b with round caps and radius r."""
    dx, dy = bx - ax, by - ay
    h = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - ax - dx * h, y - ay - dy * h) - r


def sd_polygon(x, y, pts):
    """Exact distance to a simple polygon given as a list of (x, y)."""
    d = (x - pts[0][0]) ** 2 + (y - pts[0][1]) ** 2
    s = 1.0
    j = len(pts) - 1
    for i in range(len(pts)):
        (xi, yi), (xj, yj) = pts[i], pts[j]
        ex, ey, wx, wy = xj - xi, yj - yi, x - xi, y - yi
        h = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
        d = min(d, (wx - ex * h) ** 2 + (wy - ey * h) ** 2)
        c = (y >= yi, y < yj, ex * wy > ey * wx)
        if all(c) or not any(c):
            s = -s
        j = i
    return s * math.sqrt(d)


def sd_quadrant(x, y, cx, cy):
    """Lower-left quadrant x < cx, y > cy (screen coordinates)."""
    qx, qy = x - cx, cy - y
    return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0)


# ---------- rasteriser and PNG writer ----------

def coverage(sdf, px, py):
    d = sdf(px + 0.5, py + 0.5)
    if d >= 0.75:
        return 0.0
    if d <= -0.75:
        return 1.0
    steps = [(k + 0.5) / SUB for k in range(SUB)]
    hits = sum(1 for sy in steps for sx in steps if sdf(px + sx, py + sy) < 0)
    return hits / (SUB * SUB)


def render(size, layers):
    """Composite (sdf, paint) layers bottom to top; paint is RGBA or f(x, y)."""
    img = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]  # premultiplied
    for sdf, paint in layers:
        for py in range(size):
            for px in range(size):
                c = coverage(sdf, px, py)
                if c == 0.0:
                    continue
                r, g, b, a = paint(px + 0.5, py + 0.5) if callable(paint) else paint
                a = a / 255 * c
                p = img[py * size + px]
                p[:] = [r * a + p[0] * (1 - a), g * a + p[1] * (1 - a),
                        b * a + p[2] * (1 - a), a + p[3] * (1 - a)]
    out = bytearray()
    for r, g, b, a in img:
        k = 1 / a if a > 0 else 0
        out += bytes((round(r * k), round(g * k), round(b * k), round(a * 255)))
    return bytes(out)


def write_png(path, size, rgba):
    with open(path, "wb") as f:
        f.write(png_bytes(size, rgba))


def png_bytes(size, rgba):
    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data
                + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))
    stride = size * 4
    raw = b"".join(b"\0" + rgba[y * stride:(y + 1) * stride] for y in range(size))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib_bytes(size, rgba):
    """A 32-bit icon image: BGRA rows bottom-up, then the 1-bit AND mask (all 0: alpha rules)."""
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    stride = size * 4
    rows = []
    for y in reversed(range(size)):
        row = rgba[y * stride:(y + 1) * stride]
        rows.append(b"".join(bytes((row[i + 2], row[i + 1], row[i], row[i + 3]))
                             for i in range(0, stride, 4)))
    mask_stride = ((size + 31) // 32) * 4
    return header + b"".join(rows) + bytes(mask_stride * size)


def write_ico(path, images):
    """images: (size, rgba) pairs. Sizes up to 64 as bitmaps, larger ones as PNG."""
    blobs = [(size, dib_bytes(size, rgba) if size <= 64 else png_bytes(size, rgba))
             for size, rgba in images]
    offset = 6 + 16 * len(blobs)
    directory = b""
    for size, blob in blobs:
        edge = size if size < 256 else 0
        directory += struct.pack("<BBBBHHII", edge, edge, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(blobs)) + directory)
        for _, blob in blobs:
            f.write(blob)


def vgradient(top, bottom, y0, y1):
    """Paint that blends top -> bottom colour between rows y0 and y1."""
    def paint(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return paint


# ---------- application icon: speech balloon with "?" ----------

def app_icon(S):
    w = OUTLINE[S]
    m = 0 if S <= 24 else round(S / 32)           # outer margin
    x0, y0, x1, yb = m, m, S - m, round(S * 0.8)  # balloon body
    rc = S * 0.28
    tail = [(round(S * 0.14), yb - 2 * w), (round(S * 0.5), yb - 2 * w),
            (round(S * 0.08), S - m)]

    def body(x, y):
        return min(sd_box(x, y, x0, y0, x1, yb, rc), sd_polygon(x, y, tail))

    # Question mark: 3/4 ring, stem, dot; sized to the body's interior.
    t = max(2, round(S * 0.1))                    # stroke width
    g = max(1, round(t * 0.6))                    # gap above the dot
    pad = round(S * 0.06)
    h = (yb - w) - (y0 + w) - 2 * pad             # glyph height
    ro = max(3, math.floor(h * 0.3)) + (t % 2) / 2  # outer ring radius
    gt = y0 + w + pad                             # glyph top
    gb = gt + h
    cx = S / 2 + (t % 2) / 2
    cy = gt + ro
    rm = ro - t / 2                               # ring centre line
    sb = gb - t - g                               # stem bottom
    big = S >= 48

    def glyph(x, y):
        # round hook when large; squarer when small so the hole stays crisp
        ring = max(abs(sd_box(x, y, cx - rm, cy - rm, cx + rm, cy + rm,
                              rm if big else rm / 2)) - t / 2,
                   -sd_quadrant(x, y, cx, math.ceil(cy)))
        if big:  # round cap on the hook's free end
            ring = min(ring, sd_circle(x, y, cx - rm, cy, t / 2))
        stem = sd_box(x, y, cx - t / 2, cy + rm - t / 2, cx + t / 2, sb,
                      t / 2 if big else 0)
        dot = sd_box(x, y, cx - t / 2, gb - t, cx + t / 2, gb, t * 0.3 if big else 0)
        return min(ring, stem, dot)

    paper = vgradient(WHITE, PAPER_LOW, y0, S) if big else WHITE
    blue = vgradient(BLUE_TOP, BLUE, gt, gb) if big else BLUE
    return render(S, [
        (body, INK),
        (lambda x, y: body(x, y) + w, paper),
        (glyph, blue),
    ])


# ---------- drop target: folder with magnifying glass ----------

def drop_icon(S):
    k = S / 16                                    # drawn on a 16-unit grid
    w = k                                         # outline width

    def back(x, y):
        tab = sd_polygon(x, y, [(0, k), (5 * k, k), (9 * k, 5 * k), (0, 5 * k)])
        return min(tab, sd_box(x, y, 0, 3 * k, 14 * k, 13 * k, k))

    def front(x, y):
        return sd_box(x, y, 0, 5 * k, 14 * k, 13 * k, k)

    lx, ly, lr = 10 * k, 10 * k, 4 * k            # lens centre, outer radius
    hr = 1.5 * k                                  # handle radius incl. outline
    he = S - hr                                   # handle end, touches corner

    def handle(x, y):
        return sd_capsule(x, y, lx, ly, he, he, hr)

    def lens(x, y):
        return sd_circle(x, y, lx, ly, lr)

    return render(S, [
        (back, INK),
        (lambda x, y: back(x, y) + w, AMBER),
        (front, INK),
        (lambda x, y: front(x, y) + w, YELLOW),
        (lambda x, y: sd_box(x, y, w, 6 * k, 14 * k - w, 6 * k + w),
         YELLOW_LIGHT),                           # lit top edge of the front
        (handle, INK),
        (lambda x, y: handle(x, y) + w, STEEL),
        (lens, INK),
        (lambda x, y: lens(x, y) + w, STEEL),     # lens ring
        (lambda x, y: lens(x, y) + 2 * w, GLASS),
        (lambda x, y: sd_circle(x, y, lx - 1.2 * k, ly - 1.2 * k, 0.7 * k), GLINT),
    ])


def main():
    app = {s: app_icon(s) for s in sorted(set(APP_SIZES) | set(APP_ICO_SIZES))}
    drop = {s: drop_icon(s) for s in sorted(set(DROP_SIZES) | set(DROP_ICO_SIZES))}
    for s in APP_SIZES:
        write_png(os.path.join(OUT_DIR, "quarnel-%d.png" % s), s, app[s])
    for s in DROP_SIZES:
        write_png(os.path.join(OUT_DIR, "drop-folder-%d.png" % s), s, drop[s])
    # the Windows programs' icon resources
    write_ico(os.path.join(OUT_DIR, "quarnel.ico"), [(s, app[s]) for s in APP_ICO_SIZES])
    write_ico(os.path.join(OUT_DIR, "drop-folder.ico"), [(s, drop[s]) for s in DROP_ICO_SIZES])


if __name__ == "__main__":
    main()
