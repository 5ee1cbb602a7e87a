#!/usr/bin/env python3
"""Draws Pinvel's icons and bitmaps, and renders its alarm sound (see
sound.py), into the folder given on the command line.

Run by the build as:  python3 tools/art/make_art.py <outdir>
Files whose bytes did not change are left alone, so the resource compiler
only reruns when the artwork really changed.

To add an image or sound, write a function returning (file name, bytes)
and list it in ARTWORK, or in SETUP_ARTWORK if only the setup shows it.

The program picks images by the window's display scale, 100 to 200 % in
steps of 25 (see scaled.py): an icon file holds one image per scale, and
a bitmap drawn at step s of those is numbered base id + 1000 * s.
"""

import collections
import math
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree clean during builds
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import raster as R  # noqa: E402
import scaled as sc  # noqa: E402
import sound  # noqa: E402

# ------------------------------------------------------------------ palette
PAPER = (255, 255, 189)
PAPER_LOW = (250, 244, 166)     # paper darkens slightly towards the curl
BAND = (255, 222, 123)
EDGE = (184, 146, 52)           # outline keeps the note legible on white
INK = (118, 118, 126)           # the grey "handwriting" lines
FLAP_LIGHT = (255, 250, 206)
FLAP_DARK = (226, 198, 104)
PIN = (214, 34, 30)
PIN_DARK = (132, 8, 8)
PIN_LIGHT = (255, 150, 136)
SHADOW = (0, 0, 0)
DIALOG_FACE = (212, 208, 200)
TITLE_TOP = (16, 32, 196)
TITLE_BOTTOM = (0, 0, 138)
WHITE = (255, 255, 255)


# ------------------------------------------------------------ sticky note

def _note_outline(L, T, Rr, B, f, inset=0.0):
    """The note body with its bottom-right corner folded away.  inset
    shrinks it evenly, diagonal included, for the outline ring."""
    d = inset
    diag = f + d * (2 ** 0.5 - 1)  # diagonal moves in by d, like the sides
    return R.polygon([(L + d, T + d), (Rr - d, T + d), (Rr - d, B - diag),
                      (Rr - diag, B - d), (L + d, B - d)])


def _flap(Rr, B, f, lift):
    """The curled-up corner: bounded by the fold line and two gently bowed
    edges that meet at a tip short of a flat fold, so it reads as a curl."""
    a, b = (Rr, B - f), (Rr - f, B)
    tip = (Rr - f * lift, B - f * lift)
    mid1 = ((a[0] + tip[0]) / 2 + f * 0.08, (a[1] + tip[1]) / 2 + f * 0.10)
    mid2 = ((b[0] + tip[0]) / 2 + f * 0.10, (b[1] + tip[1]) / 2 + f * 0.08)
    pts = R.quad_points(a, mid1, tip, 10)[:-1] + R.quad_points(tip, mid2, b, 10)
    return R.polygon(pts), tip


def draw_note(cv, S, ox=0, oy=0):
    """The note motif on an S x S grid (designed at 48) placed at (ox, oy).
    Coordinates are snapped to whole pixels so straight edges stay crisp."""
    k = S / 48.0

    def px(v):
        return round(v * k)
    L, T, Rr, B = ox + px(4), oy + px(7), ox + px(43), oy + px(44)
    f = px(11)
    band = T + max(3, px(8))
    w, h = cv.w, cv.h

    body = _note_outline(L, T, Rr, B, f)
    body_mask = body.mask(w, h)
    cv.fill(body_mask.shifted(1.2 * k, 1.8 * k).blurred(1.1 * k), SHADOW, 0.42)
    cv.fill(body_mask, EDGE)
    inner = _note_outline(L, T, Rr, B, f, inset=1.0).mask(w, h)
    cv.fill(inner, R.linear_gradient(L, T, Rr, B, [(0.0, PAPER), (0.55, PAPER),
                                                   (1.0, PAPER_LOW)]))
    cv.fill(inner.intersect(R.rect(L, T, Rr, band).mask(w, h)), BAND)
    cv.fill(inner.intersect(R.rect(L, band, Rr, band + 1).mask(w, h)),
            EDGE, 0.35)

    # Three lines of "writing"; the last stops short of the curl.
    th = max(2, px(2.6))
    x0 = L + px(6)
    gap = (B - band - th) / 4.0
    for i, right in enumerate((Rr - px(6), Rr - px(9), Rr - f - px(4))):
        y = round(band + gap * (i + 1) - th / 2.0 + k)
        cv.fill(R.rounded_rect(x0, y, right, y + th, th / 2.0), INK)

    flap, tip = _flap(Rr, B, f, 0.92)
    flap_mask = flap.mask(w, h)
    under = flap_mask.shifted(-0.5 * k, -0.6 * k).blurred(1.2 * k)
    cv.fill(under.intersect(inner), SHADOW, 0.30)
    cv.fill(flap_mask, EDGE)
    flap_in, _ = _flap(Rr - 1.0, B - 1.0, f - 1.0 - 0.4, 0.86)
    cv.fill(flap_in, R.linear_gradient(Rr - f / 2, B - f / 2, tip[0], tip[1],
                                       [(0.0, FLAP_DARK), (1.0, FLAP_LIGHT)]))

    # The pin sits on the caption band, casting a short shadow to the right.
    cx, cy, r = ox + S / 2.0, T + px(2.5), 4.6 * k
    cv.fill(R.circle(cx + 1.4 * k, cy + 1.8 * k, r).mask(w, h)
            .blurred(0.9 * k), SHADOW, 0.45)
    cv.fill(R.circle(cx, cy, r), R.radial_gradient(
        cx - r * 0.35, cy - r * 0.4, r * 1.5,
        [(0.0, PIN_LIGHT), (0.35, PIN), (0.8, PIN_DARK), (1.0, PIN_DARK)]))
    cv.fill(R.ellipse(cx - r * 0.35, cy - r * 0.42, r * 0.32, r * 0.24),
            (255, 255, 255), 0.8)


def note_small(k=1.0):
    """Hand-placed 16 px version, drawn at k times that: every edge on the
    pixel grid, writing one stroke thick, no blur, so nothing turns to
    mush."""
    cv = sc.Cell(sc.scaled_size(16, k), k)
    L, T, Rr, B, f = (cv.snap(v) for v in (1, 2, 14, 15, 5))
    o = cv.weight()
    body = _note_outline(L, T, Rr, B, f)
    cv.fill(body.transformed(R.translate(o, o)), SHADOW, 0.30, real=True)
    cv.fill(body, EDGE, real=True)
    cv.fill(_note_outline(L, T, Rr, B, f, inset=o), PAPER, real=True)
    cv.fill(R.rect(L + o, T + o, Rr - o, cv.snap(6)), BAND, real=True)
    _writing(cv, cv.snap(3), cv.snap(7), cv.snap(12),
             lambda y: cv.snap(12) if y < cv.snap(11) else cv.snap(8), INK)
    flap = R.polygon([(Rr, B - f), (Rr - f, B), (Rr - f, B - f)])
    cv.fill(flap, FLAP_DARK, real=True)
    cv.fill(R.polygon([(Rr - f, B - f), (Rr - 1.5 * o, B - f),
                       (Rr - f, B - 1.5 * o)]), FLAP_LIGHT, 0.7, real=True)
    for i in range(f):  # a hard pixel stair reads better than a soft 45 deg
        cv.fill(R.rect(Rr - o - i, B - f + i, Rr - i, B - f + i + 1), EDGE,
                real=True)
    cv.fill(R.circle(8, 3, 2.0), R.radial_gradient(
        7.2, 2.2, 3.0, [(0.0, PIN_LIGHT), (0.4, PIN), (1.0, PIN_DARK)]))
    return cv


def note_16():
    return note_small()


def note_icon(S):
    cv = R.Canvas(S, S)
    draw_note(cv, S)
    return cv


# Small icons (title bar, taskbar) and large ones at every display scale.
APP_ICON_SIZES = (16, 20, 24, 28, 32, 40, 48, 56, 64)


# The images a system asks for at 100 %, 16 px and the large 32 px, stay
# bitmaps as they were, so that a Windows older than Vista, which reads no
# PNG in an icon, still shows them; the rest, asked for only on scaled
# displays, are PNG.
SMALL_DIB, LARGE_DIB = (16,), (16, 32)


def app_icon():
    # The drawing made for 48 px blurs its writing below 28.
    return "icon128.ico", R.ico([note_small(n / 16.0) if n < 28
                                 else note_icon(n) for n in APP_ICON_SIZES],
                                dib=LARGE_DIB)


# ---------------------------------------------------------------- lettering
# Glyphs are drawn in pixels, y up from the baseline, for a 22 px capital.
# Stems are 4 px wide and start on whole pixels so verticals stay sharp;
# round parts overshoot a little so they look as tall as the flat ones.

CAP, XH, ASC, STEM = 22.0, 16.0, 23.0, 4.0


def _angle_at(ry, cy, y):
    """Angle on an ellipse (y up) where its right half reaches height y."""
    return math.degrees(math.asin(max(-1.0, min(1.0, (y - cy) / ry))))


def glyph_P():
    p = R.rect(0, 0, STEM, CAP)
    xs, top, bot = 7.5, CAP, 9.0
    cy, ry, rx = (top + bot) / 2, (top - bot) / 2, 7.0
    p.add([(0, bot), (0, top)] + R.arc_points(xs, cy, rx, ry, 90, -90))
    iry = ry - 3.5
    p.hole([(STEM, cy - iry), (STEM, cy + iry)]
           + R.arc_points(xs, cy, rx - 4.3, iry, 90, -90))
    return p, 14.5


def glyph_i():
    p = R.rect(0, 0, STEM, XH)
    return p + R.circle(STEM / 2, XH + 4.4, 2.35), STEM


def glyph_n():
    cx, cy, rx, ry = 6.5, 9.0, 6.5, XH + 0.3 - 9.0
    outer = [(13, 0), (13, cy)] + R.arc_points(cx, cy, rx, ry, 0, 180)
    inner = R.arc_points(cx, cy - 0.4, rx - STEM, ry - 3.3, 180, 0)
    p = R.rect(0, 0, STEM, XH)
    p.add(outer + [(0, 0), (STEM, 0), (STEM, cy - 0.4)] + inner
          + [(9, cy - 0.4), (9, 0)])
    return p, 13.0


def glyph_v():
    w, arm, foot = 14.6, 4.7, 4.2
    bl, br = (w - foot) / 2, (w + foot) / 2
    # inner notch where both arms' inner edges meet
    t = (w / 2 - arm) / bl
    notch = (w / 2, XH - t * XH)
    return R.polygon([(0, XH), (arm, XH), notch, (w - arm, XH), (w, XH),
                      (br, 0), (bl, 0)]), w


def glyph_e():
    cx, cy, rx, ry = 7.0, 8.0, 7.0, 8.3
    irx, iry = rx - 3.9, ry - 3.1
    bar_lo, bar_hi = 7.0, 9.7
    a0 = _angle_at(ry, cy, bar_lo)
    ai = 180 - _angle_at(iry, cy, bar_lo)
    outer = R.arc_points(cx, cy, rx, ry, a0, 332)
    inner = R.arc_points(cx, cy, irx, iry, 318, ai)
    p = R.polygon(outer + inner)
    hi = _angle_at(iry, cy, bar_hi)
    p.hole(R.arc_points(cx, cy, irx, iry, hi, 180 - hi))
    return p, 2 * rx


def glyph_l():
    return R.rect(0, 0, STEM, ASC), STEM


GLYPHS = {"P": glyph_P, "i": glyph_i, "n": glyph_n, "v": glyph_v,
          "e": glyph_e, "l": glyph_l}
# (left, right) side bearings; tuned by eye for this one word
BEARINGS = {"P": (0.0, 1.6), "i": (1.6, 1.6), "n": (1.6, 1.4),
            "v": (0.4, 0.4), "e": (1.0, 1.4), "l": (1.6, 0.0)}


def word_path(text, x, baseline, size=1.0):
    """Lay out text with its left edge at x; glyph origins are rounded to
    whole pixels so every stem lands on the grid.  Sizes that make the
    4 px stems whole (1.25, 1.5) keep them sharp."""
    out = R.Path()
    pen = float(x)
    for ch in text:
        shape, width = GLYPHS[ch]()
        lsb, rsb = BEARINGS[ch]
        ox = round(pen + lsb * size)
        out = out + shape.transformed((size, 0, 0, -size, ox, baseline))
        pen = ox + (width + rsb) * size
    return out, pen - x


def draw_logo(W, H, bg, note_S, note_y, baseline, size=1.0, k=1.0):
    """The note motif beside the word, centred together; note_y and
    baseline place them vertically.  k scales the text's shadow."""
    cv = R.Canvas(W, H, bg)
    _, text_w = word_path("Pinvel", 0, 0, size)
    gap = round(7 * size)
    note_w = round(40 * note_S / 48.0)          # body plus shadow
    margin = round(4 * note_S / 48.0)           # left of the body
    left = (W - (note_w + gap + text_w)) // 2 - margin
    draw_note(cv, note_S, left, note_y)
    draw_word(cv, left + margin + note_w + gap, baseline, size, k)
    return cv


def draw_word(cv, x, baseline, size=1.0, k=1.0):
    """The word in the title bar's blues, with a soft shadow that k
    scales."""
    text, _ = word_path("Pinvel", x, baseline, size)
    m = text.mask(cv.w, cv.h)
    cv.fill(m.shifted(1.0 * k, 1.0 * k).blurred(0.7 * k), SHADOW, 0.30)
    cv.fill(m, R.linear_gradient(0, baseline - CAP * size, 0, baseline,
                                 [(0.0, TITLE_TOP), (1.0, TITLE_BOTTOM)]))


# resource id: background, then at 100 %: width, height, note size, the
# note's top, the text's baseline and size.  The About box is white, so
# its logo is drawn straight onto white.
LOGOS = {213: (DIALOG_FACE, 150, 43, 42, -1, 32, 1.0),
         208: (WHITE, 172, 47, 46, 0, 38, 1.25)}


def bitmap_writer(k):
    """The 100 % bitmaps keep their 24-bit files byte for byte; the larger
    ones are stored with as few bits as hold their pixels."""
    return R.bmp24 if k == 1 else R.bmp_small


def logo_writer(k):
    """The larger logos have too many colours for bmp_small, and 24 bits
    of them would take a third of the program's file; 256 chosen colours
    look the same."""
    return R.bmp24 if k == 1 else R.bmp_quantized


def logo_bitmap(rid, k=1.0):
    bg, W, H, note_S, note_y, baseline, size = LOGOS[rid]
    W, H, note_S, note_y, baseline = (sc.scaled_size(v, k) for v in
                                      (W, H, note_S, note_y, baseline))
    # the nearest text size whose stems are whole pixels
    size = math.ceil(size * k * STEM - 0.5) / STEM
    return logo_writer(k)(draw_logo(W, H, bg, note_S, note_y, baseline,
                                    size, k), bg)


def _logo_maker(rid, step):
    def make():
        return ("bitmap%d.bmp" % sc.scaled_id(rid, step),
                logo_bitmap(rid, sc.SCALES[step]))
    make.__name__ = "logo_%d" % sc.scaled_id(rid, step)
    return make


LOGO_BITMAPS = [_logo_maker(rid, step) for rid in LOGOS for step in sc.STEPS]


# ---------------------------------------------------------- caption buttons
# Six buttons on a note's caption, each in three states, 20 px at 100 %
# and 25, 30, 35 and 40 px at the larger scales.  The caption takes
# the note's edge colour, which can be anything, so the normal state keys
# its background out and every symbol gets a dark outline that stands out
# against light and mid-tone captions alike.

BTN = 20
KEY = (255, 0, 255)             # drawn see-through by the caption painter
TEAL = (101, 188, 183)          # hover and pressed face
OUTLINE = (72, 60, 40)
SHEET_EDGE = (138, 100, 20)
RED = (226, 28, 24)
RED_DARK = (128, 0, 0)
BLUE = (40, 96, 224)
BLUE_LIGHT = (120, 168, 255)
BLUE_DARK = (0, 24, 120)
WOOD = (226, 178, 112)
WOOD_DARK = (124, 74, 22)
ORANGE = (255, 140, 0)
ORANGE_DARK = (150, 64, 0)
TITLE_LIGHT = (40, 120, 230)
# The default caption is BAND itself, so the sheet's top strip needs a
# deeper shade to stay visible on it.
SHEET_BAND = (250, 196, 64)


def _outlined(cv, m, fill, edge):
    cv.fill(cv.grow(m), edge)
    cv.fill(m, fill)


def _band(x, y, rows, width, dx=1):
    """A 45 degree band of real pixels, width wide, rows tall, from (x, y)
    downwards, leaning right (dx 1) or left (dx -1).  Built pixel by pixel
    so every stair is the same at every size."""
    return [(x + dx * i + j, y + i) for i in range(rows) for j in range(width)]


# The note sheet is square like the app's notes, tilted by edges that run
# exactly one pixel over for every four along, so every stair is the same.
# origin is its top-left corner and u, v its top and left edges; band and
# the writing lines are distances along v, a line's ends distances along u.
Sheet = collections.namedtuple("Sheet", "origin u v band lines")

BUTTON_SHEET = Sheet((2.5, 5.45), (12.0, -3.0), (3.0, 12.0), 3.6,
                     ((5.6, 2.0, 9.6), (7.8, 2.0, 9.6), (10.0, 2.0, 6.6)))


def _moved(s, dx, dy):
    return s._replace(origin=(s.origin[0] + dx, s.origin[1] + dy))


def _to_sheet(s, x, y):
    """Pixel position to distances along the sheet's top and left edges."""
    side = math.hypot(*s.u)
    px, py = x - s.origin[0], y - s.origin[1]
    return ((px * s.u[0] + py * s.u[1]) / side,
            (px * s.v[0] + py * s.v[1]) / side)


def _sheet_mask(cv, s):
    (ox, oy), (ux, uy), (vx, vy) = s.origin, s.u, s.v
    return cv.hard(R.polygon([(ox, oy), (ox + ux, oy + uy),
                              (ox + ux + vx, oy + uy + vy),
                              (ox + vx, oy + vy)]))


def draw_sheet(cv, s=BUTTON_SHEET):
    m = _sheet_mask(cv, s)
    body = cv.inside(m)
    cv.fill(m, SHEET_EDGE)
    cv.fill(body, PAPER)
    cv.fill(body.intersect(cv.where(
        lambda x, y: _to_sheet(s, x, y)[1] < s.band)), SHEET_BAND)
    # One stroke weight per column, so a writing line neither breaks up
    # nor doubles where it steps.
    slant = s.v[1] / math.hypot(*s.u)
    half = slant * cv.weight() / cv.k / 2
    for v, left, right in s.lines:
        def on(x, y, v=v, left=left, right=right):
            a, b = _to_sheet(s, x, y)
            return left <= a < right and -half <= b - v < half
        cv.fill(body.intersect(cv.where(on)), INK)


def _rim_dots(cv, m):
    """Every other pixel of m's rim, taken in order round it, so the dots
    stay evenly spaced through the stairs.  At 200 % the same is done on
    a grid of 2 x 2 cells, giving the 100 % dots doubled; in between,
    wider dots could not keep an even spacing, so they stay one pixel."""
    o = int(cv.k)
    if o == 1:
        return _dots(m)
    cw, ch = -(-m.w // o), -(-m.h // o)
    cells = R.Mask(cw, ch, [
        1.0 if sum(m.data[y * m.w + x]
                   for y in range(cy * o, min(m.h, cy * o + o))
                   for x in range(cx * o, min(m.w, cx * o + o))) >= o * o / 2
        else 0.0 for cy in range(ch) for cx in range(cw)])
    dots = _dots(cells).data
    return sc.pixels([(x, y) for y in range(m.h) for x in range(m.w)
                      if dots[(y // o) * cw + x // o]], m.w, m.h)


def _dots(m):
    n = m.w
    left = {(i % n, i // n) for i, v in
            enumerate(m.subtract(sc.inside(m)).data) if v}
    order, here = [], min(left, key=lambda p: (p[1], p[0]))
    while here:
        order.append(here)
        left.discard(here)
        x, y = here
        here = next(((x + dx, y + dy) for dx, dy in
                     ((1, 0), (0, 1), (-1, 0), (0, -1),
                      (1, 1), (-1, 1), (-1, -1), (1, -1))
                     if (x + dx, y + dy) in left), None)
        if here is None and left:   # a stair left a pixel behind
            here = min(left, key=lambda p: (p[0] - x) ** 2 + (p[1] - y) ** 2)
    return sc.pixels(order[::2], n, m.h)


def draw_sheet_dotted(cv, s=BUTTON_SHEET):
    cv.fill(_rim_dots(cv, _sheet_mask(cv, s)), OUTLINE)


def draw_cross(cv, x=10, y=10, n=7):
    """A red X over the sheet's lower right; an odd number of rows so the
    arms cross on a whole block."""
    rows = cv.snap(y + n) - cv.snap(y)
    rows -= 1 - rows % 2
    w = cv.weight(2)
    left = int(round(cv.at(x + (n + 1) / 2.0) - (rows + w - 1) / 2.0))
    top = int(round(cv.at(y + n / 2.0) - rows / 2.0))
    arms = (_band(left, top, rows, w)
            + _band(left + rows - 1, top, rows, w, -1))
    _outlined(cv, cv.real(arms), RED, RED_DARK)


def draw_clock(cv, cx=10.0, cy=11.0):
    for sx in (-1, 1):            # a bell above and a leg below each side
        bell = R.circle(cx + sx * 5.0, cy - 6.0, 2.6)
        _outlined(cv, cv.hard(bell), BLUE, BLUE_DARK)
        leg = R.line(cx + sx * 3.5, cy + 4.0, cx + sx * 5.5, cy + 6.5, 1.6)
        cv.fill(cv.hard(leg), BLUE_DARK)
    cv.fill(R.rect(cx - 1, cy - 8, cx + 1, cy - 6), BLUE_DARK)
    body = cv.hard(R.circle(cx, cy, 6.0))
    _outlined(cv, body, BLUE, BLUE_DARK)
    # A light crescent on the upper left of the case makes it look round.
    shine = (cv.soft(R.circle(cx - 1.5, cy - 1.8, 4.6))
             .subtract(cv.soft(R.circle(cx, cy, 4.6))))
    cv.fill(shine.intersect(cv.inside(body)), BLUE_LIGHT, 0.8)
    cv.fill(cv.hard(R.circle(cx, cy, 4.0)), WHITE)
    cv.fill(R.rect(cx - 1, cy - 3, cx, cy + 1), (0, 0, 0))
    cv.fill(R.rect(cx - 1, cy, cx + 2, cy + 1), (0, 0, 0))
    cv.fill(R.rect(cx - 1, cy, cx, cy + 1), RED)      # the hands' pivot


PAINTS = (RED, (255, 224, 0), BLUE, (40, 170, 40))


def draw_palette(cv):
    board = cv.hard(R.ellipse(10.0, 10.5, 8.0, 6.0))
    hole = cv.hard(R.ellipse(7.0, 13.0, 1.6, 1.2))
    _outlined(cv, board, WOOD, WOOD_DARK)
    cv.fill(cv.grow(hole), WOOD_DARK)
    cv.erase(hole)
    for (x, y), c in zip(((5, 8), (8, 6), (12, 6), (15, 8)), PAINTS):
        cv.fill(R.rect(x - 1, y - 1, x + 1, y + 1), c)
    # The brush crosses the board from the lower right, tip to the centre;
    # its end draws back as far as a heavier outline reaches out, so the
    # edge of the cell stays clear.
    back = (cv.weight() - 1) / cv.k
    handle = R.line(18.0 - back, 17.0 - back, 13.0, 12.0, 2.2)
    _outlined(cv, cv.hard(handle), (170, 90, 30), (60, 30, 0))
    cv.fill(cv.hard(R.line(13.5, 12.5, 10.5, 9.5, 2.2)), (150, 150, 160))
    cv.fill(cv.hard(R.line(11.0, 10.0, 9.0, 8.0, 1.6)), (0, 0, 0))


def draw_rollup(cv, head=4, d=0):
    """d moves everything up and left, for a smaller canvas."""
    L, T, Rr, B = 3 - d, 3 - d, 17 - d, 17 - d
    cv.fill(R.rect(L, T, Rr, B), OUTLINE)
    cv.fill(R.rect(L + 1, T + 1, Rr - 1, B - 1), PAPER)
    cv.fill(R.rect(L + 1, T + 1, Rr - 1, T + 3), R.linear_gradient(
        L, 0, Rr, 0, [(0.0, TITLE_BOTTOM), (1.0, TITLE_LIGHT)]))
    # Tips on opposite corners of a square keep the shaft a true 45: the
    # square is laid out in real pixels from its lower left corner.
    side = cv.snap(9)
    x0, y1 = cv.snap(6 - d), cv.snap(16 - d) - 1       # the lower tip
    x1, y0 = x0 + side - 1, y1 - side + 1          # the upper tip
    head = cv.snap(head)
    w = cv.weight(2)
    pts = [p for p in _band(x1 - 1 - (w - 2) // 2, y0 + 1, side - 1, w, -1)
           if x0 <= p[0] <= x1]
    for r in range(head):
        pts += [(x1 - j, y0 + r) for j in range(head - r)]
        pts += [(x0 + j, y1 - r) for j in range(head - r)]
    _outlined(cv, cv.real(pts), ORANGE, ORANGE_DARK)


def _solid(cv):
    """Every pixel fully opaque or fully clear, colour kept unblended."""
    out = R.Canvas(cv.w, cv.h)
    for j in range(0, len(cv.px), 4):
        a = cv.px[j + 3]
        if a >= 0.5:
            out.px[j:j + 4] = [cv.px[j] / a, cv.px[j + 1] / a,
                               cv.px[j + 2] / a, 1.0]
    return out


def symbol(draw, k=1.0):
    cv = sc.Cell(sc.scaled_size(BTN, k), k)
    draw(cv)
    return _solid(cv)


def button_face(state, k=1.0):
    """The face a symbol sits on: None for the keyed normal state."""
    if state == "normal":
        return None
    n = sc.scaled_size(BTN, k)
    cv = R.Canvas(n, n, TEAL)
    if state == "hover":
        reach = math.hypot(n / 2.0 - 0.5, n / 2.0 - 0.5)  # corner centres
        cv.fill(R.rect(0, 0, n, n), R.radial_gradient(
            n / 2.0, n / 2.0, reach, [(0.0, WHITE), (0.25, WHITE),
                                      (1.0, TEAL)]))
    return cv


def button_bitmap(draw, state, k=1.0):
    face, sym = button_face(state, k), symbol(draw, k)
    if face is None:
        return bitmap_writer(k)(sym, key=KEY)
    return bitmap_writer(k)(face.draw(sym))


def _sheet_cross(cv):
    draw_sheet(cv)
    draw_cross(cv)


# symbol -> resource ids of its (normal, hover, pressed) bitmaps
CAPTION_BUTTONS = [
    (draw_sheet, (141, 143, 142)),          # new note
    (draw_sheet_dotted, (194, 195, 193)),   # hide note
    (_sheet_cross, (197, 196, 198)),        # delete note
    (draw_clock, (200, 201, 199)),          # alarms
    (draw_palette, (202, 203, 204)),        # appearance
    (draw_rollup, (217, 218, 216)),         # roll up / back
]
STATES = ("normal", "hover", "pressed")


def _button_maker(draw, state, rid, step):
    rid = sc.scaled_id(rid, step)

    def make():
        return "bitmap%d.bmp" % rid, button_bitmap(draw, state,
                                                   sc.SCALES[step])
    make.__name__ = "button_%d" % rid
    return make


# One bitmap per state and scale, named by its scaled resource id.
CAPTION_BITMAPS = [_button_maker(draw, state, rid, step)
                   for step in sc.STEPS
                   for draw, ids in CAPTION_BUTTONS
                   for state, rid in zip(STATES, ids)]

# ------------------------------------------------------------- menu icons
# 16 px at 100 % and 20, 24, 28 and 32 px at the larger scales, every
# pixel either fully opaque or clear: menus that honour alpha
# and those that only use the AND mask then show the same shape, and the
# embossed copy of a disabled item keeps the symbol's outline.  Commands
# that also have a caption button show the button's drawing, moved onto
# the smaller grid; where a symbol needs room beside the note, the note
# stands upright like the one in the program's icon.

ICON = 16
BLACK = (0, 0, 0)
LETTER = (24, 24, 32)
GREEN = (40, 170, 40)
GREEN_DARK = (0, 88, 0)
PAGE_EDGE = (92, 92, 100)
PAGE_INK = (150, 150, 164)
METAL = (190, 190, 200)
METAL_DARK = (72, 72, 84)
GLASS = (200, 232, 255)
PENCIL = (232, 96, 16)
PENCIL_DARK = (110, 40, 0)
ERASER = (250, 150, 170)
BIN = (150, 150, 160)

# The button's sheet spans 15 of its 20 pixels, so it fits whole.
MENU_SHEET = _moved(BUTTON_SHEET, -2, -2)


def _mirrored(cv):
    out = R.Canvas(cv.w, cv.h)
    for y in range(cv.h):
        for x in range(cv.w):
            s, d = (y * cv.w + x) * 4, (y * cv.w + cv.w - 1 - x) * 4
            out.px[d:d + 4] = cv.px[s:s + 4]
    return out


def _writing(cv, x0, y0, y1, right, ink):
    """Lines one stroke weight thick with gaps as wide, from real row y0
    down to y1; right(y) is where the line on row y ends."""
    o = cv.weight()
    for y in range(y0, y1 - o + 1, 2 * o):
        cv.fill(R.rect(x0, y, right(y), y + o), ink, real=True)


def _note(cv, x0, y0, x1, y1, fold=3):
    """An upright note: caption band, writing and a folded corner.  Laid
    out on the real grid so the fold stays a true 45 at every size."""
    x0, y0, x1, y1, fold = (cv.snap(v) for v in (x0, y0, x1, y1, fold))
    o = cv.weight()
    body = cv.hard(R.polygon([(x0, y0), (x1, y0), (x1, y1 - fold),
                              (x1 - fold, y1), (x0, y1)]), real=True)
    cv.fill(body, SHEET_EDGE)
    inner = cv.inside(body)
    cv.fill(inner, PAPER)
    cv.fill(inner.intersect(cv.hard(R.rect(x0, y0, x1, y0 + cv.snap(3)),
                                    real=True)), SHEET_BAND)
    _writing(cv, x0 + 2 * o, y0 + cv.snap(5), y1 - o,
             lambda y: x1 - 2 * o if y + o <= y1 - fold - o
             else x1 - fold - o, INK)
    cv.fill(R.polygon([(x1 - fold, y1 - fold), (x1, y1 - fold),
                       (x1 - fold, y1)]), FLAP_DARK, real=True)
    for i in range(fold):   # the same hard stair as the 16 px app icon
        cv.fill(R.rect(x1 - o - i, y1 - fold + i, x1 - i, y1 - fold + i + 1),
                SHEET_EDGE, real=True)


def draw_undo(cv):
    # The shaft bends round the right of a circle so the arrow reads as
    # "going back"; its head sits level with the upper run.
    cx, cy = 9.0, 8.0
    ring = R.circle(cx, cy, 5.0).hole(R.circle(cx, cy, 3.0))
    shaft = (cv.hard(ring).intersect(cv.where(lambda x, y: x > cx))
             .union(cv.hard(R.rect(4, cy - 5, cx, cy - 3)))
             .union(cv.hard(R.rect(5, cy + 3, cx, cy + 5))))
    head = cv.hard(R.polygon([(1, cy - 4), (5, cy - 8), (5, cy)]))
    _outlined(cv, shaft.union(head), BLUE, BLUE_DARK)


def draw_redo(cv):
    tmp = sc.Cell(cv.w, cv.k)
    draw_undo(tmp)
    cv.draw(_mirrored(tmp))


def draw_scissors(cv):
    for sx in (-1, 1):
        blade = R.polygon([(8 - sx * 4.5, 0.5), (8 - sx * 3.5, 0.5),
                           (8 + sx * 2.5, 10.5), (8 + sx * 1.0, 10.5)])
        _outlined(cv, cv.hard(blade), METAL, METAL_DARK)
    cv.fill(R.rect(7, 6, 9, 8), METAL_DARK)       # the screw
    for sx in (-1, 1):
        ring = cv.hard(R.circle(8 + sx * 3.5, 12.5, 3.4)).subtract(
            cv.hard(R.circle(8 + sx * 3.5, 12.5, 1.6)))
        cv.fill(ring, RED_DARK)
        cv.fill(cv.inside(ring), RED)


def _page(cv, x0, y0, x1, y1, fold=3):
    """A white page with a folded top right corner and grey writing."""
    x0, y0, x1, y1, fold = (cv.snap(v) for v in (x0, y0, x1, y1, fold))
    o = cv.weight()
    body = cv.hard(R.polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold),
                              (x1, y1), (x0, y1)]), real=True)
    cv.fill(body, PAGE_EDGE)
    cv.fill(cv.inside(body), WHITE)
    cv.fill(R.polygon([(x1 - fold, y0), (x1 - fold, y0 + fold),
                       (x1, y0 + fold)]), PAGE_EDGE, real=True)
    _writing(cv, x0 + 2 * o, y0 + 3 * o, y1 - o, lambda y: x1 - 2 * o,
             PAGE_INK)


def draw_copy(cv):
    _page(cv, 1, 0, 10, 11)
    _page(cv, 6, 5, 15, 16)


def draw_paste(cv):
    board, clip = cv.hard(R.rect(1, 2, 12, 16)), cv.hard(R.rect(4, 0, 9, 5))
    cv.fill(board, WOOD_DARK)
    cv.fill(cv.inside(board), WOOD)
    cv.fill(clip, METAL_DARK)
    cv.fill(cv.inside(clip), METAL)
    _page(cv, 7, 6, 15, 16)


def draw_delete(cv):
    draw_cross(cv, 2, 3, 11)


A_ROWS = ["...##...",
          "...##...",
          "..####..",
          "..#..#..",
          ".##..##.",
          ".##..##.",
          ".######.",
          "##....##",
          "##....##",
          "##....##"]


def draw_font(cv):
    cv.sprite(A_ROWS, {"#": LETTER}, 0, 3)
    cv.sprite([".####.",
                 "....##",
                 ".#####",
                 "##..##",
                 "##..##",
                 ".##.##"], {"#": BLUE_DARK}, 9, 7)


def draw_text_colour(cv):
    cv.sprite(A_ROWS, {"#": LETTER}, 4, 1)
    bar = cv.hard(R.rect(1, 12, 15, 16))
    cv.fill(bar, RED_DARK)
    cv.fill(cv.inside(bar), RED)


def _magnifier(cv, cx, cy, r):
    d = r * 0.7071
    handle = R.line(cx + d, cy + d, cx + d + 4.5, cy + d + 4.5, 2.6)
    cv.fill(cv.hard(handle), METAL_DARK)
    lens = cv.hard(R.circle(cx, cy, r))
    cv.fill(lens, METAL_DARK)
    glass = cv.hard(R.circle(cx, cy, r - 1.4))
    cv.fill(glass, GLASS)
    cv.fill(cv.hard(R.circle(cx - 1.2, cy - 1.2, 1.1)).intersect(glass),
            WHITE)


def draw_find(cv):
    _magnifier(cv, 6.5, 6.5, 5.5)


def _odd(v):
    """The odd whole number nearest v, for shapes with a one-pixel tip."""
    return 2 * int(v // 2) + 1


def _down_arrow(cv, x, y, up=False):
    """A 7 pixel wide arrow with a 45 degree head and a three pixel shaft,
    its top left at (x, y); up turns it over."""
    head, shaft = _odd(cv.at(7)), _odd(cv.at(3))
    left, top = int(round(cv.at(x + 3.5) - head / 2.0)), cv.snap(y)
    rows = ([(left + (head - shaft) // 2, shaft)]
            * (cv.snap(y + 2) - top)
            + [(left + i, head - 2 * i) for i in range((head + 1) // 2)])
    if up:
        rows.reverse()
    cv.fill(cv.real([(x0 + i, top + r) for r, (x0, w) in enumerate(rows)
                     for i in range(w)]), GREEN_DARK)


def draw_find_next(cv):
    _magnifier(cv, 8.0, 5.5, 5.0)
    _down_arrow(cv, 0, 10)


def draw_find_prev(cv):
    _magnifier(cv, 8.0, 5.5, 5.0)
    _down_arrow(cv, 0, 10, up=True)


def draw_hide_note(cv):
    draw_sheet_dotted(cv, MENU_SHEET)


def draw_rollup_16(cv):
    draw_rollup(cv, 4, 2)


def draw_alarm_16(cv):
    draw_clock(cv, 8.0, 9.0)


def draw_palette_16(cv):
    board = cv.hard(R.ellipse(7.5, 8.0, 7.0, 5.5))
    hole = cv.hard(R.ellipse(5.0, 10.5, 1.4, 1.0))
    _outlined(cv, board, WOOD, WOOD_DARK)
    cv.fill(cv.grow(hole), WOOD_DARK)
    cv.erase(hole)
    for (x, y), c in zip(((3, 6), (6, 4), (9, 4), (12, 6)), PAINTS):
        cv.fill(R.rect(x - 1, y - 1, x + 1, y + 1), c)
    _outlined(cv, cv.hard(R.line(15.5, 15.5, 11.5, 11.5, 2.2)),
              (170, 90, 30), (60, 30, 0))
    cv.fill(cv.hard(R.line(11.5, 11.5, 9.0, 9.0, 2.2)), (150, 150, 160))
    cv.fill(cv.hard(R.line(9.5, 9.5, 7.5, 7.5, 1.6)), BLACK)


def draw_note_cross(cv):
    draw_sheet(cv, MENU_SHEET)
    draw_cross(cv, 7, 8, 7)


def _pencil(cv, x, y, length):
    """A pencil on a 45 degree diagonal, point at (x, y), running down and
    to the right; as wide as the cross's arms."""
    x, y = cv.snap(x), cv.snap(y)
    w, t = cv.weight(2), cv.weight()

    def band(i0, i1):       # from row i0 to row i1 of the design
        r0, r1 = (t if i0 == 1 else cv.snap(i0)), cv.snap(i1)
        return cv.real(_band(x + r0, y + r0, r1 - r0, w))
    point = cv.real([(x + i, y + j) for i in range(t) for j in range(t)])
    whole = band(1, length).union(point)
    cv.fill(cv.grow(whole), PENCIL_DARK)
    cv.fill(whole, PENCIL)
    cv.fill(point, BLACK)
    cv.fill(band(1, 3), WOOD)
    cv.fill(band(length - 3, length - 2), METAL)
    cv.fill(band(length - 2, length), ERASER)


def draw_title(cv):
    draw_sheet(cv, MENU_SHEET)
    _pencil(cv, 6, 4, 9)


def _arrow_right(cv, x0, x1, y, fill, edge):
    """A level arrow from x0 to its point at x1 with a 45 degree head; the
    shaft is two pixels tall on rows y-1 and y."""
    shaft = cv.hard(R.rect(x0, y - 1, x1 - 3, y + 1))
    head = cv.hard(R.polygon([(x1 - 4, y - 4), (x1, y), (x1 - 4, y + 4)]))
    _outlined(cv, shaft.union(head), fill, edge)


def draw_import(cv):
    _note(cv, 5, 1, 16, 15)
    _arrow_right(cv, 0, 11, 8, GREEN, GREEN_DARK)


def draw_export(cv):
    _note(cv, 0, 1, 11, 15)
    _arrow_right(cv, 5, 16, 8, GREEN, GREEN_DARK)


def draw_mail(cv):
    _note(cv, 3, 0, 13, 11)
    cv.sprite(["################",
                 "##wwwwwwwwwwww##",
                 "#w##wwwwwwww##w#",
                 "#www##wwww##www#",
                 "#wwwww####wwwww#",
                 "#wwwwwwwwwwwwww#",
                 "#wwwwwwwwwwwwww#",
                 "#wwwwwwwwwwwwww#",
                 "################"], {"#": PAGE_EDGE, "w": WHITE}, 0, 6)


STACK = (0, 3, 6)   # three notes, each one down and right of the last


def draw_show_all(cv):
    for d in STACK:
        _note(cv, d, d, d + 10, d + 10)


def draw_hide_all(cv):
    front = R.Mask(cv.w, cv.h)
    for d in STACK[::-1]:
        m = cv.hard(R.rect(d, d, d + 10, d + 10))
        cv.fill(_rim_dots(cv, m).subtract(cv.inside(front)), OUTLINE)
        front = front.union(m)


def draw_globe(cv):
    disc = cv.hard(R.circle(8, 8, 7.0))
    cv.fill(disc, BLUE_DARK)
    sea = cv.inside(disc)
    cv.fill(sea, BLUE)
    land = cv.sprite_mask([
        "................",
        "................",
        ".....###........",
        "....#####..##...",
        "...######..###..",
        "...#####....##..",
        "....####.....#..",
        ".....###........",
        "......##...##...",
        "......###.####..",
        ".......##.#####.",
        ".......#...###..",
        "............#...",
        "................",
        "................",
        "................"], "#")
    cv.fill(land.intersect(sea), GREEN)


def _disc_glyph(cv, rows, face, edge, ink, x, y):
    disc = cv.hard(R.circle(8, 8, 7.5))
    cv.fill(disc, edge)
    cv.fill(cv.inside(disc), face)
    cv.sprite(rows, {"#": ink}, x, y)


def draw_help(cv):
    _disc_glyph(cv, [".####.",
                     "##..##",
                     "....##",
                     "...##.",
                     "..##..",
                     "..##..",
                     "......",
                     "..##..",
                     "..##.."], BLUE, BLUE_DARK, WHITE, 5, 3)


def draw_about(cv):
    _disc_glyph(cv, [".##.",
                     ".##.",
                     "....",
                     "###.",
                     ".##.",
                     ".##.",
                     ".##.",
                     ".##.",
                     "####"], WHITE, BLUE_DARK, BLUE, 6, 3)


def draw_exit(cv):
    ring = cv.hard(R.circle(8, 9, 6.5)).subtract(
        cv.hard(R.circle(8, 9, 4.5))).subtract(
        cv.hard(R.polygon([(8, 9), (3, 0), (13, 0)])))
    bar = cv.hard(R.rect(7, 1, 9, 9))
    cv.fill(ring.union(bar), RED)


def draw_check(cv):
    cv.sprite(["..........#",
                 ".........##",
                 "........###",
                 "#......###.",
                 "##....###..",
                 "###..###...",
                 ".######....",
                 "..####.....",
                 "...##......"], {"#": LETTER}, 3, 3)


def draw_find_notes(cv):
    """A note under the find command's magnifier."""
    _note(cv, 0, 0, 11, 14)
    _magnifier(cv, 9.5, 9.0, 4.5)


def draw_deleted_notes(cv):
    """A note half sunk into a bin, as if lifted back out of it."""
    _note(cv, 3, 0, 13, 11)
    bin_ = cv.hard(R.polygon([(2, 7), (14, 7), (13, 16), (3, 16)]))
    cv.fill(bin_, METAL_DARK)
    cv.fill(cv.inside(bin_), BIN)
    o = cv.weight()
    for x in (5, 8, 11):                      # the ribs of the bin
        x = cv.snap(x)
        cv.fill(R.rect(x, cv.snap(9), x + o, cv.snap(15)), METAL_DARK, real=True)
    rim = cv.hard(R.rect(1, 6, 15, 9))
    cv.fill(rim, METAL_DARK)
    cv.fill(cv.inside(rim), METAL)


def draw_agenda(cv):
    """A calendar page: a red band with two rings over a grid of days,
    one of them marked."""
    page = cv.hard(R.rect(1, 2, 15, 16))
    cv.fill(page, PAGE_EDGE)
    cv.fill(cv.inside(page), WHITE)
    cv.fill(R.rect(2, 3, 14, 6), RED)
    o = cv.weight()
    for x in (4, 11):
        x = cv.snap(x)
        cv.fill(R.rect(x, 0, x + o, cv.snap(4)), METAL_DARK, real=True)
    # Days are whole squares a stroke apart, the grid centred on the page.
    day, gap = cv.weight(2), o
    left = cv.snap(3) + (cv.snap(14) - cv.snap(3) - 4 * day - 3 * gap) // 2
    top = cv.snap(7) + (cv.snap(15) - cv.snap(7) - 3 * day - 2 * gap) // 2
    for row in range(3):
        y = top + row * (day + gap)
        for col in range(4):
            x = left + col * (day + gap)
            mark = BLUE if (row, col) == (1, 2) else PAGE_INK
            cv.fill(R.rect(x, y, x + day, y + day), mark, real=True)


def draw_start_with_windows(cv):
    """A note with a green power sign, the exit sign in the colour of go,
    in a round gap cut out of the note's corner."""
    _note(cv, 0, 0, 11, 14)
    cx, cy = 11.0, 11.0
    ring = (cv.hard(R.circle(cx, cy, 5.0))
            .subtract(cv.hard(R.circle(cx, cy, 3.0)))
            .subtract(cv.hard(R.polygon([(cx, cy), (cx - 3.5, cy - 6),
                                       (cx + 3.5, cy - 6)]))))
    sign = ring.union(cv.hard(R.rect(cx - 1, cy - 6, cx + 1, cy)))
    gap = cv.hard(R.circle(cx, cy, 6.0))
    cv.fill(cv.grow(gap).intersect(cv.alpha_mask()), SHEET_EDGE)
    cv.erase(gap)
    cv.fill(sign, GREEN)


FOLDER = (250, 210, 100)
FOLDER_BACK = (222, 168, 60)     # the inside of the folder, in shadow


def draw_notes_folder(cv):
    """An open folder with a note standing in it: the back and its tab
    behind the note, the front leaning out over it."""
    back = cv.hard(R.polygon([(0, 1), (4, 1), (6, 3), (15, 3), (15, 15),
                              (0, 15)]))
    cv.fill(back, WOOD_DARK)
    cv.fill(cv.inside(back), FOLDER_BACK)
    _note(cv, 7, 0, 15, 12)
    # Both sides run two rows down per pixel across, an even stair.
    front = cv.hard(R.polygon([(4, 7), (16, 7), (12, 15), (0, 15)]))
    cv.fill(front, WOOD_DARK)
    cv.fill(cv.inside(front), FOLDER)


def _arrow_down(cv, x, y0, y1, fill, edge):
    """_arrow_right turned to point down at y1; the shaft is two pixels
    wide on columns x-1 and x."""
    shaft = cv.hard(R.rect(x - 1, y0, x + 1, y1 - 3))
    head = cv.hard(R.polygon([(x - 4, y1 - 4), (x, y1), (x + 4, y1 - 4)]))
    _outlined(cv, shaft.union(head), fill, edge)


def draw_back_up(cv):
    """Two notes and an arrow going down from them into a drive."""
    _note(cv, 0, 0, 8, 9, 2)
    _note(cv, 2, 2, 10, 11, 2)
    drive = cv.hard(R.rect(0, 11, 16, 16))
    cv.fill(drive, METAL_DARK)
    cv.fill(cv.inside(drive), METAL)
    cv.fill(R.rect(2, 13, 4, 14), GREEN)            # the drive's light
    _arrow_down(cv, 11, 3, 14, GREEN, GREEN_DARK)


def draw_versions(cv):
    """A note with a clock whose rim is an arrow turning back, in a round
    gap cut out of the note's corner like the power sign's."""
    _note(cv, 0, 0, 11, 14)
    cx, cy = 11.0, 11.0
    gap = cv.hard(R.circle(cx, cy, 6.0))
    cv.fill(cv.grow(gap).intersect(cv.alpha_mask()), SHEET_EDGE)
    cv.erase(gap)
    # The rim leaves its lower left quarter open; its end at nine o'clock
    # points down, the way back round.  The face stays white all round so
    # the hands read on a dark menu too.
    face = cv.hard(R.circle(cx, cy, 3.3))
    cv.fill(face, WHITE)
    rim = (cv.hard(R.circle(cx, cy, 5.0)).subtract(face)
           .subtract(cv.hard(R.rect(cx - 6, cy, cx, cy + 6))))
    # The head is laid out in real pixels, each row two narrower, so its
    # sides keep a true 45 at every size.
    half, x, y = cv.snap(2), cv.snap(cx - 4), cv.snap(cy)
    head = cv.real([(x + i, y + j) for j in range(half)
                    for i in range(j - half, half - j)])
    cv.fill(rim.union(head), BLUE_DARK)
    cv.fill(R.rect(cx - 1, cy - 3, cx, cy + 1), BLACK)
    cv.fill(R.rect(cx - 1, cy, cx + 2, cy + 1), BLACK)


WARN = (255, 200, 24)
WARN_EDGE = (96, 56, 0)


def draw_save_failed(cv):
    """An amber warning triangle with a dark rim, so it stands out on a
    light caption as well as a dark one.  Laid out on the real grid and
    centred on the cell, so both sides keep the same stair at every
    size."""
    n, a = cv.w, cv.weight()
    top, bottom = cv.snap(1), cv.snap(15)
    sign = cv.hard(R.polygon([(n / 2 - a, top), (n / 2 + a, top),
                              (n, bottom), (0, bottom)]), real=True)
    cv.fill(sign, WARN_EDGE)
    cv.fill(cv.inside(sign), WARN)
    w = 2 * a                   # even, so the mark is centred as well
    x = n // 2 - a
    cv.fill(R.rect(x, cv.snap(5), x + w, cv.snap(10)), LETTER, real=True)
    cv.fill(R.rect(x, cv.snap(11), x + w, cv.snap(13)), LETTER, real=True)


def _up_down_arrow(cv, x, y0, y1):
    """_down_arrow with a head at both ends, from row y0 to row y1: its
    two heads keep one step per row at every size."""
    head, shaft = _odd(cv.at(7)), _odd(cv.at(3))
    left = int(round(cv.at(x + 3.5) - head / 2.0))
    top, n = cv.snap(y0), (head + 1) // 2
    tip = [(left + n - 1 - i, 2 * i + 1) for i in range(n)]
    rows = (tip + [(left + (head - shaft) // 2, shaft)]
            * (cv.snap(y1) - top - 2 * n) + tip[::-1])
    return cv.real([(x0 + i, top + r) for r, (x0, w) in enumerate(rows)
                    for i in range(w)])


def draw_window_position(cv):
    """One note over another beside an arrow up and down: the note can be
    raised above other windows or sunk to the desktop."""
    _note(cv, 0, 0, 8, 10, 2)
    _note(cv, 2, 5, 10, 16, 2)
    arrow = _up_down_arrow(cv, 9, 0, 16)
    cv.fill(arrow, BLUE_DARK)
    cv.fill(cv.inside(arrow), BLUE)


def draw_transparency(cv):
    """A note over a blue disc, its lower half let through by half, so the
    disc and its rim show through there but not through the upper half."""
    disc = cv.hard(R.circle(10.5, 10.5, 5.5))
    cv.fill(disc, BLUE_DARK)
    cv.fill(cv.inside(disc), BLUE)
    note = sc.Cell(cv.w, cv.k)
    _note(note, 0, 0, 11, 15)
    lower = cv.hard(R.rect(0, 8, 16, 16))
    # Every pixel ends fully opaque or clear, so where nothing lies behind
    # the half-clear paper it is blended with white, as on a light menu.
    cv.fill(note.alpha_mask().intersect(lower).subtract(cv.alpha_mask()),
            WHITE)
    cut = cv.snap(8) * cv.w * 4
    note.px[cut:] = [v * 0.5 for v in note.px[cut:]]
    cv.draw(note)


KEY_TOP = (240, 240, 246)


def _letter_k(cv, x, y):
    """A K seven pixels tall with its top left at (x, y): a stem two
    strokes wide and two arms as wide that meet it on the middle row.
    Laid out in real pixels, an odd number of rows, so the arms keep a
    true 45."""
    x, top, w, h = cv.snap(x), cv.snap(y), cv.weight(2), _odd(cv.at(7))
    mid, n = top + h // 2, h // 2 + 1
    pts = [(x + i, top + j) for i in range(w) for j in range(h)]
    pts += [(x + w + i + j, mid + s * i) for s in (-1, 1)
            for i in range(n) for j in range(w)]
    return cv.real(pts)


def draw_hotkeys(cv):
    """A key cap seen a little from the front: its face, edged like a
    raised top, sits high on the cap so the front shows below it."""
    # The corners are cut by a stair of real pixels, as a scaled diagonal
    # would round to a different cut at every size.
    n, c = cv.w, cv.weight()
    cap = cv.hard(R.rect(0, 0, 16, 16)).subtract(cv.real(
        [(x, y) for i in range(c) for j in range(c - i)
         for x in (i, n - 1 - i) for y in (j, n - 1 - j)]))
    cv.fill(cap, METAL_DARK)
    cv.fill(cv.inside(cap), BIN)
    face = cv.hard(R.rect(2, 1, 14, 12))
    cv.fill(face, METAL)
    cv.fill(cv.inside(face), KEY_TOP)
    cv.fill(_letter_k(cv, 5, 3), LETTER)


LOCK_BRASS = (232, 176, 40)
LOCK_BRASS_EDGE = (110, 70, 8)


def draw_lock(cv):
    """A padlock: a steel shackle over a brass body with a dark keyhole, the
    mark a locked note shows beside its title.  The shackle's legs are laid
    out in real pixels, as wide as the rim, so they stay even at every size."""
    shackle = cv.hard(R.rect(4, 1, 12, 9)).subtract(cv.hard(R.rect(6, 3, 10, 9)))
    cv.fill(shackle, METAL_DARK)
    body = cv.hard(R.rect(2, 7, 14, 15))
    cv.fill(body, LOCK_BRASS_EDGE)
    cv.fill(cv.inside(body), LOCK_BRASS)
    x, w = cv.snap(7), cv.weight(2)
    cv.fill(R.rect(x, cv.snap(9), x + w, cv.snap(13)), LETTER, real=True)


LIST_LINE = (96, 96, 110)


def _list_rows(cv, mark):
    """Two rows of a list, each a mark at the left and a line of text after it."""
    for top in (2, 9):
        mark(cv, top)
        cv.fill(cv.hard(R.rect(9, top + 2, 15, top + 4)), LIST_LINE)


def draw_checklist(cv):
    """A check list: a ticked box above an open one, each before its line."""
    def box(cv, top):
        outline = cv.hard(R.rect(1, top, 7, top + 6))
        cv.fill(outline, METAL_DARK)
        cv.fill(cv.inside(outline), WHITE)
        if top == 2:
            cv.fill(cv.hard(R.polygon([(2, top + 3), (3, top + 2), (4, top + 3.5), (6.5, top + 0.5),
                                       (7.5, top + 1.5), (4, top + 5.5)])), GREEN_DARK)
    _list_rows(cv, box)


def draw_bullets(cv):
    """A bulleted list: a round bullet before each of two lines."""
    def dot(cv, top):
        cv.fill(cv.hard(R.circle(4, top + 3, 2)), BLUE_DARK)
    _list_rows(cv, dot)


# resource id -> drawing, for the menu commands
MENU_ICONS = [
    (164, draw_undo), (168, draw_redo), (165, draw_scissors),
    (169, draw_copy), (167, draw_paste), (166, draw_delete),
    (172, draw_font), (179, draw_text_colour), (148, draw_find),
    (170, draw_find_next), (171, draw_find_prev), (174, draw_hide_note),
    (215, draw_rollup_16), (159, draw_alarm_16), (150, draw_palette_16),
    (157, draw_title), (175, draw_note_cross), (178, draw_import),
    (177, draw_export), (176, draw_mail), (186, draw_hide_all),
    (185, draw_show_all), (210, draw_globe), (181, draw_help),
    (183, draw_about), (184, draw_exit), (187, draw_check),
    (221, draw_find_notes), (222, draw_deleted_notes), (223, draw_agenda),
    (224, draw_start_with_windows), (225, draw_notes_folder),
    (226, draw_back_up), (227, draw_versions), (228, draw_save_failed),
    (229, draw_window_position), (230, draw_transparency),
    (231, draw_hotkeys), (233, draw_lock), (234, draw_checklist), (235, draw_bullets),
]


def menu_canvas(draw, k=1.0):
    cv = sc.Cell(sc.scaled_size(ICON, k), k)
    draw(cv)
    return _solid(cv)


def menu_images(draw):
    """One image per display scale, 16 px first."""
    return [menu_canvas(draw, k) for k in sc.SCALES]


# Icons that a dialog also shows at the system's large icon size (32 px at
# 100 %, 64 at 200 %): their files hold those sizes as well.
# The hotkeys dialog shows its menu icon (231) at that size too.
DIALOG_ICON_IDS = (148, 150, 157, 231)
DIALOG_ICON_SCALES = (2.5, 3.0, 3.5, 4.0)
LARGE_ICON_IDS = DIALOG_ICON_IDS


def _icon_maker(draw, rid):
    def make():
        images = menu_images(draw)
        if rid in DIALOG_ICON_IDS:
            images += [menu_canvas(draw, k) for k in DIALOG_ICON_SCALES]
        return "icon%d.ico" % rid, R.ico(
            images, dib=LARGE_DIB if rid in LARGE_ICON_IDS else SMALL_DIB)
    make.__name__ = "icon_%d" % rid
    return make


MENU_ICON_FILES = [_icon_maker(draw, rid) for rid, draw in MENU_ICONS]



# ----------------------------------------------------------- special icons
# The tray icon and the speaker are stored with 16 colours, so they are
# drawn in the VGA colours themselves rather than left to the writer's
# nearest-colour match, which would muddy the yellow.

VGA_BLACK, VGA_MAROON, VGA_OLIVE = R.VGA16[0], R.VGA16[1], R.VGA16[3]
VGA_NAVY, VGA_SILVER, VGA_GREY = R.VGA16[4], R.VGA16[7], R.VGA16[8]
VGA_RED, VGA_YELLOW, VGA_BLUE = R.VGA16[9], R.VGA16[11], R.VGA16[12]
VGA_WHITE = R.VGA16[15]


def draw_tray_note(cv):
    """note_16 in sixteen colours.  Olive edges hold the yellow together on
    a light taskbar; on a dark one the yellow itself carries the shape."""
    L, T, Rr, B, f = (cv.snap(v) for v in (1, 2, 15, 15, 5))
    o = cv.weight()
    body = cv.hard(_note_outline(L, T, Rr, B, f), real=True)
    cv.fill(body, VGA_OLIVE)
    cv.fill(cv.inside(body), VGA_YELLOW)
    band = T + cv.snap(4)                                       # under the band
    cv.fill(R.rect(L + o, band, Rr - o, band + o), VGA_OLIVE, real=True)
    _writing(cv, cv.snap(3), cv.snap(9), cv.snap(14),
             lambda y: cv.snap(13) if y < cv.snap(13) else cv.snap(9), VGA_GREY)
    cv.fill(cv.hard(R.polygon([(Rr, B - f), (Rr - f, B), (Rr - f, B - f)]),
                    real=True), VGA_SILVER)
    x, y = Rr - f, B - f            # light catching the curl
    cv.fill(cv.real([(x + a * o + i, y + b * o + j)
                     for a, b in ((0, 0), (1, 0), (0, 1))
                     for i in range(o) for j in range(o)]), VGA_WHITE)
    for i in range(f):
        cv.fill(R.rect(Rr - o - i, B - f + i, Rr - i, B - f + i + 1),
                VGA_OLIVE, real=True)
    cv.sprite([".rr.",
               "rwrr",
               "rrrm",
               ".mm."], {"r": VGA_RED, "w": VGA_WHITE, "m": VGA_MAROON},
              6, 1)


def draw_speaker(cv):
    box = cv.hard(R.rect(1, 5, 5, 11))
    cone = cv.hard(R.polygon([(4, 5), (9, 1), (9, 15), (4, 11)]))
    body = box.union(cone)
    cv.fill(body, VGA_BLACK)
    cv.fill(cv.inside(box), VGA_GREY)
    cv.fill(cv.inside(cone), VGA_SILVER)
    cv.fill(cv.inside(cone).intersect(cv.hard(R.rect(5, 8, 9, 16))),
            VGA_GREY)
    for r in (3.5, 6.0):          # two sound waves round the cone's mouth
        wave = (cv.hard(R.circle(9, 8, r + 0.6))
                .subtract(cv.hard(R.circle(9, 8, r - 0.6)))
                .intersect(cv.where(lambda x, y, r=r:
                                 x > 10.5 and abs(y - 8) < r * 0.8)))
        cv.fill(wave, VGA_NAVY)


def draw_submenu_mark(cv):
    """A small black triangle pointing right, 4 x 7 pixels at 100 %, in
    the top left corner; the rest of the icon stays clear.  Its edges
    keep one step per row at every size."""
    w = cv.snap(4)
    cv.fill(cv.real([(x, y) for y in range(2 * w - 1)
                     for x in range(w - abs(y - (w - 1)))]), BLACK)


def tray_icon():
    return "icon147.ico", R.ico(menu_images(draw_tray_note), bpp=4)


def speaker_icon():
    return "icon140.ico", R.ico(menu_images(draw_speaker), bpp=4)


def submenu_icon():
    return "icon152.ico", R.ico(menu_images(draw_submenu_mark),
                                dib=SMALL_DIB)


def about_icon():
    """The About box asks for the system's large icon size, 32 px at
    100 % and 64 at 200 %."""
    return "icon209.ico", R.ico([note_16()] + [note_icon(sc.scaled_size(32, k))
                                               for k in sc.SCALES],
                                dib=LARGE_DIB)


ARTWORK = ([app_icon, about_icon, tray_icon, speaker_icon, submenu_icon]
           + LOGO_BITMAPS + CAPTION_BITMAPS + MENU_ICON_FILES + [sound.alarm_wave])


# ----------------------------------------------------------- setup pictures
# The setup's welcome and finish pages show a tall picture at their left,
# its other pages a small one at the right of their white header.  Only
# tools/make-setup.sh takes them, from this folder; they stay out of the
# program's resources, whose size is limited.

WIZARD_W, WIZARD_H = 164, 314
WIZARD_TOP = (255, 246, 196)        # the paper, paled so the page's text leads
WIZARD_BG = (255, 252, 234)
HEADER_W, HEADER_H = 150, 57


def setup_wizard():
    W, H = WIZARD_W, WIZARD_H
    cv = R.Canvas(W, H, WIZARD_BG)
    # fades to the plain colour well above the lower third, which the
    # page's text and buttons may sit beside at any size
    cv.fill(R.rect(0, 0, W, H * 0.6), R.linear_gradient(
        0, 0, 0, H * 0.6, [(0.0, WIZARD_TOP), (1.0, WIZARD_BG)]))
    S = 96
    cv.draw(note_icon(S), (W - S) // 2, 30)
    size = 1.5                       # 6 px stems, whole pixels
    _, text_w = word_path("Pinvel", 0, 0, size)
    # Every mask spans its whole canvas, so the note and the word are drawn
    # on canvases of their own size, which keeps the build quick.
    word = R.Canvas(W, round(CAP * size) + 6)   # room for the shadow below
    draw_word(word, round((W - text_w) / 2), round(CAP * size), size, size)
    cv.draw(word, 0, 150)
    return "setup-wizard.bmp", R.bmp24(cv, WIZARD_BG)


def setup_header():
    W, H = HEADER_W, HEADER_H
    cv = R.Canvas(W, H, WHITE)
    S = 48
    cv.draw(note_icon(S), W - S - 8, (H - S) // 2 - 2)
    return "setup-header.bmp", R.bmp24(cv, WHITE)


SETUP_ARTWORK = [setup_wizard, setup_header]


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_art.py <outdir>\n")
        return 2
    outdir = argv[1]
    os.makedirs(outdir, exist_ok=True)
    for make in ARTWORK + SETUP_ARTWORK:
        name, data = make()
        if R.write_if_changed(os.path.join(outdir, name), data):
            print("make_art: wrote " + name)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
