"""Tiny raster library for Pinvel's build-time artwork.

Everything here is plain Python so the build needs nothing beyond python3.
Geometry is in pixel units with y pointing down; pixel (x, y) covers the
square [x, x+1) x [y, y+1), so a shape edge on an integer coordinate lands
exactly between pixels and comes out crisp.

Shapes are Paths (lists of closed contours).  Every builder returns
contours wound the same way, so adding Paths together is a union under the
default non-zero rule, and Path.hole() punches counters.  Anti-aliasing
uses exact horizontal coverage and SS sub-scanlines per pixel row.
"""

import bisect
import collections
import heapq
import itertools
import math
import os
import struct
import zlib

SS = 16  # sub-scanlines per pixel row; 16 keeps near-horizontal edges smooth


# ---------------------------------------------------------------- transforms
# An affine transform is a 6-tuple (a, b, c, d, e, f):
#   x' = a*x + c*y + e,  y' = b*x + d*y + f

IDENTITY = (1.0, 0.0, 0.0, 1.0, 0.0, 0.0)


def translate(dx, dy):
    return (1.0, 0.0, 0.0, 1.0, float(dx), float(dy))


def scale(sx, sy=None):
    return (float(sx), 0.0, 0.0, float(sx if sy is None else sy), 0.0, 0.0)


def rotate(degrees, cx=0.0, cy=0.0):
    """Clockwise on screen (y down) for positive angles."""
    t = math.radians(degrees)
    co, si = math.cos(t), math.sin(t)
    return compose(translate(-cx, -cy), (co, si, -si, co, 0.0, 0.0),
                   translate(cx, cy))


def compose(*tfs):
    """Transforms applied left to right: compose(A, B) means A first."""
    a, b, c, d, e, f = IDENTITY
    for (A, B, C, D, E, F) in tfs:
        a, b, c, d, e, f = (A * a + C * b, B * a + D * b,
                            A * c + C * d, B * c + D * d,
                            A * e + C * f + E, B * e + D * f + F)
    return (a, b, c, d, e, f)


def apply(tf, pts):
    a, b, c, d, e, f = tf
    return [(a * x + c * y + e, b * x + d * y + f) for (x, y) in pts]


# --------------------------------------------------------------- point lists

def _segments(rx, ry, sweep_deg):
    # Chords sag inside the curve and shrink the shape; keeping the sag
    # under 1/200 pixel makes that invisible even in coverage sums.
    r = max(abs(rx), abs(ry), 0.5)
    step = 2.0 * math.degrees(math.acos(max(-1.0, 1.0 - 0.005 / r)))
    return max(2, int(math.ceil(abs(sweep_deg) / max(step, 1.0))))


def arc_points(cx, cy, rx, ry, a0, a1, n=None):
    """Points on an elliptical arc from angle a0 to a1 (degrees, inclusive).
    0 deg is +x; with y down, increasing angles run clockwise on screen."""
    n = n or _segments(rx, ry, a1 - a0)
    ts = (math.radians(a0 + (a1 - a0) * i / n) for i in range(n + 1))
    return [(cx + rx * math.cos(t), cy + ry * math.sin(t)) for t in ts]


def quad_points(p0, p1, p2, n=16):
    """Quadratic Bezier from p0 to p2 with control p1, n+1 points."""
    c1 = (p0[0] + (p1[0] - p0[0]) * 2 / 3, p0[1] + (p1[1] - p0[1]) * 2 / 3)
    c2 = (p2[0] + (p1[0] - p2[0]) * 2 / 3, p2[1] + (p1[1] - p2[1]) * 2 / 3)
    return cubic_points(p0, c1, c2, p2, n)


def cubic_points(p0, p1, p2, p3, n=24):
    out = []
    for t in (i / n for i in range(n + 1)):
        w = ((1 - t) ** 3, 3 * (1 - t) ** 2 * t, 3 * (1 - t) * t * t, t ** 3)
        out.append(tuple(sum(wi * p[k] for wi, p in zip(w, (p0, p1, p2, p3)))
                         for k in (0, 1)))
    return out


def signed_area(pts):
    return sum(pts[i - 1][0] * pts[i][1] - pts[i][0] * pts[i - 1][1]
               for i in range(len(pts))) / 2.0


# --------------------------------------------------------------------- paths

class Path:
    """A set of closed contours.  `+` unions, hole() subtracts."""

    def __init__(self, contours=()):
        self.contours = [list(c) for c in contours]

    def add(self, pts):
        pts = list(pts)
        if signed_area(pts) < 0:
            pts.reverse()
        self.contours.append(pts)
        return self

    def hole(self, other):
        """Subtract a Path or point list.  Only exact where the hole lies
        inside a single layer of this Path (the usual glyph counter)."""
        src = other.contours if isinstance(other, Path) else [other]
        for c in src:
            c = list(c)
            if signed_area(c) > 0:
                c.reverse()
            self.contours.append(c)
        return self

    def __add__(self, other):
        return Path(self.contours + other.contours)

    def transformed(self, tf):
        # A mirroring transform flips every winding; flip them back so the
        # result still unions with unmirrored shapes.
        mirrored = tf[0] * tf[3] - tf[1] * tf[2] < 0
        return Path((apply(tf, c)[::-1] if mirrored else apply(tf, c))
                    for c in self.contours)

    def bounds(self):
        xs = [p[0] for c in self.contours for p in c]
        ys = [p[1] for c in self.contours for p in c]
        return (min(xs), min(ys), max(xs), max(ys)) if xs else (0, 0, 0, 0)

    def mask(self, w, h, rule="nonzero"):
        return Mask(w, h, _coverage(self.contours, w, h, rule))


def polygon(pts):
    return Path().add(pts)


def rect(x0, y0, x1, y1):
    return polygon([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])


def ellipse(cx, cy, rx, ry):
    return polygon(arc_points(cx, cy, rx, ry, 0, 360)[:-1])


def circle(cx, cy, r):
    return ellipse(cx, cy, r, r)


def rounded_rect(x0, y0, x1, y1, r):
    r = max(0.0, min(r, (x1 - x0) / 2.0, (y1 - y0) / 2.0))
    if r == 0:
        return rect(x0, y0, x1, y1)
    pts = (arc_points(x1 - r, y0 + r, r, r, -90, 0)
           + arc_points(x1 - r, y1 - r, r, r, 0, 90)
           + arc_points(x0 + r, y1 - r, r, r, 90, 180)
           + arc_points(x0 + r, y0 + r, r, r, 180, 270))
    return polygon(pts)


def line(x0, y0, x1, y1, width, cap="butt"):
    return polyline([(x0, y0), (x1, y1)], width, cap)


def polyline(pts, width, cap="butt", join="round"):
    """Stroke an open point list.  cap: butt | square | round;
    join: round | none (none suits finely flattened curves)."""
    hw = width / 2.0
    out = Path()
    pts = [p for i, p in enumerate(pts) if i == 0 or p != pts[i - 1]]
    for i in range(len(pts) - 1):
        (xa, ya), (xb, yb) = pts[i], pts[i + 1]
        dx, dy = xb - xa, yb - ya
        ln = math.hypot(dx, dy)
        ux, uy = dx / ln, dy / ln
        ea = eb = 0.0
        if cap == "square":
            ea = hw if i == 0 else 0.0
            eb = hw if i == len(pts) - 2 else 0.0
        ax, ay = xa - ux * ea, ya - uy * ea
        bx, by = xb + ux * eb, yb + uy * eb
        nx, ny = -uy * hw, ux * hw
        out.add([(ax + nx, ay + ny), (bx + nx, by + ny),
                 (bx - nx, by - ny), (ax - nx, ay - ny)])
        if join == "round" and 0 < i:
            out.add(circle(xa, ya, hw).contours[0])
    if cap == "round" and pts:
        for (x, y) in (pts[0], pts[-1]):
            out.add(circle(x, y, hw).contours[0])
    return out


# ---------------------------------------------------------------- coverage

def _coverage(contours, w, h, rule):
    edges = []
    for c in contours:
        for i in range(len(c)):
            x0, y0 = c[i - 1]
            x1, y1 = c[i]
            if y0 == y1:
                continue
            if y0 < y1:
                edges.append((y0, y1, x0, (x1 - x0) / (y1 - y0), 1))
            else:
                edges.append((y1, y0, x1, (x0 - x1) / (y0 - y1), -1))
    cov = [0.0] * (w * h)
    if not edges:
        return cov
    ymin = max(0, int(math.floor(min(e[0] for e in edges) * SS)))
    ymax = min(h * SS, int(math.ceil(max(e[1] for e in edges) * SS)))
    edges.sort()
    wgt = 1.0 / SS
    nxt, active = 0, []
    inside = (lambda n: n != 0) if rule == "nonzero" else (lambda n: n & 1)
    for sy in range(ymin, ymax):
        y = (sy + 0.5) / SS
        while nxt < len(edges) and edges[nxt][0] <= y:
            active.append(edges[nxt])
            nxt += 1
        active = [e for e in active if y < e[1]]
        xs = [(xa + (y - ya) * slope, wind)
              for (ya, yb, xa, slope, wind) in active]
        if not xs:
            continue
        xs.sort()
        row = (sy // SS) * w
        acc, start = 0, 0.0
        for (x, wind) in xs:
            was = inside(acc)
            acc += wind
            if not was and inside(acc):
                start = x
            elif was and not inside(acc):
                _span(cov, row, w, start, x, wgt)
    return [1.0 if v > 1.0 else v for v in cov]


def _span(cov, row, w, xa, xb, wgt):
    xa = max(0.0, xa)
    xb = min(float(w), xb)
    if xb <= xa:
        return
    ia, ib = int(xa), int(xb)
    if ia == ib:
        cov[row + ia] += (xb - xa) * wgt
        return
    cov[row + ia] += (ia + 1 - xa) * wgt
    for i in range(row + ia + 1, row + ib):
        cov[i] += wgt
    if ib < w:
        cov[row + ib] += (xb - ib) * wgt


# ---------------------------------------------------------------------- masks

class Mask:
    """Per-pixel coverage in 0..1, used for fills, clipping and shadows."""

    def __init__(self, w, h, data=None):
        self.w, self.h = w, h
        self.data = data if data is not None else [0.0] * (w * h)

    def _zip(self, other, fn):
        return Mask(self.w, self.h, [fn(a, b) for a, b in
                                     zip(self.data, other.data)])

    def intersect(self, other):
        return self._zip(other, lambda a, b: a * b)

    def subtract(self, other):
        return self._zip(other, lambda a, b: a * (1.0 - b))

    def union(self, other):
        return self._zip(other, lambda a, b: a + b - a * b)

    def scaled(self, k):
        return Mask(self.w, self.h, [min(1.0, v * k) for v in self.data])

    def shifted(self, dx, dy):
        """Move by a (possibly fractional) offset, bilinear resampled."""
        w, h, src = self.w, self.h, self.data
        ix, iy = math.floor(dx), math.floor(dy)
        fx, fy = dx - ix, dy - iy
        out = [0.0] * (w * h)
        for ox, oy, wt in ((ix, iy, (1 - fx) * (1 - fy)),
                           (ix + 1, iy, fx * (1 - fy)),
                           (ix, iy + 1, (1 - fx) * fy),
                           (ix + 1, iy + 1, fx * fy)):
            for y in range(max(0, oy), min(h, h + oy)) if wt else ():
                for x in range(max(0, ox), min(w, w + ox)):
                    out[y * w + x] += wt * src[(y - oy) * w + x - ox]
        return Mask(w, h, out)

    def blurred(self, sigma):
        """Separable Gaussian; pixels past the border count as empty."""
        if sigma <= 0:
            return Mask(self.w, self.h, list(self.data))
        r = int(math.ceil(sigma * 3))
        k = [math.exp(-(i * i) / (2 * sigma * sigma)) for i in range(-r, r + 1)]
        k = [v / sum(k) for v in k]
        tmp = _convolve(self.data, self.w, self.h, k, 1)
        return Mask(self.w, self.h, _convolve(tmp, self.w, self.h, k, self.w))


def _convolve(src, w, h, k, step):
    """1-D convolution along rows (step 1) or columns (step w).  Only the
    box round the non-zero pixels is worked out, as the sum is 0 past it;
    that keeps shadows on wide images cheap."""
    r = len(k) // 2
    out = [0.0] * (w * h)
    lit = [i for i, v in enumerate(src) if v]
    if not lit:
        return out
    x0, x1 = min(i % w for i in lit), max(i % w for i in lit)
    y0, y1 = lit[0] // w, lit[-1] // w
    if step == 1:
        x0, x1 = max(0, x0 - r), min(w - 1, x1 + r)
    else:
        y0, y1 = max(0, y0 - r), min(h - 1, y1 + r)
    lim = w if step == 1 else h
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            i = y * w + x
            pos = x if step == 1 else y
            acc = 0.0
            for j in range(max(0, r - pos), min(len(k), lim - pos + r)):
                acc += k[j] * src[i + (j - r) * step]
            out[i] = acc
    return out


# --------------------------------------------------------------------- paints
# A paint is either a colour tuple (r, g, b) / (r, g, b, a) in 0..255 or a
# callable (x, y) -> colour tuple, sampled at pixel centres.

def _lerp_stops(stops, t):
    t = min(1.0, max(0.0, t))
    for i in range(1, len(stops)):
        t1, c1 = stops[i]
        if t <= t1:
            t0, c0 = stops[i - 1]
            u = 0.0 if t1 == t0 else (t - t0) / (t1 - t0)
            c0, c1 = _rgba(c0), _rgba(c1)
            return tuple(c0[k] + (c1[k] - c0[k]) * u for k in range(4))
    return _rgba(stops[-1][1])


def linear_gradient(x0, y0, x1, y1, stops):
    """stops: [(t, colour), ...] with t rising from 0 at (x0,y0) to 1."""
    dx, dy = x1 - x0, y1 - y0
    d2 = dx * dx + dy * dy or 1.0
    return lambda x, y: _lerp_stops(stops, ((x - x0) * dx + (y - y0) * dy) / d2)


def radial_gradient(cx, cy, r, stops):
    return lambda x, y: _lerp_stops(stops, math.hypot(x - cx, y - cy) / r)


def _rgba(c):
    return (c[0], c[1], c[2], c[3] if len(c) > 3 else 255)


# --------------------------------------------------------------------- canvas

class Canvas:
    """RGBA image, stored premultiplied in floats so blending is plain 'over'."""

    def __init__(self, w, h, color=(0, 0, 0, 0)):
        self.w, self.h = w, h
        r, g, b, a = (v / 255.0 for v in _rgba(color))
        self.px = [r * a, g * a, b * a, a] * (w * h)

    def fill(self, shape, paint, opacity=1.0):
        """Paint a Path or Mask.  Returns self so calls can chain."""
        m = shape if isinstance(shape, Mask) else shape.mask(self.w, self.h)
        solid = None if callable(paint) else _rgba(paint)
        px, w = self.px, self.w
        for i, c in enumerate(m.data):
            if c <= 0.0:
                continue
            col = solid or _rgba(paint(i % w + 0.5, i // w + 0.5))
            a = c * opacity * col[3] / 255.0
            k = 1.0 - a
            j = i * 4
            for c in range(3):
                px[j + c] = col[c] / 255.0 * a + px[j + c] * k
            px[j + 3] = a + px[j + 3] * k
        return self

    def erase(self, shape):
        """Cut transparency into the image (destination-out)."""
        m = shape if isinstance(shape, Mask) else shape.mask(self.w, self.h)
        for i, c in enumerate(m.data):
            if c > 0.0:
                k = 1.0 - c
                for j in range(i * 4, i * 4 + 4):
                    self.px[j] *= k
        return self

    def draw(self, other, dx=0, dy=0):
        """Composite another Canvas on top at an integer offset."""
        for y in range(max(0, -dy), min(other.h, self.h - dy)):
            for x in range(max(0, -dx), min(other.w, self.w - dx)):
                s = (y * other.w + x) * 4
                d = ((y + dy) * self.w + x + dx) * 4
                k = 1.0 - other.px[s + 3]
                for c in range(4):
                    self.px[d + c] = other.px[s + c] + self.px[d + c] * k
        return self

    def alpha_mask(self):
        return Mask(self.w, self.h, self.px[3::4])

    def pixel(self, x, y):
        """Straight (unpremultiplied) RGBA in 0..255 ints."""
        j = (y * self.w + x) * 4
        a = self.px[j + 3]
        a8 = _q(a)
        if a8 == 0:
            return (0, 0, 0, 0)
        return (_q(self.px[j] / a), _q(self.px[j + 1] / a),
                _q(self.px[j + 2] / a), a8)

    def flat_pixel(self, x, y, bg):
        """Opaque RGB after compositing over background colour bg."""
        j = (y * self.w + x) * 4
        k = 1.0 - self.px[j + 3]
        return tuple(_q(self.px[j + c] + bg[c] / 255.0 * k) for c in range(3))


def _q(v):
    return max(0, min(255, int(v * 255.0 + 0.5)))


# -------------------------------------------------------------------- writers

def _info_header(w, h, bpp, image_size, ppm=0, colours=0):
    # BITMAPINFOHEADER, uncompressed; colours: the size of its palette.
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, image_size,
                       ppm, ppm, colours, 0)


def _packed(indices, bpp):
    """One row of palette indices, 4 or 8 bits each, padded to whole
    dwords."""
    if bpp == 4:
        indices = list(indices) + [0] * (-len(indices) % 8)
        row = bytes((indices[i] << 4) | indices[i + 1]
                    for i in range(0, len(indices), 2))
    else:
        row = bytes(indices)
    return row + b"\0" * (-len(row) % 4)


def _flat_rows(canvas, bg, key, key_below):
    """Rows bottom-up of opaque (r, g, b), as a bitmap stores them."""
    def colour(x, y):
        if key is not None and canvas.pixel(x, y)[3] < key_below:
            return tuple(key[:3])
        return canvas.flat_pixel(x, y, bg)
    return [[colour(x, y) for x in range(canvas.w)]
            for y in range(canvas.h - 1, -1, -1)]


def _bmp_file(w, h, bpp, palette, bits):
    info = _info_header(w, h, bpp, len(bits), 2835,  # 72 dpi
                        len(palette))
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(table)
                       + len(bits), 0, 0, 14 + len(info) + len(table))
    return head + info + table + bytes(bits)


def _bmp24(w, h, rows):
    bits = bytearray()
    for row in rows:
        line = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        bits += line + b"\0" * (-len(line) % 4)
    return _bmp_file(w, h, 24, [], bits)


def bmp24(canvas, bg=(255, 255, 255), key=None, key_below=128):
    """24-bit bottom-up BMP; transparency is flattened onto bg.  With a key
    colour, pixels under key_below alpha become exactly key instead, for
    toolbars and image lists that treat one colour as see-through."""
    return _bmp24(canvas.w, canvas.h, _flat_rows(canvas, bg, key, key_below))


def bmp_small(canvas, bg=(255, 255, 255), key=None, key_below=128):
    """The pixels of bmp24 in the fewest bits LoadBitmap takes as they are:
    4 or 8 bits with a palette of the picture's own colours where it has
    no more than 256, else 24 bits.  Never 1 bit: a two-colour picture
    could be loaded as a monochrome bitmap, which takes the colours of
    the context it is drawn into."""
    w, h = canvas.w, canvas.h
    rows = _flat_rows(canvas, bg, key, key_below)
    palette = sorted({p for row in rows for p in row})
    if len(palette) > 256:
        return _bmp24(w, h, rows)
    bpp = 4 if len(palette) <= 16 else 8
    index = {c: i for i, c in enumerate(palette)}
    bits = b"".join(_packed([index[p] for p in row], bpp) for row in rows)
    return _bmp_file(w, h, bpp, palette, bits)


def _box(members):
    """(error, members, weight, sums) of a set of (colour, count): the
    error is the counted squared distance of its colours to their mean."""
    wt = sum(n for _, n in members)
    sums = [sum(c[i] * n for c, n in members) for i in range(3)]
    err = 0.0 if len(members) == 1 else sum(
        sum(v * v for v in c) * n for c, n in members) \
        - sum(s * s for s in sums) / wt
    return err, members, wt, sums


def _halves(members):
    """The cut across one channel that leaves the two halves the least
    error.  Their squared colours add up to the box's whatever the cut,
    so the best cut is the one whose halves' sums, squared and divided by
    their weights, add up to the most."""
    best = None
    for axis in range(3):
        ordered = sorted(members, key=lambda m: (m[0][axis], m[0]))
        ws = list(itertools.accumulate(n for _, n in ordered))
        rs, gs, bs = (list(itertools.accumulate(c[i] * n for c, n in ordered))
                      for i in range(3))
        wt, r, g, b = ws[-1], rs[-1], gs[-1], bs[-1]
        for j in range(len(ordered) - 1):
            lw = ws[j]
            kept = ((rs[j] ** 2 + gs[j] ** 2 + bs[j] ** 2) / lw
                    + ((r - rs[j]) ** 2 + (g - gs[j]) ** 2
                       + (b - bs[j]) ** 2) / (wt - lw))
            if best is None or kept > best[0]:
                best = (kept, ordered[:j + 1], ordered[j + 1:])
    return best[1], best[2]


def quantize(counts, n=256, keep=()):
    """At most n colours that stand in for a picture's colours, given as
    {colour: count of pixels}.  The box of colours with the most error is
    cut in two until there are n, each box giving its mean, so colours
    that cover much of the picture get entries of their own.  keep holds
    colours taken exactly, such as a background that must meet the
    window around the picture without a seam."""
    if len(counts) <= n:
        return sorted(counts)
    keep = sorted(set(keep))
    e, *b = _box([(c, k) for c, k in sorted(counts.items())
                  if c not in keep])
    heap, made = [(-e, 0, b)], 1      # made: ties never compare the boxes
    while len(heap) + len(keep) < n and heap[0][0] < 0:
        _, _, (members, _, _) = heapq.heappop(heap)
        for half in _halves(members):
            e, *b = _box(half)
            heapq.heappush(heap, (-e, made, b))
            made += 1
    means = [tuple(int(s / wt + 0.5) for s in sums)
             for _, _, (_, wt, sums) in heap]
    return keep + sorted(set(means) - set(keep))


class _Nearest:
    """The palette index closest to a colour, searched outwards along
    green so that most of the palette is never looked at."""

    def __init__(self, palette):
        self.order = sorted(range(len(palette)), key=lambda i: palette[i][1])
        self.greens = [palette[i][1] for i in self.order]
        self.palette = palette
        self.found = {}

    def __call__(self, rgb):
        if rgb in self.found:
            return self.found[rgb]
        p, order = self.palette, self.order
        mid = bisect.bisect_left(self.greens, rgb[1])
        best, pick = None, None
        lo, hi = mid - 1, mid
        while lo >= 0 or hi < len(order):
            for j in (lo, hi):
                if 0 <= j < len(order):
                    c = p[order[j]]
                    d = sum((c[i] - rgb[i]) ** 2 for i in range(3))
                    if best is None or d < best:
                        best, pick = d, order[j]
            gap = min(abs(self.greens[j] - rgb[1]) if 0 <= j < len(order)
                      else 256 for j in (lo, hi))
            if gap * gap >= best:
                break
            lo, hi = lo - 1, hi + 1
        self.found[rgb] = pick
        return pick


def bmp_quantized(canvas, bg=(255, 255, 255)):
    """The picture of bmp24 in 8 bits with at most 256 colours chosen for
    it, each pixel taking the nearest; a third the size of 24 bits where a
    picture has too many colours for bmp_small to keep them all.  The
    background stays exact."""
    rows = _flat_rows(canvas, bg, None, 0)
    counts = collections.Counter(p for row in rows for p in row)
    palette = quantize(counts, 256, keep=[tuple(bg[:3])])
    nearest_of = _Nearest(palette)
    bits = b"".join(_packed([nearest_of(p) for p in row], 8) for row in rows)
    return _bmp_file(canvas.w, canvas.h, 8, palette, bits)


# The standard 16-colour palette in the order 4-bit icons use it.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
         (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
         (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
         (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def nearest(palette, rgb):
    """Index of the palette colour closest to rgb."""
    return min(range(len(palette)), key=lambda i: sum(
        (palette[i][k] - rgb[k]) ** 2 for k in range(3)))


def _ico_image(cv, bpp, mask_threshold):
    w, h = cv.w, cv.h
    mask_stride = ((w + 31) // 32) * 4
    xor, andm = bytearray(), bytearray()
    for y in range(h - 1, -1, -1):
        bits = bytearray(mask_stride)
        row = bytearray()
        nibbles = []
        for x in range(w):
            r, g, b, a = cv.pixel(x, y)
            clear = a < mask_threshold
            if clear:
                bits[x >> 3] |= 0x80 >> (x & 7)
            if bpp == 32:
                row += bytes((b, g, r, a))
            else:
                # Without alpha the screen is ANDed with the mask and then
                # XORed with the colour, so a clear pixel must be black.
                nibbles.append(0 if clear else nearest(VGA16, (r, g, b)))
        if bpp == 4:
            row = _packed(nibbles, 4)
        xor += row
        andm += bits
    palette = b"" if bpp == 32 else b"".join(
        bytes((b, g, r, 0)) for (r, g, b) in VGA16)
    info = _info_header(w, h * 2, bpp, len(xor) + len(andm))
    return info + palette + bytes(xor) + bytes(andm)


def ico(canvases, mask_threshold=128, bpp=32, dib=None):
    """Multi-image .ico plus each image's 1-bit AND mask, which marks pixels
    below mask_threshold alpha as transparent: what systems that ignore the
    alpha channel fall back on.  bpp 32 stores BGRA; bpp 4 maps every
    pixel to the nearest VGA16 colour, for places that only take 16-colour
    icons.  dib: the sizes kept as bitmaps when bpp is 32; every other
    image is stored as a PNG, which Windows reads since Vista and is a
    tenth of the size.  None keeps them all."""
    if bpp not in (4, 32):
        raise ValueError("ico: bpp must be 4 or 32")
    images = [(cv.w, cv.h, _ico_image(cv, bpp, mask_threshold)
               if bpp == 4 or dib is None or cv.w in dib else png(cv))
              for cv in canvases]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    colours = 16 if bpp == 4 else 0
    for (w, h, data) in images:  # 256 px is stored as 0
        out += struct.pack("<BBBBHHII", w & 0xFF, h & 0xFF, colours, 0, 1,
                           bpp, len(data), offset)
        offset += len(data)
    return bytes(out) + b"".join(data for (_, _, data) in images)


def png(canvas, zoom=1):
    """RGBA PNG, optionally enlarged with hard pixel edges for previews.
    Its pixels are those a 32-bit icon image holds, alpha included."""
    rows = bytearray()
    for y in range(canvas.h * zoom):
        rows.append(0)
        for x in range(canvas.w * zoom):
            rows += bytes(canvas.pixel(x // zoom, y // zoom))

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + \
            struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    hdr = struct.pack(">IIBBBBB", canvas.w * zoom, canvas.h * zoom,
                      8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", hdr)
            + chunk(b"IDAT", zlib.compress(bytes(rows), 9))
            + chunk(b"IEND", b""))


def write_if_changed(path, data):
    """Leave identical files untouched so their timestamps don't trigger
    rebuilds of everything that embeds them.  Returns True if written."""
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return False
    except OSError:
        pass
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)
    return True
