#!/usr/bin/env python3
"""Draws Pinvel's icons and bitmaps, and renders its alarm sound (see
sound.py), into the folder given on the command line.

Run by the build as:  python3 tools/art/make_art.py <outdir>
Files whose bytes did not change are left alone, so the resource compiler
only reruns when the artwork really changed.

To add an image or sound, write a function returning (file name, bytes)
and list it in ARTWORK.
"""

import collections
import math
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree clean during builds
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import raster as R  # noqa: E402
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


def note_16():
    """Hand-placed 16 px version: every edge on the pixel grid, one-pixel
    writing, no blur, so nothing turns to mush."""
    cv = R.Canvas(16, 16)
    L, T, Rr, B, f = 1, 2, 14, 15, 5
    body = _note_outline(L, T, Rr, B, f)
    cv.fill(body.transformed(R.translate(1, 1)), SHADOW, 0.30)
    cv.fill(body, EDGE)
    cv.fill(_note_outline(L, T, Rr, B, f, inset=1.0), PAPER)
    cv.fill(R.rect(L + 1, T + 1, Rr - 1, T + 4), BAND)
    for y, right in ((7, 12), (9, 12), (11, 8)):
        cv.fill(R.rect(3, y, right, y + 1), INK)
    flap = R.polygon([(Rr, B - f), (Rr - f, B), (Rr - f, B - f)])
    cv.fill(flap, FLAP_DARK)
    cv.fill(R.polygon([(Rr - f, B - f), (Rr - 1.5, B - f), (Rr - f, B - 1.5)]),
            FLAP_LIGHT, 0.7)
    for i in range(f):  # a hard pixel stair reads better than a soft 45 deg
        cv.fill(R.rect(Rr - 1 - i, B - f + i, Rr - i, B - f + i + 1), EDGE)
    cv.fill(R.circle(8, 3, 2.0), R.radial_gradient(
        7.2, 2.2, 3.0, [(0.0, PIN_LIGHT), (0.4, PIN), (1.0, PIN_DARK)]))
    return cv


def note_icon(S):
    cv = R.Canvas(S, S)
    draw_note(cv, S)
    return cv


def app_icon():
    return "icon128.ico", R.ico([note_16(), note_icon(32), note_icon(48)])


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


def draw_logo(W, H, bg, note_S, note_y, baseline, size=1.0):
    """The note motif beside the word, centred together; note_y and
    baseline place them vertically."""
    cv = R.Canvas(W, H, bg)
    _, text_w = word_path("Pinvel", 0, 0, size)
    gap = round(7 * size)
    note_w = round(40 * note_S / 48.0)          # body plus shadow
    margin = round(4 * note_S / 48.0)           # left of the body
    left = (W - (note_w + gap + text_w)) // 2 - margin
    draw_note(cv, note_S, left, note_y)
    text_x = left + margin + note_w + gap
    text, _ = word_path("Pinvel", text_x, baseline, size)
    m = text.mask(W, H)
    cv.fill(m.shifted(1.0, 1.0).blurred(0.7), SHADOW, 0.30)
    cv.fill(m, R.linear_gradient(0, baseline - CAP * size, 0, baseline,
                                 [(0.0, TITLE_TOP), (1.0, TITLE_BOTTOM)]))
    return cv


def logo_banner():
    cv = draw_logo(150, 43, DIALOG_FACE, 42, -1, 32)
    return "bitmap213.bmp", R.bmp24(cv, DIALOG_FACE)


def about_logo():
    """The About box is white, so this one is drawn straight onto white."""
    cv = draw_logo(172, 47, WHITE, 46, 0, 38, 1.25)
    return "bitmap208.bmp", R.bmp24(cv, WHITE)


# ---------------------------------------------------------- caption buttons
# Six buttons on a note's caption, each in three states.  The caption takes
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


def _mask(fn, n=BTN):
    """A hard 0/1 mask from a test on pixel centres."""
    return R.Mask(n, n, [1.0 if fn(x + 0.5, y + 0.5) else 0.0
                         for y in range(n) for x in range(n)])


def _hard(path, n=BTN):
    """Half-covered pixels or more count as inside, so shapes keep their
    size but lose the soft rim that would have to be blended with
    something: the caption colour is not known when these are drawn."""
    return R.Mask(n, n, [1.0 if v >= 0.5 else 0.0
                         for v in path.mask(n, n).data])


def _grow(m):
    """Pixels next to m (4-neighbours); its outline."""
    d, w = m.data, m.w

    def near(i):
        x, y = i % w, i // w
        return ((x > 0 and d[i - 1]) or (x < w - 1 and d[i + 1])
                or (y > 0 and d[i - w]) or (y < m.h - 1 and d[i + w]))
    return R.Mask(w, m.h, [0.0 if d[i] else (1.0 if near(i) else 0.0)
                           for i in range(len(d))])


def _inside(m):
    """Hard mask m without its border pixels: those with a 4-neighbour
    outside m or past the edge of the image."""
    d, w, h = m.data, m.w, m.h

    def keep(i):
        x, y = i % w, i // w
        return (d[i] and 0 < x < w - 1 and 0 < y < h - 1
                and d[i - 1] and d[i + 1] and d[i - w] and d[i + w])
    return R.Mask(w, h, [1.0 if keep(i) else 0.0 for i in range(w * h)])


def _outlined(cv, m, fill, edge):
    cv.fill(_grow(m), edge)
    cv.fill(m, fill)


def _pixels(pts, n=BTN):
    pts = set(pts)
    return R.Mask(n, n, [1.0 if (i % n, i // n) in pts else 0.0
                         for i in range(n * n)])


def _diagonal(x, y, n, dx):
    """A two-pixel-wide 45 degree band of n rows from (x, y) downwards,
    leaning right (dx 1) or left (dx -1)."""
    return [(x + dx * i + k, y + i) for i in range(n) for k in (0, 1)]


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


def _sheet_mask(s, n):
    (ox, oy), (ux, uy), (vx, vy) = s.origin, s.u, s.v
    return _hard(R.polygon([(ox, oy), (ox + ux, oy + uy),
                            (ox + ux + vx, oy + uy + vy), (ox + vx, oy + vy)]),
                 n)


def draw_sheet(cv, s=BUTTON_SHEET):
    n = cv.w
    m = _sheet_mask(s, n)
    body = _inside(m)
    cv.fill(m, SHEET_EDGE)
    cv.fill(body, PAPER)
    cv.fill(body.intersect(_mask(lambda x, y: _to_sheet(s, x, y)[1] < s.band,
                                 n)), SHEET_BAND)
    # One pixel per column, so a writing line neither breaks up nor
    # doubles where it steps.
    slant = s.v[1] / math.hypot(*s.u)
    for v, left, right in s.lines:
        def on(x, y, v=v, left=left, right=right):
            a, b = _to_sheet(s, x, y)
            return left <= a < right and -slant / 2 <= b - v < slant / 2
        cv.fill(body.intersect(_mask(on, n)), INK)


def _rim_dots(m):
    """Every other pixel of m's rim, taken in order round it, so the dots
    stay evenly spaced through the stairs."""
    n = m.w
    left = {(i % n, i // n) for i, v in
            enumerate(m.subtract(_inside(m)).data) if v}
    order, here = [], min(left, key=lambda p: (p[1], p[0]))
    while here:
        order.append(here)
        left.discard(here)
        x, y = here
        here = next(((x + dx, y + dy) for dx, dy in
                     ((1, 0), (0, 1), (-1, 0), (0, -1),
                      (1, 1), (-1, 1), (-1, -1), (1, -1))
                     if (x + dx, y + dy) in left), None)
    return _pixels(order[::2], n)


def draw_sheet_dotted(cv, s=BUTTON_SHEET):
    cv.fill(_rim_dots(_sheet_mask(s, cv.w)), OUTLINE)


def draw_cross(cv, x=10, y=10, n=7):
    """A red X over the sheet's lower right; n odd so the arms cross on a
    whole two-by-two block."""
    _outlined(cv, _pixels(_diagonal(x, y, n, 1)
                          + _diagonal(x + n - 1, y, n, -1), cv.w),
              RED, RED_DARK)


def draw_clock(cv, cx=10.0, cy=11.0):
    n = cv.w
    for sx in (-1, 1):            # a bell above and a leg below each side
        bell = R.circle(cx + sx * 5.0, cy - 6.0, 2.6)
        _outlined(cv, _hard(bell, n), BLUE, BLUE_DARK)
        leg = R.line(cx + sx * 3.5, cy + 4.0, cx + sx * 5.5, cy + 6.5, 1.6)
        cv.fill(_hard(leg, n), BLUE_DARK)
    cv.fill(R.rect(cx - 1, cy - 8, cx + 1, cy - 6), BLUE_DARK)
    body = _hard(R.circle(cx, cy, 6.0), n)
    _outlined(cv, body, BLUE, BLUE_DARK)
    # A light crescent on the upper left of the case makes it look round.
    shine = (R.circle(cx - 1.5, cy - 1.8, 4.6).mask(n, n)
             .subtract(R.circle(cx, cy, 4.6).mask(n, n)))
    cv.fill(shine.intersect(_inside(body)), BLUE_LIGHT, 0.8)
    cv.fill(_hard(R.circle(cx, cy, 4.0), n), WHITE)
    cv.fill(R.rect(cx - 1, cy - 3, cx, cy + 1), (0, 0, 0))
    cv.fill(R.rect(cx - 1, cy, cx + 2, cy + 1), (0, 0, 0))
    cv.fill(R.rect(cx - 1, cy, cx, cy + 1), RED)      # the hands' pivot


PAINTS = (RED, (255, 224, 0), BLUE, (40, 170, 40))


def draw_palette(cv):
    board = _hard(R.ellipse(10.0, 10.5, 8.0, 6.0))
    hole = _hard(R.ellipse(7.0, 13.0, 1.6, 1.2))
    _outlined(cv, board, WOOD, WOOD_DARK)
    cv.fill(_grow(hole), WOOD_DARK)
    cv.erase(hole)
    for (x, y), c in zip(((5, 8), (8, 6), (12, 6), (15, 8)), PAINTS):
        cv.fill(R.rect(x - 1, y - 1, x + 1, y + 1), c)
    # The brush crosses the board from the lower right, tip to the centre.
    handle = R.line(18.0, 17.0, 13.0, 12.0, 2.2)
    _outlined(cv, _hard(handle), (170, 90, 30), (60, 30, 0))
    cv.fill(_hard(R.line(13.5, 12.5, 10.5, 9.5, 2.2)), (150, 150, 160))
    cv.fill(_hard(R.line(11.0, 10.0, 9.0, 8.0, 1.6)), (0, 0, 0))


def draw_rollup(cv, head=4, d=0):
    """d moves everything up and left, for a smaller canvas."""
    L, T, Rr, B = 3 - d, 3 - d, 17 - d, 17 - d
    cv.fill(R.rect(L, T, Rr, B), OUTLINE)
    cv.fill(R.rect(L + 1, T + 1, Rr - 1, B - 1), PAPER)
    cv.fill(R.rect(L + 1, T + 1, Rr - 1, T + 3), R.linear_gradient(
        L, 0, Rr, 0, [(0.0, TITLE_BOTTOM), (1.0, TITLE_LIGHT)]))
    # Tips on opposite corners of a square keep the shaft a true 45.
    (tx, ty), (bx, by) = (14 - d, 7 - d), (6 - d, 15 - d)
    n = by - ty
    pts = _diagonal(bx + n - 1, by - n + 1, n, -1)
    for r in range(head):
        pts += [(tx - j, ty + r) for j in range(head - r)]
        pts += [(bx + j, by - r) for j in range(head - r)]
    _outlined(cv, _pixels(pts, cv.w), ORANGE, ORANGE_DARK)


def _solid(cv):
    """Every pixel fully opaque or fully clear, colour kept unblended."""
    out = R.Canvas(cv.w, cv.h)
    for j in range(0, len(cv.px), 4):
        a = cv.px[j + 3]
        if a >= 0.5:
            out.px[j:j + 4] = [cv.px[j] / a, cv.px[j + 1] / a,
                               cv.px[j + 2] / a, 1.0]
    return out


def symbol(draw):
    cv = R.Canvas(BTN, BTN)
    draw(cv)
    return _solid(cv)


def button_face(state):
    """The face a symbol sits on: None for the keyed normal state."""
    if state == "normal":
        return None
    cv = R.Canvas(BTN, BTN, TEAL)
    if state == "hover":
        reach = math.hypot(BTN / 2.0 - 0.5, BTN / 2.0 - 0.5)  # corner centres
        cv.fill(R.rect(0, 0, BTN, BTN), R.radial_gradient(
            BTN / 2.0, BTN / 2.0, reach, [(0.0, WHITE), (0.25, WHITE),
                                          (1.0, TEAL)]))
    return cv


def button_bitmap(draw, state):
    face, sym = button_face(state), symbol(draw)
    if face is None:
        return R.bmp24(sym, key=KEY)
    return R.bmp24(face.draw(sym))


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


def _button_maker(draw, state, rid):
    def make():
        return "bitmap%d.bmp" % rid, button_bitmap(draw, state)
    make.__name__ = "button_%d" % rid
    return make


CAPTION_BITMAPS = [_button_maker(draw, state, rid)
                   for draw, ids in CAPTION_BUTTONS
                   for state, rid in zip(STATES, ids)]

# ------------------------------------------------------------- menu icons
# 16 px, every pixel either fully opaque or clear: menus that honour alpha
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


def _sprite(cv, rows, colours, x=0, y=0):
    """Hand-placed pixels, for shapes too small to draw as outlines: one
    string per row, each character a key of colours or '.' for clear."""
    for ch, col in colours.items():
        pts = [(x + i, y + j) for j, row in enumerate(rows)
               for i, c in enumerate(row) if c == ch]
        cv.fill(_pixels(pts, cv.w), col)


def _mirrored(cv):
    out = R.Canvas(cv.w, cv.h)
    for y in range(cv.h):
        for x in range(cv.w):
            s, d = (y * cv.w + x) * 4, (y * cv.w + cv.w - 1 - x) * 4
            out.px[d:d + 4] = cv.px[s:s + 4]
    return out


def _note(cv, x0, y0, x1, y1, fold=3):
    """An upright note: caption band, writing and a folded corner."""
    n = cv.w
    body = _hard(R.polygon([(x0, y0), (x1, y0), (x1, y1 - fold),
                            (x1 - fold, y1), (x0, y1)]), n)
    cv.fill(body, SHEET_EDGE)
    inner = _inside(body)
    cv.fill(inner, PAPER)
    cv.fill(inner.intersect(_hard(R.rect(x0, y0, x1, y0 + 3), n)),
            SHEET_BAND)
    for y in range(y0 + 5, y1 - 1, 2):
        right = x1 - 2 if y < y1 - fold - 1 else x1 - fold - 1
        cv.fill(R.rect(x0 + 2, y, right, y + 1), INK)
    cv.fill(R.polygon([(x1 - fold, y1 - fold), (x1, y1 - fold),
                       (x1 - fold, y1)]), FLAP_DARK)
    for i in range(fold):   # the same hard stair as the 16 px app icon
        cv.fill(R.rect(x1 - 1 - i, y1 - fold + i, x1 - i, y1 - fold + i + 1),
                SHEET_EDGE)


def draw_undo(cv):
    # The shaft bends round the right of a circle so the arrow reads as
    # "going back"; its head sits level with the upper run.
    n = cv.w
    cx, cy = 9.0, 8.0
    ring = R.circle(cx, cy, 5.0).hole(R.circle(cx, cy, 3.0))
    shaft = (_hard(ring, n).intersect(_mask(lambda x, y: x > cx, n))
             .union(_hard(R.rect(4, cy - 5, cx, cy - 3), n))
             .union(_hard(R.rect(5, cy + 3, cx, cy + 5), n)))
    head = _hard(R.polygon([(1, cy - 4), (5, cy - 8), (5, cy)]), n)
    _outlined(cv, shaft.union(head), BLUE, BLUE_DARK)


def draw_redo(cv):
    tmp = R.Canvas(cv.w, cv.h)
    draw_undo(tmp)
    cv.draw(_mirrored(tmp))


def draw_scissors(cv):
    n = cv.w
    for sx in (-1, 1):
        blade = R.polygon([(8 - sx * 4.5, 0.5), (8 - sx * 3.5, 0.5),
                           (8 + sx * 2.5, 10.5), (8 + sx * 1.0, 10.5)])
        _outlined(cv, _hard(blade, n), METAL, METAL_DARK)
    cv.fill(R.rect(7, 6, 9, 8), METAL_DARK)       # the screw
    for sx in (-1, 1):
        ring = _hard(R.circle(8 + sx * 3.5, 12.5, 3.4), n).subtract(
            _hard(R.circle(8 + sx * 3.5, 12.5, 1.6), n))
        cv.fill(ring, RED_DARK)
        cv.fill(_inside(ring), RED)


def _page(cv, x0, y0, x1, y1, fold=3):
    """A white page with a folded top right corner and grey writing."""
    n = cv.w
    body = _hard(R.polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold),
                            (x1, y1), (x0, y1)]), n)
    cv.fill(body, PAGE_EDGE)
    cv.fill(_inside(body), WHITE)
    cv.fill(R.polygon([(x1 - fold, y0), (x1 - fold, y0 + fold),
                       (x1, y0 + fold)]), PAGE_EDGE)
    for y in range(y0 + 3, y1 - 1, 2):
        cv.fill(R.rect(x0 + 2, y, x1 - 2, y + 1), PAGE_INK)


def draw_copy(cv):
    _page(cv, 1, 0, 10, 11)
    _page(cv, 6, 5, 15, 16)


def draw_paste(cv):
    cv.fill(R.rect(1, 2, 12, 16), WOOD_DARK)
    cv.fill(R.rect(2, 3, 11, 15), WOOD)
    cv.fill(R.rect(4, 0, 9, 5), METAL_DARK)
    cv.fill(R.rect(5, 1, 8, 4), METAL)
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
    _sprite(cv, A_ROWS, {"#": LETTER}, 0, 3)
    _sprite(cv, [".####.",
                 "....##",
                 ".#####",
                 "##..##",
                 "##..##",
                 ".##.##"], {"#": BLUE_DARK}, 9, 7)


def draw_text_colour(cv):
    _sprite(cv, A_ROWS, {"#": LETTER}, 4, 1)
    cv.fill(R.rect(1, 12, 15, 16), RED_DARK)
    cv.fill(R.rect(2, 13, 14, 15), RED)


def _magnifier(cv, cx, cy, r):
    n = cv.w
    d = r * 0.7071
    handle = R.line(cx + d, cy + d, cx + d + 4.5, cy + d + 4.5, 2.6)
    cv.fill(_hard(handle, n), METAL_DARK)
    lens = _hard(R.circle(cx, cy, r), n)
    cv.fill(lens, METAL_DARK)
    glass = _hard(R.circle(cx, cy, r - 1.4), n)
    cv.fill(glass, GLASS)
    cv.fill(_hard(R.circle(cx - 1.2, cy - 1.2, 1.1), n).intersect(glass),
            WHITE)


def draw_find(cv):
    _magnifier(cv, 6.5, 6.5, 5.5)


_DOWN = ["..###..",
         "..###..",
         "#######",
         ".#####.",
         "..###..",
         "...#..."]


def draw_find_next(cv):
    _magnifier(cv, 8.0, 5.5, 5.0)
    _sprite(cv, _DOWN, {"#": GREEN_DARK}, 0, 10)


def draw_find_prev(cv):
    _magnifier(cv, 8.0, 5.5, 5.0)
    _sprite(cv, _DOWN[::-1], {"#": GREEN_DARK}, 0, 10)


def draw_hide_note(cv):
    draw_sheet_dotted(cv, MENU_SHEET)


def draw_rollup_16(cv):
    draw_rollup(cv, 4, 2)


def draw_alarm_16(cv):
    draw_clock(cv, 8.0, 9.0)


def draw_palette_16(cv):
    n = cv.w
    board = _hard(R.ellipse(7.5, 8.0, 7.0, 5.5), n)
    hole = _hard(R.ellipse(5.0, 10.5, 1.4, 1.0), n)
    _outlined(cv, board, WOOD, WOOD_DARK)
    cv.fill(_grow(hole), WOOD_DARK)
    cv.erase(hole)
    for (x, y), c in zip(((3, 6), (6, 4), (9, 4), (12, 6)), PAINTS):
        cv.fill(R.rect(x - 1, y - 1, x + 1, y + 1), c)
    _outlined(cv, _hard(R.line(15.5, 15.5, 11.5, 11.5, 2.2), n),
              (170, 90, 30), (60, 30, 0))
    cv.fill(_hard(R.line(11.5, 11.5, 9.0, 9.0, 2.2), n), (150, 150, 160))
    cv.fill(_hard(R.line(9.5, 9.5, 7.5, 7.5, 1.6), n), BLACK)


def draw_note_cross(cv):
    draw_sheet(cv, MENU_SHEET)
    draw_cross(cv, 7, 8, 7)


def _pencil(cv, x, y, length):
    """A pencil on a 45 degree diagonal, point at (x, y), running down and
    to the right; two pixels wide like the cross's arms."""
    n = cv.w

    def band(i0, i1):
        return _pixels(_diagonal(x + i0, y + i0, i1 - i0, 1), n)
    whole = band(1, length).union(_pixels([(x, y)], n))
    cv.fill(_grow(whole), PENCIL_DARK)
    cv.fill(whole, PENCIL)
    cv.fill(_pixels([(x, y)], n), BLACK)
    cv.fill(band(1, 3), WOOD)
    cv.fill(band(length - 3, length - 2), METAL)
    cv.fill(band(length - 2, length), ERASER)


def draw_title(cv):
    draw_sheet(cv, MENU_SHEET)
    _pencil(cv, 6, 4, 9)


def _arrow_right(cv, x0, x1, y, fill, edge):
    """A level arrow from x0 to its point at x1 with a 45 degree head; the
    shaft is two pixels tall on rows y-1 and y."""
    n = cv.w
    shaft = _hard(R.rect(x0, y - 1, x1 - 3, y + 1), n)
    head = _hard(R.polygon([(x1 - 4, y - 4), (x1, y), (x1 - 4, y + 4)]), n)
    _outlined(cv, shaft.union(head), fill, edge)


def draw_import(cv):
    _note(cv, 5, 1, 16, 15)
    _arrow_right(cv, 0, 11, 8, GREEN, GREEN_DARK)


def draw_export(cv):
    _note(cv, 0, 1, 11, 15)
    _arrow_right(cv, 5, 16, 8, GREEN, GREEN_DARK)


def draw_mail(cv):
    _note(cv, 3, 0, 13, 11)
    _sprite(cv, ["################",
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
    n = cv.w
    front = R.Mask(n, n)
    for d in STACK[::-1]:
        m = _hard(R.rect(d, d, d + 10, d + 10), n)
        cv.fill(_rim_dots(m).subtract(_inside(front)), OUTLINE)
        front = front.union(m)


def draw_globe(cv):
    n = cv.w
    disc = _hard(R.circle(8, 8, 7.0), n)
    cv.fill(disc, BLUE_DARK)
    sea = _inside(disc)
    cv.fill(sea, BLUE)
    land = _pixels([(x, y) for y, row in enumerate([
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
        "................"]) for x, c in enumerate(row) if c == "#"], n)
    cv.fill(land.intersect(sea), GREEN)


def _disc_glyph(cv, rows, face, edge, ink, x, y):
    n = cv.w
    disc = _hard(R.circle(8, 8, 7.5), n)
    cv.fill(disc, edge)
    cv.fill(_inside(disc), face)
    _sprite(cv, rows, {"#": ink}, x, y)


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
    n = cv.w
    ring = _hard(R.circle(8, 9, 6.5), n).subtract(
        _hard(R.circle(8, 9, 4.5), n)).subtract(
        _hard(R.polygon([(8, 9), (3, 0), (13, 0)]), n))
    bar = _hard(R.rect(7, 1, 9, 9), n)
    cv.fill(ring.union(bar), RED)


def draw_check(cv):
    _sprite(cv, ["..........#",
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
    n = cv.w
    _note(cv, 3, 0, 13, 11)
    bin_ = _hard(R.polygon([(2, 7), (14, 7), (13, 16), (3, 16)]), n)
    cv.fill(bin_, METAL_DARK)
    cv.fill(_inside(bin_), BIN)
    for x in (5, 8, 11):                      # the ribs of the bin
        cv.fill(R.rect(x, 9, x + 1, 15), METAL_DARK)
    cv.fill(R.rect(1, 6, 15, 9), METAL_DARK)  # the rim
    cv.fill(R.rect(2, 7, 14, 8), METAL)


def draw_agenda(cv):
    """A calendar page: a red band with two rings over a grid of days,
    one of them marked."""
    n = cv.w
    page = _hard(R.rect(1, 2, 15, 16), n)
    cv.fill(page, PAGE_EDGE)
    cv.fill(_inside(page), WHITE)
    cv.fill(R.rect(2, 3, 14, 6), RED)
    for x in (4, 11):
        cv.fill(R.rect(x, 0, x + 1, 4), METAL_DARK)
    for y in (7, 10, 13):
        for x in (3, 6, 9, 12):
            cv.fill(R.rect(x, y, x + 2, y + 2), PAGE_INK)
    cv.fill(R.rect(9, 10, 11, 12), BLUE)


def draw_start_with_windows(cv):
    """A note with a green power sign, the exit sign in the colour of go,
    in a round gap cut out of the note's corner."""
    n = cv.w
    _note(cv, 0, 0, 11, 14)
    cx, cy = 11.0, 11.0
    ring = (_hard(R.circle(cx, cy, 5.0), n)
            .subtract(_hard(R.circle(cx, cy, 3.0), n))
            .subtract(_hard(R.polygon([(cx, cy), (cx - 3.5, cy - 6),
                                       (cx + 3.5, cy - 6)]), n)))
    sign = ring.union(_hard(R.rect(cx - 1, cy - 6, cx + 1, cy), n))
    gap = _hard(R.circle(cx, cy, 6.0), n)
    cv.fill(_grow(gap).intersect(cv.alpha_mask()), SHEET_EDGE)
    cv.erase(gap)
    cv.fill(sign, GREEN)


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
    (224, draw_start_with_windows),
]


def menu_canvas(draw):
    cv = R.Canvas(ICON, ICON)
    draw(cv)
    return _solid(cv)


def _icon_maker(draw, rid):
    def make():
        return "icon%d.ico" % rid, R.ico([menu_canvas(draw)])
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
    n = cv.w
    L, T, Rr, B, f = 1, 2, 15, 15, 5
    body = _hard(_note_outline(L, T, Rr, B, f), n)
    cv.fill(body, VGA_OLIVE)
    cv.fill(_inside(body), VGA_YELLOW)
    cv.fill(R.rect(L + 1, T + 4, Rr - 1, T + 5), VGA_OLIVE)   # under the band
    for y, right in ((9, 13), (11, 13), (13, 9)):
        cv.fill(R.rect(3, y, right, y + 1), VGA_GREY)
    cv.fill(_hard(R.polygon([(Rr, B - f), (Rr - f, B), (Rr - f, B - f)]), n),
            VGA_SILVER)
    x, y = Rr - f, B - f            # light catching the curl
    cv.fill(_pixels([(x, y), (x + 1, y), (x, y + 1)], n), VGA_WHITE)
    for i in range(f):
        cv.fill(R.rect(Rr - 1 - i, B - f + i, Rr - i, B - f + i + 1),
                VGA_OLIVE)
    _sprite(cv, [".rr.",
                 "rwrr",
                 "rrrm",
                 ".mm."], {"r": VGA_RED, "w": VGA_WHITE, "m": VGA_MAROON},
            6, 1)


def draw_speaker(cv):
    n = cv.w
    box = _hard(R.rect(1, 5, 5, 11), n)
    cone = _hard(R.polygon([(4, 5), (9, 1), (9, 15), (4, 11)]), n)
    body = box.union(cone)
    cv.fill(body, VGA_BLACK)
    cv.fill(_inside(box), VGA_GREY)
    cv.fill(_inside(cone), VGA_SILVER)
    cv.fill(_inside(cone).intersect(_hard(R.rect(5, 8, 9, 16), n)),
            VGA_GREY)
    for r in (3.5, 6.0):          # two sound waves round the cone's mouth
        wave = (_hard(R.circle(9, 8, r + 0.6), n)
                .subtract(_hard(R.circle(9, 8, r - 0.6), n))
                .intersect(_mask(lambda x, y, r=r:
                                 x > 10.5 and abs(y - 8) < r * 0.8, n)))
        cv.fill(wave, VGA_NAVY)


def draw_submenu_mark(cv):
    """A small black triangle pointing right, 4 x 7 pixels in the top
    left corner; the rest of the icon stays clear."""
    _sprite(cv, ["#...",
                 "##..",
                 "###.",
                 "####",
                 "###.",
                 "##..",
                 "#..."], {"#": BLACK})


def tray_icon():
    return "icon147.ico", R.ico([menu_canvas(draw_tray_note)], bpp=4)


def speaker_icon():
    return "icon140.ico", R.ico([menu_canvas(draw_speaker)], bpp=4)


def submenu_icon():
    return "icon152.ico", R.ico([menu_canvas(draw_submenu_mark)])


def about_icon():
    return "icon209.ico", R.ico([note_icon(32), note_16()])


ARTWORK = ([app_icon, logo_banner, about_logo, about_icon, tray_icon,
            speaker_icon, submenu_icon]
           + CAPTION_BITMAPS + MENU_ICON_FILES + [sound.alarm_wave])


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_art.py <outdir>\n")
        return 2
    outdir = argv[1]
    os.makedirs(outdir, exist_ok=True)
    for make in ARTWORK:
        name, data = make()
        if R.write_if_changed(os.path.join(outdir, name), data):
            print("make_art: wrote " + name)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
