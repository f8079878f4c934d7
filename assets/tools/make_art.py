#!/usr/bin/env python3
"""Rebuild Quillmark's artwork.

Writes, relative to the assets/ folder:

  HAND-M.CUR         pointing-hand cursor, 32x32, 32-bit BGRA + AND mask,
                     hotspot on the tip of the index finger
  quillmark.ico      program icon: 32x32 (24 bpp), 48x48, 128x128 (32 bpp BMP)
                     and 256x256 (32 bpp, PNG-compressed entry)
  quillmark-256.png  the 256x256 icon image on its own (README, desktop file)
  icons/quillmark-N.png  the icon for the desktop's icon theme, N = 16, 24, 32,
                     48, 64, 128 and 256 pixels square
  icons/quillmark.svg    the same design as a scalable drawing

HAND-M.CUR holds a second, 64x64 image of the hand (each pixel doubled, the
hotspot with it) for screens that scale by two.

Note for Qt programs: Qt's ICO reader takes the AND mask only for paletted
entries, so it reads the 24-bit 32x32 image as opaque (black corners). Use
the 32-bit entries or quillmark-256.png when building a QIcon; the 24-bit
image is there for Windows, which honours the mask.

Only the Python standard library is used: shapes are described by signed
distance functions and rasterised with analytic anti-aliasing, then written
out with zlib/struct.

Usage:  python3 assets/tools/make_art.py [output-dir]
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Small image type: list of rows of [r, g, b, a] floats in 0..1, straight alpha
# ---------------------------------------------------------------------------


class Canvas:
    def __init__(self, w, h):
        self.w = w
        self.h = h
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]

    def blend(self, x, y, rgb, a):
        """Source-over composite of colour rgb with coverage/opacity a."""
        if a <= 0.0:
            return
        if a > 1.0:
            a = 1.0
        p = self.px[y * self.w + x]
        da = p[3]
        oa = a + da * (1.0 - a)
        if oa <= 0.0:
            return
        k = da * (1.0 - a)
        p[0] = (rgb[0] * a + p[0] * k) / oa
        p[1] = (rgb[1] * a + p[1] * k) / oa
        p[2] = (rgb[2] * a + p[2] * k) / oa
        p[3] = oa

    def rgba8(self):
        out = []
        for p in self.px:
            out.append(tuple(int(round(max(0.0, min(1.0, c)) * 255)) for c in p))
        return out


def hexrgb(s):
    s = s.lstrip('#')
    return tuple(int(s[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def mix(c1, c2, t):
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


# ---------------------------------------------------------------------------
# Signed distance functions (negative inside), in pixel units
# ---------------------------------------------------------------------------


def sd_round_rect(px, py, cx, cy, hw, hh, r):
    qx = abs(px - cx) - hw + r
    qy = abs(py - cy) - hh + r
    ox = max(qx, 0.0)
    oy = max(qy, 0.0)
    return math.hypot(ox, oy) + min(max(qx, qy), 0.0) - r


def sd_capsule(px, py, ax, ay, bx, by, r):
    vx, vy = bx - ax, by - ay
    wx, wy = px - ax, py - ay
    t = (wx * vx + wy * vy) / (vx * vx + vy * vy)
    t = max(0.0, min(1.0, t))
    return math.hypot(wx - vx * t, wy - vy * t) - r


def sd_circle(px, py, cx, cy, r):
    return math.hypot(px - cx, py - cy) - r


def coverage(d):
    """Pixel coverage from a signed distance (box-filter approximation)."""
    if d <= -0.5:
        return 1.0
    if d >= 0.5:
        return 0.0
    return 0.5 - d


def fill(canvas, sdf, colour, opacity=1.0, bbox=None, clip=None):
    """Fill the shape sdf(x, y). colour is an rgb tuple or a function
    (x, y) -> rgb. clip is an optional second sdf intersected with the shape."""
    x0, y0, x1, y1 = bbox if bbox else (0, 0, canvas.w, canvas.h)
    x0 = max(0, int(math.floor(x0)))
    y0 = max(0, int(math.floor(y0)))
    x1 = min(canvas.w, int(math.ceil(x1)))
    y1 = min(canvas.h, int(math.ceil(y1)))
    for y in range(y0, y1):
        py = y + 0.5
        for x in range(x0, x1):
            px = x + 0.5
            d = sdf(px, py)
            if clip is not None:
                d = max(d, clip(px, py))
            a = coverage(d)
            if a <= 0.0:
                continue
            c = colour(px, py) if callable(colour) else colour
            canvas.blend(x, y, c, a * opacity)


def soft_shadow(canvas, sdf, colour, opacity, blur, bbox=None):
    """A blurred copy of a shape: opacity falls off smoothly over blur px."""
    x0, y0, x1, y1 = bbox if bbox else (0, 0, canvas.w, canvas.h)
    for y in range(max(0, int(y0)), min(canvas.h, int(math.ceil(y1)))):
        for x in range(max(0, int(x0)), min(canvas.w, int(math.ceil(x1)))):
            d = sdf(x + 0.5, y + 0.5)
            t = 0.5 - d / blur
            if t <= 0.0:
                continue
            t = min(1.0, t)
            t = t * t * (3.0 - 2.0 * t)
            canvas.blend(x, y, colour, t * opacity)


# ---------------------------------------------------------------------------
# The program icon: two overlapping list sheets, teal and blue
# ---------------------------------------------------------------------------

TEAL_TOP = hexrgb('#2CC1B2')
TEAL_BOT = hexrgb('#12918F')
BLUE_TOP = hexrgb('#4C8DF0')
BLUE_BOT = hexrgb('#2A5FC9')
INK = hexrgb('#103A52')
WHITE = (1.0, 1.0, 1.0)


def draw_icon(size):
    """Draw the emblem at size x size. The design lives on a 256 grid."""
    c = Canvas(size, size)
    s = size / 256.0
    small = size <= 48

    # Sheet geometry on the 256 grid: (left, top, right, bottom)
    A = (22, 26, 150, 214)   # back sheet, teal (file 1)
    B = (106, 46, 234, 234)  # front sheet, blue (file 2)
    rad = 22 if not small else 26

    def sheet_sdf(r):
        cx = (r[0] + r[2]) / 2 * s
        cy = (r[1] + r[3]) / 2 * s
        hw = (r[2] - r[0]) / 2 * s
        hh = (r[3] - r[1]) / 2 * s
        return lambda x, y: sd_round_rect(x, y, cx, cy, hw, hh, rad * s)

    def grad(top, bot, r):
        y0 = r[1] * s
        y1 = r[3] * s

        def f(x, y):
            t = (y - y0) / (y1 - y0)
            return mix(top, bot, max(0.0, min(1.0, t)))
        return f

    if small:
        # put the sheet edges on whole pixels so small sizes stay sharp
        A = tuple(round(v * s) / s for v in A)
        B = tuple(round(v * s) / s for v in B)
    sa = sheet_sdf(A)
    sb = sheet_sdf(B)

    # soft shadows under both sheets
    if not small:
        off = 5 * s
        soft_shadow(c, lambda x, y: sa(x - off * 0.4, y - off), INK, 0.22,
                    14 * s)
        soft_shadow(c, lambda x, y: sb(x - off * 0.4, y - off), INK, 0.22,
                    14 * s)

    fill(c, sa, grad(TEAL_TOP, TEAL_BOT, A))
    # a thin darker rim where the front sheet lies on the back one
    if not small:
        fill(c, lambda x, y: sb(x + 3 * s, y - 3 * s) - 2 * s, INK, 0.18,
             clip=sa)
    fill(c, sb, grad(BLUE_TOP, BLUE_BOT, B), opacity=0.90)

    # The overlap reads as "lines in both": tint it a little deeper.
    inter = lambda x, y: max(sa(x, y), sb(x, y))
    fill(c, inter, hexrgb('#1F6FA8'), opacity=0.55)

    # List lines: (row, first x, last x). A row that runs across both
    # sheets through the overlap is a line found in both files; the others
    # belong to one sheet only and are drawn a little softer.
    if size <= 16:
        # four lines would run together: two, both across the overlap
        rows = [(88, A[0] + 22, B[2] - 22, 1.0),
                (152, A[0] + 22, B[2] - 22, 1.0)]
        thick = 2.0
    elif small:
        rows = [(74, A[0] + 22, A[2] - 34, 0.85),
                (112, A[0] + 22, B[2] - 22, 1.0),
                (150, A[0] + 22, B[2] - 22, 1.0),
                (188, B[0] + 22, B[2] - 30, 0.85)]
        thick = 2.0                     # whole pixels
    else:
        rows = [(66, A[0] + 24, A[2] - 40, 0.8),
                (102, A[0] + 24, B[2] - 24, 1.0),
                (138, A[0] + 24, A[2] - 28, 0.8),
                (174, A[0] + 24, B[2] - 40, 1.0),
                (210, B[0] + 24, B[2] - 52, 0.8)]
        thick = 10 * s
    for y, x0, x1, op in rows:
        yy = round(y * s) if small else y * s
        fill(c, lambda px, py, a=(x0 * s, yy, x1 * s, yy):
             sd_capsule(px, py, a[0], a[1], a[2], a[3], thick / 2),
             WHITE, opacity=op)
    return c


# ---------------------------------------------------------------------------
# The pointing-hand cursor (pixel art; X = outline, o = fill)
# ---------------------------------------------------------------------------

HAND = [
    "........XXX............",
    ".......XoooX...........",
    ".......XoooX...........",
    ".......XoooX...........",
    ".......XoooX...........",
    ".......XoooX...........",
    ".......XoooX...........",
    ".......XoooXXXX........",
    ".......XoooXoooXXX.....",
    ".......XoooXoooXooXXX..",
    ".XX....XoooXoooXooXooXX",
    "XooX...XoooXoooXooXoooX",
    "XoooX..XoooXoooXooXoooX",
    ".XoooX.XoooXoooXooXoooX",
    "..XoooXXooooooooooooooX",
    "...XooooooooooooooooooX",
    "....XoooooooooooooooooX",
    ".....XooooooooooooooooX",
    "......XoooooooooooooooX",
    "......XoooooooooooooooX",
    "......XoooooooooooooooX",
    ".......XoooooooooooooX.",
    ".......XoooooooooooooX.",
    "........XoooooooooooX..",
    ".........XXXXXXXXXXX...",
]
HAND_OFFSET = (4, 0)      # where the art's top-left sits in the 32x32 cell
HAND_TIP = (9, 0)         # fingertip inside the art


def draw_hand(scale=1):
    """The hand in a 32x32 cell, every pixel drawn scale x scale."""
    w = h = 32 * scale
    pix = [(0, 0, 0, 0)] * (w * h)
    ox, oy = HAND_OFFSET
    for y, row in enumerate(HAND):
        for x, ch in enumerate(row):
            if ch == '.':
                continue
            colour = (0, 0, 0, 255) if ch == 'X' else (255, 255, 255, 255)
            for dy in range(scale):
                for dx in range(scale):
                    pix[((y + oy) * scale + dy) * w + (x + ox) * scale + dx] = colour
    hotspot = ((HAND_TIP[0] + ox) * scale, (HAND_TIP[1] + oy) * scale)
    return w, h, pix, hotspot


# ---------------------------------------------------------------------------
# The same emblem as a scalable drawing (the large design of draw_icon)
# ---------------------------------------------------------------------------


def svg_icon():
    A = (22, 26, 150, 214)
    B = (106, 46, 234, 234)
    rad = 22

    def rect(r, grow=0.0, dx=0.0, dy=0.0, extra=''):
        return ('<rect x="%g" y="%g" width="%g" height="%g" rx="%g"%s/>' %
                (r[0] - grow + dx, r[1] - grow + dy, r[2] - r[0] + 2 * grow,
                 r[3] - r[1] + 2 * grow, rad + grow, extra))

    def hexc(c):
        return '#%02X%02X%02X' % tuple(int(round(v * 255)) for v in c)

    rows = [(66, A[0] + 24, A[2] - 40, 0.8),
            (102, A[0] + 24, B[2] - 24, 1.0),
            (138, A[0] + 24, A[2] - 28, 0.8),
            (174, A[0] + 24, B[2] - 40, 1.0),
            (210, B[0] + 24, B[2] - 52, 0.8)]
    out = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
        'viewBox="0 0 256 256">',
        '<defs>',
        '<linearGradient id="teal" x1="0" y1="%g" x2="0" y2="%g" '
        'gradientUnits="userSpaceOnUse"><stop offset="0" stop-color="%s"/>'
        '<stop offset="1" stop-color="%s"/></linearGradient>' %
        (A[1], A[3], hexc(TEAL_TOP), hexc(TEAL_BOT)),
        '<linearGradient id="blue" x1="0" y1="%g" x2="0" y2="%g" '
        'gradientUnits="userSpaceOnUse"><stop offset="0" stop-color="%s"/>'
        '<stop offset="1" stop-color="%s"/></linearGradient>' %
        (B[1], B[3], hexc(BLUE_TOP), hexc(BLUE_BOT)),
        '<clipPath id="back">%s</clipPath>' % rect(A),
        '<filter id="shadow" x="-20%" y="-20%" width="140%" height="140%">'
        '<feGaussianBlur stdDeviation="5"/></filter>',
        '</defs>',
        '<g fill="%s" opacity="0.22" filter="url(#shadow)">%s%s</g>' %
        (hexc(INK), rect(A, dx=2, dy=5), rect(B, dx=2, dy=5)),
        rect(A, extra=' fill="url(#teal)"'),
        '<g clip-path="url(#back)">%s</g>' %
        rect(B, grow=2, dx=-3, dy=3,
             extra=' fill="%s" fill-opacity="0.18"' % hexc(INK)),
        rect(B, extra=' fill="url(#blue)" fill-opacity="0.9"'),
        '<g clip-path="url(#back)">%s</g>' %
        rect(B, extra=' fill="#1F6FA8" fill-opacity="0.55"'),
        '<g stroke="#FFFFFF" stroke-width="10" stroke-linecap="round">',
    ]
    for y, x0, x1, op in rows:
        out.append('<line x1="%g" y1="%g" x2="%g" y2="%g"%s/>' %
                   (x0, y, x1, y,
                    '' if op == 1.0 else ' stroke-opacity="%g"' % op))
    out += ['</g>', '</svg>', '']
    return '\n'.join(out)


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------


def png_bytes(w, h, pix):
    raw = bytearray()
    for y in range(h):
        raw.append(0)
        for x in range(w):
            raw.extend(pix[y * w + x])

    def chunk(tag, data):
        body = tag + data
        return (struct.pack('>I', len(data)) + body +
                struct.pack('>I', zlib.crc32(body) & 0xffffffff))
    return (b'\x89PNG\r\n\x1a\n' +
            chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) +
            chunk(b'IEND', b''))


def dib_bytes(w, h, pix, bpp):
    """BITMAPINFOHEADER + colour rows + AND mask, as stored in ICO/CUR."""
    row_len = ((w * bpp // 8) + 3) & ~3
    mask_len = ((w + 31) // 32) * 4
    colour = bytearray()
    mask = bytearray()
    for y in range(h - 1, -1, -1):          # bottom-up
        row = bytearray()
        bits = bytearray(mask_len)
        for x in range(w):
            r, g, b, a = pix[y * w + x]
            if bpp == 32:
                row.extend((b, g, r, a))
            else:
                if a < 128:
                    r = g = b = 0
                row.extend((b, g, r))
            if a < 128:
                bits[x >> 3] |= 0x80 >> (x & 7)
        row.extend(b'\0' * (row_len - len(row)))
        colour.extend(row)
        mask.extend(bits)
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, bpp, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def icon_container(kind, entries):
    """kind 1 = ICO, 2 = CUR. entries: (w, h, field1, field2, data), where
    field1/field2 are planes/bit count (ICO) or hotspot x/y (CUR)."""
    out = struct.pack('<HHH', 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    for w, h, f1, f2, data in entries:
        out += struct.pack('<BBBBHHII', w & 0xff, h & 0xff, 0, 0, f1, f2,
                           len(data), offset)
        offset += len(data)
    for e in entries:
        out += e[4]
    return out


def flatten_for_24bpp(pix):
    """Straight colours with a hard alpha cut, for the 24-bit + mask image."""
    out = []
    for r, g, b, a in pix:
        out.append((r, g, b, 255 if a >= 110 else 0))
    return out


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(here)

    # cursor
    w, h, pix, (hx, hy) = draw_hand()
    w2, h2, pix2, (hx2, hy2) = draw_hand(2)
    cur = icon_container(2, [(w, h, hx, hy, dib_bytes(w, h, pix, 32)),
                             (w2, h2, hx2, hy2, dib_bytes(w2, h2, pix2, 32))])
    with open(os.path.join(outdir, 'HAND-M.CUR'), 'wb') as f:
        f.write(cur)

    # icon
    images = {}
    for size in (32, 48, 128, 256):
        images[size] = draw_icon(size).rgba8()
    entries = [
        (32, 32, 1, 24, dib_bytes(32, 32, flatten_for_24bpp(images[32]), 24)),
        (48, 48, 1, 32, dib_bytes(48, 48, images[48], 32)),
        (128, 128, 1, 32, dib_bytes(128, 128, images[128], 32)),
        (256, 256, 1, 32, png_bytes(256, 256, images[256])),
    ]
    with open(os.path.join(outdir, 'quillmark.ico'), 'wb') as f:
        f.write(icon_container(1, entries))
    with open(os.path.join(outdir, 'quillmark-256.png'), 'wb') as f:
        f.write(png_bytes(256, 256, images[256]))

    # the desktop's icon theme
    icondir = os.path.join(outdir, 'icons')
    os.makedirs(icondir, exist_ok=True)
    for size in (16, 24, 32, 48, 64, 128, 256):
        image = images[size] if size in images else draw_icon(size).rgba8()
        with open(os.path.join(icondir, 'quillmark-%d.png' % size), 'wb') as f:
            f.write(png_bytes(size, size, image))
    with open(os.path.join(icondir, 'quillmark.svg'), 'w') as f:
        f.write(svg_icon())

    # handy for looking at the art while editing it
    if os.environ.get('QUILLMARK_ART_DEBUG'):
        for size in (32, 48, 128):
            with open(os.path.join(outdir, 'debug-%d.png' % size), 'wb') as f:
                f.write(png_bytes(size, size, images[size]))
        with open(os.path.join(outdir, 'debug-hand.png'), 'wb') as f:
            f.write(png_bytes(w, h, pix))


if __name__ == '__main__':
    main()
