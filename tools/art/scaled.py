"""Drawing one design at every display scale Pinvel ships, 100 % to 200 %.

The pixel-placed drawings of make_art.py are written on a design grid
(20 px for caption buttons, 16 px for menu icons).  A Cell is a canvas
that takes those design coordinates and places them on its own, larger
grid: vector shapes are scaled and rasterised at the real size, shapes
laid out on whole design pixels land on whole real pixels, and strokes
keep one weight wherever they are.  At 100 % every method does exactly
what the plain helpers below do, so the 100 % images stay as they were.
"""

import math

import raster as R

# Display scales in the order of their step; a scaled resource is numbered
# base id + 1000 * step.
SCALES = (1.0, 1.25, 1.5, 1.75, 2.0)
STEPS = range(len(SCALES))


def scaled_id(rid, step):
    return rid + 1000 * step


def scaled_size(n, k):
    """n design pixels at scale k, rounded half up like the program's
    own size arithmetic, so both agree on every size."""
    return n if k == 1 else int(math.floor(n * k + 0.5))


# ------------------------------------------------- hard masks on a grid

def hard(path, w, h=None):
    """Half-covered pixels or more count as inside, so shapes keep their
    size but lose the soft rim that would have to be blended with
    something: the caption colour is not known when these are drawn."""
    h = w if h is None else h
    return R.Mask(w, h, [1.0 if v >= 0.5 else 0.0
                         for v in path.mask(w, h).data])


def where(fn, w, h=None):
    """A hard 0/1 mask from a test on pixel centres."""
    h = w if h is None else h
    return R.Mask(w, h, [1.0 if fn(x + 0.5, y + 0.5) else 0.0
                         for y in range(h) for x in range(w)])


def pixels(pts, w, h=None):
    h = w if h is None else h
    pts = set(pts)
    return R.Mask(w, h, [1.0 if (i % w, i // w) in pts else 0.0
                         for i in range(w * h)])


def grow(m):
    """Pixels next to m (4-neighbours); its outline."""
    d, w = m.data, m.w

    def near(i):
        x, y = i % w, i // w
        return ((x > 0 and d[i - 1]) or (x < w - 1 and d[i + 1])
                or (y > 0 and d[i - w]) or (y < m.h - 1 and d[i + w]))
    return R.Mask(w, m.h, [0.0 if d[i] else (1.0 if near(i) else 0.0)
                           for i in range(len(d))])


def inside(m):
    """Hard mask m without its border pixels: those with a 4-neighbour
    outside m or past the edge of the image."""
    d, w, h = m.data, m.w, m.h

    def keep(i):
        x, y = i % w, i // w
        return (d[i] and 0 < x < w - 1 and 0 < y < h - 1
                and d[i - 1] and d[i + 1] and d[i - w] and d[i + w])
    return R.Mask(w, h, [1.0 if keep(i) else 0.0 for i in range(w * h)])


def scale2x(rows):
    """Doubles a character drawing, turning its single-pixel stairs into
    smooth diagonals instead of 2 x 2 blocks; an outer corner loses its
    tip, which rounds dots and softens square ends a little."""
    w = max(len(r) for r in rows)
    g = [r.ljust(w, ".") for r in rows]
    h = len(g)

    def at(x, y):
        return g[y][x] if 0 <= x < w and 0 <= y < h else "."
    out = []
    for y in range(h):
        top, bottom = [], []
        for x in range(w):
            p = g[y][x]
            a, b, c, d = at(x, y - 1), at(x + 1, y), at(x - 1, y), at(x, y + 1)
            top += [a if c == a != d and a != b else p,
                    b if a == b != c and b != d else p]
            bottom += [c if d == c != b and c != a else p,
                       d if b == d != a and d != c else p]
        out += ["".join(top), "".join(bottom)]
    return out


# ---------------------------------------------------------------- cells

def _integral(v):
    return float(v).is_integer()


class Cell(R.Canvas):
    """A canvas w x h pixels drawn in design units k times smaller."""

    def __init__(self, w, k=1.0, h=None, color=(0, 0, 0, 0)):
        super().__init__(w, w if h is None else h, color)
        self.k = k

    # -- numbers
    def snap(self, v):
        """A design pixel edge on the real grid."""
        return v if self.k == 1 else int(math.floor(v * self.k + 0.5))

    def at(self, v):
        """A design length or position, unrounded, for vector shapes."""
        return v if self.k == 1 else v * self.k

    def weight(self, w=1):
        """A stroke of w design pixels in whole pixels; halves round down
        so that 150 % keeps the thin strokes of 100 %."""
        return w if self.k == 1 else max(1, math.ceil(w * self.k - 0.5))

    # -- shapes
    def path(self, p):
        """p scaled to the real grid.  Contours drawn on whole design pixels
        (boxes, stairs, folds) are snapped to whole pixels so their edges
        stay crisp; curves are scaled exactly."""
        if self.k == 1:
            return p
        out = R.Path()
        for c in p.contours:
            if all(_integral(x) and _integral(y) for x, y in c):
                out.contours.append([(self.snap(x), self.snap(y)) for x, y in c])
            else:
                out.contours.append([(x * self.k, y * self.k) for x, y in c])
        return out

    def _mask_of(self, shape, real=False):
        if isinstance(shape, R.Mask):
            return shape
        return (shape if real else self.path(shape)).mask(self.w, self.h)

    def fill(self, shape, paint, opacity=1.0, real=False):
        """Paint a Path in design units, or on the real grid with real; a
        gradient is laid out in the same units as the shape."""
        if callable(paint) and self.k != 1 and not real:
            k, design = self.k, paint
            paint = lambda x, y: design(x / k, y / k)  # noqa: E731
        return super().fill(self._mask_of(shape, real), paint, opacity)

    def erase(self, shape):
        return super().erase(self._mask_of(shape))

    def soft(self, path, real=False):
        """Coverage of path, unrounded: for shading.  real: path is
        already on the real grid."""
        return (path if real else self.path(path)).mask(self.w, self.h)

    def hard(self, path, real=False):
        return hard(path if real else self.path(path), self.w, self.h)

    def where(self, fn):
        """Hard mask of the pixels whose centres pass fn in design units."""
        k = self.k
        return where(lambda x, y: fn(x / k, y / k), self.w, self.h) \
            if k != 1 else where(fn, self.w, self.h)

    def real(self, pts):
        """Pixels already placed on the real grid."""
        return pixels(pts, self.w, self.h)

    def grow(self, m):
        """The outline round m, one stroke weight wide."""
        out = R.Mask(m.w, m.h)
        for _ in range(self.weight()):
            ring = grow(m.union(out))
            out = out.union(ring)
        return out

    def inside(self, m):
        """m less a rim one stroke weight wide."""
        for _ in range(self.weight()):
            m = inside(m)
        return m

    def sprite(self, rows, colours, x=0, y=0):
        """Hand-placed pixels, for shapes too small to draw as outlines: one
        string per row, each character a key of colours or '.' for clear.
        Above 100 % the drawing is doubled with its stairs smoothed, then
        sampled at the real size."""
        for ch, col in colours.items():
            self.fill(self.sprite_mask(rows, ch, x, y), col)

    def sprite_mask(self, rows, ch, x=0, y=0):
        """The pixels of one character of a sprite, as sprite() places
        them."""
        if self.k == 1:
            return pixels([(x + i, y + j) for j, row in enumerate(rows)
                           for i, c in enumerate(row) if c == ch],
                          self.w, self.h)
        big = scale2x(rows)
        bw, bh = len(big[0]), len(big)
        got = []
        for j in range(self.snap(y), self.snap(y + len(rows))):
            sy = min(bh - 1, int(((j + 0.5) / self.k - y) * 2))
            for i in range(self.snap(x), self.snap(x + bw // 2)):
                sx = min(bw - 1, int(((i + 0.5) / self.k - x) * 2))
                if big[sy][sx] == ch:
                    got.append((i, j))
        return pixels(got, self.w, self.h)
