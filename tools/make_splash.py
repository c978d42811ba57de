#!/usr/bin/env python3
"""Draws the about-window picture: resources/images/splash.png.

The picture is 433 x 223 pixels, 24-bit RGB. Pure yellow (255, 255, 0) marks
the pixels that do not belong to the window; the window's outline is made of
exactly the other pixels, so the cut-out edge is hard: a pixel is yellow when
its centre lies outside the silhouette, and nothing inside the art comes near
yellow.

Left: a threaded bolt in axial section whose teeth and three measuring wires
form the top and bottom of the window's outline, with the name "Zevko" on it.
Right: a calm, light card that carries the window's two text labels.

Standard library only. The two lines of lettering are rasterised by
ImageMagick's `convert` (DejaVu Sans Bold); every other pixel is computed
here, edges antialiased by supersampling.

Usage: tools/make_splash.py [output.png]
"""

import math
import os
import struct
import subprocess
import sys
import zlib

W, H = 433, 223
YELLOW = (255, 255, 0)

# The two areas the window's labels are drawn on (inclusive pixel ranges).
LABEL_AREAS = ((211, 54, 429, 102), (212, 142, 422, 194))

# --- geometry -------------------------------------------------------------

PITCH = 32.0
ROOT_HALF = 4.0                      # root flat P/4, crest flat P/8
CREST_HALF = 2.0
RUN = PITCH / 2 - ROOT_HALF - CREST_HALF
TAN30 = math.tan(math.radians(30))
DEPTH = RUN / TAN30
CREST_Y = 16.0                       # upper crests; the lower profile mirrors it
ROOT_Y = CREST_Y + DEPTH
AXIS_Y = H / 2
GROOVE0 = 20.0                       # first upper groove; the lower ones sit half a pitch on
BOLT_LEFT = 8.0
CHAMFER = 12.0
CARD_LEFT = 196.0
CARD_RADIUS = 14.0

WIRE_R = 12.0
_apex = ROOT_Y + ROOT_HALF / TAN30
_wire_top_y = _apex - 2 * WIRE_R     # resting on both flanks of its groove
WIRES = ((GROOVE0 + 3 * PITCH, _wire_top_y),
         (GROOVE0 + 4 * PITCH, _wire_top_y),
         (GROOVE0 + 3.5 * PITCH, H - _wire_top_y))


def profile_y(x, groove0):
    """Height of the thread flank line above the root side at x (upper profile)."""
    u = abs(((x - groove0 + PITCH / 2) % PITCH) - PITCH / 2)
    if u <= ROOT_HALF:
        return ROOT_Y
    if u >= ROOT_HALF + RUN:
        return CREST_Y
    return ROOT_Y - (u - ROOT_HALF) / TAN30


def top_edge(x):
    return profile_y(x, GROOVE0)


def bottom_edge(x):
    return H - profile_y(x, GROOVE0 + PITCH / 2)


def in_bolt(x, y):
    if x < BOLT_LEFT or x >= CARD_LEFT + 1:
        return False
    if (x - BOLT_LEFT) + (y - CREST_Y) < CHAMFER or (x - BOLT_LEFT) + (H - CREST_Y - y) < CHAMFER:
        return False
    return top_edge(x) <= y <= bottom_edge(x)


def in_card(x, y):
    if x < CARD_LEFT or x > W or y < 0 or y > H:
        return False
    r = CARD_RADIUS
    cx = min(max(x, CARD_LEFT + r), W - r)
    cy = min(max(y, r), H - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_wire(x, y):
    return any((x - wx) ** 2 + (y - wy) ** 2 <= WIRE_R ** 2 for wx, wy in WIRES)


def in_seat(x, y):
    """The groove behind a wire, between the wire and the root: part of the window,
    so that the outline has no pinholes where a wire rests on its flanks."""
    for wx, wy in WIRES:
        if abs(x - wx) < WIRE_R:
            if wy < AXIS_Y and wy <= y <= top_edge(x):
                return True
            if wy > AXIS_Y and bottom_edge(x) <= y <= wy:
                return True
    return False


def in_silhouette(x, y):
    return in_card(x, y) or in_bolt(x, y) or in_wire(x, y) or in_seat(x, y)


# --- colours ---------------------------------------------------------------

def hexrgb(s):
    return tuple(int(s[i:i + 2], 16) for i in (1, 3, 5))


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


FRAME = hexrgb("#1b3350")
CARD = hexrgb("#f6f8fb")
CARD_RULE = hexrgb("#cdd8e4")
CARD_MOTIF = hexrgb("#a7bcd3")
BOLT_TOP = hexrgb("#3a6f9f")
BOLT_BOTTOM = hexrgb("#15365b")
FLANK = hexrgb("#7fa5cc")
WIRE_LIGHT = hexrgb("#fde3b0")
WIRE_BASE = hexrgb("#f0a53a")
WIRE_DARK = hexrgb("#c77713")
SEAT = hexrgb("#0e2136")
NAME = hexrgb("#ffffff")
SUBTITLE = hexrgb("#b7cfe8")

# A small thread line with one wire above the title, as on the bolt.
MOTIF_Y = 30.0
MOTIF_X0, MOTIF_X1 = 216.0, 416.0
MOTIF_PITCH = 16.0
MOTIF_DEPTH = 7.0
_motif_r = 5.0
# resting in the ninth groove, touching both of its flanks
MOTIF_WIRE = (MOTIF_X0 + 9 * MOTIF_PITCH,
              MOTIF_Y + MOTIF_DEPTH / 2 - _motif_r / math.cos(math.atan(MOTIF_DEPTH / (MOTIF_PITCH / 2))),
              _motif_r)


def motif_line_y(x):
    u = abs(((x - MOTIF_X0) % MOTIF_PITCH) - MOTIF_PITCH / 2) / (MOTIF_PITCH / 2)
    return MOTIF_Y - MOTIF_DEPTH / 2 + MOTIF_DEPTH * u


def card_colour(x, y):
    # the rule between the two label areas
    if 212 <= x < 421 and 121 <= y < 122:
        return CARD_RULE
    wx, wy, wr = MOTIF_WIRE
    d = math.hypot(x - wx, y - wy)
    if d <= wr:
        return WIRE_BASE if d <= wr - 1.2 else WIRE_DARK
    if MOTIF_X0 <= x <= MOTIF_X1 and abs(y - motif_line_y(x)) <= 0.9:
        return CARD_MOTIF
    return CARD


def bolt_colour(x, y):
    # flanks catch the light along both thread profiles
    if y - top_edge(x) < 2.5 or bottom_edge(x) - y < 2.5:
        return FLANK
    t = (y - CREST_Y) / (H - 2 * CREST_Y)
    base = mix(BOLT_TOP, BOLT_BOTTOM, t)
    # the helix seen from the side: crest lines run from an upper crest to the
    # lower crest half a pitch on, root lines between them
    first_crest = GROOVE0 + PITCH / 2 + t * PITCH / 2
    u = (x - first_crest) % PITCH
    if min(u, PITCH - u) < 1.0:
        return mix(base, FLANK, 0.35)
    if abs(u - PITCH / 2) < 1.0:
        return mix(base, (0, 0, 0), 0.25)
    return base


def wire_colour(x, y, wx, wy):
    d = math.hypot(x - wx, y - wy)
    if d > WIRE_R - 1.6:
        return FRAME
    hl = math.hypot(x - (wx - 4), y - (wy - 4)) / (WIRE_R + 4)
    return mix(WIRE_LIGHT, WIRE_BASE, hl * 2.2) if hl < 0.45 else mix(WIRE_BASE, WIRE_DARK, (hl - 0.45) * 2.5)


def colour_at(x, y):
    """Colour of the art at a point; None outside the silhouette."""
    for wx, wy in WIRES:
        if (x - wx) ** 2 + (y - wy) ** 2 <= WIRE_R ** 2:
            return wire_colour(x, y, wx, wy)
    if in_seat(x, y):
        return SEAT
    if in_card(x, y):
        if x < CARD_LEFT + 2:
            return FRAME            # seam between bolt and card
        return card_colour(x, y)
    if in_bolt(x, y):
        return bolt_colour(x, y)
    return None


# --- lettering -------------------------------------------------------------

def text_coverage(text, size):
    """Greyscale coverage (rows of 0..255) of a line of DejaVu Sans Bold, via ImageMagick."""
    cmd = ["convert", "-background", "black", "-fill", "white", "-font", "DejaVu-Sans-Bold",
           "-density", "72", "-pointsize", str(size), "label:" + text, "-depth", "8", "pgm:-"]
    data = subprocess.run(cmd, check=True, capture_output=True).stdout
    fields, pos = [], 0
    while len(fields) < 4:          # P5 width height maxval, separated by whitespace
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    pos += 1
    if fields[0] != b"P5" or int(fields[3]) != 255:
        raise RuntimeError("unexpected output of convert")
    w, h = int(fields[1]), int(fields[2])
    rows = [data[pos + r * w: pos + (r + 1) * w] for r in range(h)]
    # trim empty borders so that placement is by the ink, not the line box
    ink_rows = [r for r in range(h) if any(rows[r])]
    ink_cols = [c for c in range(w) if any(rows[r][c] for r in range(h))]
    r0, r1, c0, c1 = ink_rows[0], ink_rows[-1] + 1, ink_cols[0], ink_cols[-1] + 1
    return [rows[r][c0:c1] for r in range(r0, r1)]


def paint_text(img, cov, cx, top, colour):
    """Blend coverage onto the image, centred on cx, ink starting at row top."""
    w = len(cov[0])
    left = round(cx - w / 2)
    for r, row in enumerate(cov):
        for c, a in enumerate(row):
            if a:
                x, y = left + c, top + r
                img[y][x] = mix(img[y][x], colour, a / 255.0)


# --- rendering -------------------------------------------------------------

SS = 4   # samples per axis on edge pixels


def render():
    inside = [[in_silhouette(x + 0.5, y + 0.5) for x in range(W)] for y in range(H)]
    img = [[None] * W for _ in range(H)]
    for y in range(H):
        for x in range(W):
            if not inside[y][x]:
                img[y][x] = YELLOW
                continue
            centre = colour_at(x + 0.5, y + 0.5)
            # uniform neighbourhood: one sample is enough
            probe = [colour_at(x + dx, y + dy) for dx, dy in ((0.05, 0.05), (0.95, 0.05), (0.05, 0.95), (0.95, 0.95))]
            if all(p == centre for p in probe):
                img[y][x] = centre
                continue
            acc, n = [0.0, 0.0, 0.0], 0
            for sy in range(SS):
                for sx in range(SS):
                    c = colour_at(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS)
                    if c is None:
                        c = centre    # the outer edge stays hard: the frame below covers it
                    acc = [acc[i] + c[i] for i in range(3)]
                    n += 1
            img[y][x] = tuple(v / n for v in acc)

    # lettering on the bolt
    name = text_coverage("Zevko", 50)
    paint_text(img, name, (BOLT_LEFT + CARD_LEFT) / 2, 78, NAME)
    sub = text_coverage("Thread - PD", 19)
    paint_text(img, sub, (BOLT_LEFT + CARD_LEFT) / 2, 78 + len(name) + 16, SUBTITLE)

    # a 2-pixel frame along the whole outline, decided per pixel so the edge stays hard
    for y in range(H):
        for x in range(W):
            if not inside[y][x]:
                continue
            near_edge = False
            for dy in (-2, -1, 0, 1, 2):
                for dx in (-2, -1, 0, 1, 2):
                    if abs(dx) + abs(dy) > 3:
                        continue
                    xx, yy = x + dx, y + dy
                    if not (0 <= xx < W and 0 <= yy < H) or not inside[yy][xx]:
                        near_edge = True
                        break
                if near_edge:
                    break
            if near_edge:
                img[y][x] = FRAME

    out = [[tuple(int(round(v)) for v in img[y][x]) for x in range(W)] for y in range(H)]
    check(out, inside)
    return out


def check(img, inside):
    """The promises the about window relies on."""
    for y in range(H):
        for x in range(W):
            r, g, b = img[y][x]
            if not inside[y][x]:
                assert (r, g, b) == YELLOW
            else:
                # clearly not yellow: never bright red and green with little blue
                assert not (r > 200 and g > 200 and b < 120), (x, y, img[y][x])
    for x0, y0, x1, y1 in LABEL_AREAS:
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                r, g, b = img[y][x]
                assert inside[y][x] and min(r, g, b) >= 190, ("label area not calm", x, y, img[y][x])


def png_bytes(img):
    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in img)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0)   # 8 bit, colour type 2 (RGB), no interlace
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "images", "splash.png")
    data = png_bytes(render())
    tmp = target + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, target)
    print(f"{os.path.normpath(target)}: {W} x {H}, RGB 8 bit, {len(data)} bytes")


if __name__ == "__main__":
    main()
