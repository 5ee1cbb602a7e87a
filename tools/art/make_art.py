#!/usr/bin/env python3
"""Draws Pinvel's icons and bitmaps into the folder given on the command line.

Run by the build as:  python3 tools/art/make_art.py <outdir>
Files whose bytes did not change are left alone, so the resource compiler
only reruns when the artwork really changed.

To add an image, write a function returning (file name, bytes) and list it
in ARTWORK.
"""

import math
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree clean during builds
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import raster as R  # noqa: E402

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


def word_path(text, x, baseline):
    """Lay out text with its left edge at x; glyph origins are rounded to
    whole pixels so every stem lands on the grid."""
    out = R.Path()
    pen = float(x)
    for ch in text:
        shape, width = GLYPHS[ch]()
        lsb, rsb = BEARINGS[ch]
        ox = round(pen + lsb)
        out = out + shape.transformed((1, 0, 0, -1, ox, baseline))
        pen = ox + width + rsb
    return out, pen - x


def logo_banner():
    W, H = 150, 43
    cv = R.Canvas(W, H, DIALOG_FACE)
    _, text_w = word_path("Pinvel", 0, 0)
    note_S, gap = 42, 7
    note_w = round(40 * note_S / 48.0)          # body plus shadow
    left = (W - (note_w + gap + text_w)) // 2 - round(4 * note_S / 48.0)
    draw_note(cv, note_S, left, -1)
    text_x = left + round(4 * note_S / 48.0) + note_w + gap
    baseline = 32
    text, _ = word_path("Pinvel", text_x, baseline)
    m = text.mask(W, H)
    cv.fill(m.shifted(1.0, 1.0).blurred(0.7), SHADOW, 0.30)
    cv.fill(m, R.linear_gradient(0, baseline - CAP, 0, baseline,
                                 [(0.0, TITLE_TOP), (1.0, TITLE_BOTTOM)]))
    return "bitmap213.bmp", R.bmp24(cv, DIALOG_FACE)


# ---------------------------------------------------------- caption buttons
# Six buttons on a note's caption, each in three states.  The caption takes
# the note's edge colour, which can be anything, so the normal state keys
# its background out and every symbol gets a dark outline that stands out
# against light and mid-tone captions alike.

BTN = 20
KEY = (255, 0, 255)             # drawn see-through by the caption painter
TEAL = (101, 188, 183)          # hover and pressed face
WHITE = (255, 255, 255)
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


def _mask(fn):
    """A hard 0/1 mask from a test on pixel centres."""
    return R.Mask(BTN, BTN, [1.0 if fn(x + 0.5, y + 0.5) else 0.0
                             for y in range(BTN) for x in range(BTN)])


def _hard(path):
    """Half-covered pixels or more count as inside, so shapes keep their
    size but lose the soft rim that would have to be blended with
    something: the caption colour is not known when these are drawn."""
    return R.Mask(BTN, BTN, [1.0 if v >= 0.5 else 0.0
                             for v in path.mask(BTN, BTN).data])


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
    """m without its border pixels (those with a 4-neighbour outside)."""
    return m.subtract(_grow(R.Mask(m.w, m.h, [1.0 - v for v in m.data])))


def _outlined(cv, m, fill, edge):
    cv.fill(_grow(m), edge)
    cv.fill(m, fill)


def _pixels(pts):
    pts = set(pts)
    return R.Mask(BTN, BTN, [1.0 if (i % BTN, i // BTN) in pts else 0.0
                             for i in range(BTN * BTN)])


def _diagonal(x, y, n, dx):
    """A two-pixel-wide 45 degree band of n rows from (x, y) downwards,
    leaning right (dx 1) or left (dx -1)."""
    return [(x + dx * i + k, y + i) for i in range(n) for k in (0, 1)]


# The note sheet is square like the app's notes, tilted by edges that run
# exactly one pixel over for every four along, so every stair is the same.
SHEET_O, SHEET_U, SHEET_V = (2.5, 5.45), (12.0, -3.0), (3.0, 12.0)
SHEET_SIDE = math.hypot(*SHEET_U)


def _to_sheet(x, y):
    """Pixel position to distances along the sheet's top and left edges."""
    px, py = x - SHEET_O[0], y - SHEET_O[1]
    return ((px * SHEET_U[0] + py * SHEET_U[1]) / SHEET_SIDE,
            (px * SHEET_V[0] + py * SHEET_V[1]) / SHEET_SIDE)


def _sheet_mask():
    (ox, oy), (ux, uy), (vx, vy) = SHEET_O, SHEET_U, SHEET_V
    return _hard(R.polygon([(ox, oy), (ox + ux, oy + uy),
                            (ox + ux + vx, oy + uy + vy), (ox + vx, oy + vy)]))


def draw_sheet(cv):
    m = _sheet_mask()
    body = _inside(m)
    cv.fill(m, SHEET_EDGE)
    cv.fill(body, PAPER)
    cv.fill(body.intersect(_mask(lambda x, y: _to_sheet(x, y)[1] < 3.6)),
            SHEET_BAND)
    # One pixel per column, so a writing line neither breaks up nor
    # doubles where it steps.
    slant = SHEET_V[1] / SHEET_SIDE
    for v, right in ((5.6, 9.6), (7.8, 9.6), (10.0, 6.6)):
        def on(x, y, v=v, right=right):
            a, b = _to_sheet(x, y)
            return 2.0 <= a < right and -slant / 2 <= b - v < slant / 2
        cv.fill(body.intersect(_mask(on)), INK)


def draw_sheet_dotted(cv):
    """Every other pixel of the sheet's rim, taken in order round it, so
    the dots stay evenly spaced through the stairs."""
    m = _sheet_mask()
    left = {(i % BTN, i // BTN) for i, v in
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
    cv.fill(_pixels(order[::2]), OUTLINE)


def draw_cross(cv, x=10, y=10, n=7):
    """A red X over the sheet's lower right; n odd so the arms cross on a
    whole two-by-two block."""
    _outlined(cv, _pixels(_diagonal(x, y, n, 1)
                          + _diagonal(x + n - 1, y, n, -1)), RED, RED_DARK)


def draw_clock(cv):
    cx, cy = 10.0, 11.0
    for sx in (-1, 1):            # a bell above and a leg below each side
        bell = R.circle(cx + sx * 5.0, cy - 6.0, 2.6)
        _outlined(cv, _hard(bell), BLUE, BLUE_DARK)
        leg = R.line(cx + sx * 3.5, cy + 4.0, cx + sx * 5.5, cy + 6.5, 1.6)
        cv.fill(_hard(leg), BLUE_DARK)
    cv.fill(R.rect(cx - 1, cy - 8, cx + 1, cy - 6), BLUE_DARK)
    body = _hard(R.circle(cx, cy, 6.0))
    _outlined(cv, body, BLUE, BLUE_DARK)
    # A light crescent on the upper left of the case makes it look round.
    shine = (R.circle(cx - 1.5, cy - 1.8, 4.6).mask(BTN, BTN)
             .subtract(R.circle(cx, cy, 4.6).mask(BTN, BTN)))
    cv.fill(shine.intersect(_inside(body)), BLUE_LIGHT, 0.8)
    cv.fill(_hard(R.circle(cx, cy, 4.0)), WHITE)
    cv.fill(R.rect(cx - 1, cy - 3, cx, cy + 1), (0, 0, 0))
    cv.fill(R.rect(cx - 1, cy, cx + 2, cy + 1), (0, 0, 0))
    cv.fill(R.rect(cx - 1, cy, cx, cy + 1), RED)      # the hands' pivot


def draw_palette(cv):
    board = _hard(R.ellipse(10.0, 10.5, 8.0, 6.0))
    hole = _hard(R.ellipse(7.0, 13.0, 1.6, 1.2))
    _outlined(cv, board, WOOD, WOOD_DARK)
    cv.fill(_grow(hole), WOOD_DARK)
    cv.erase(hole)
    for (x, y, c) in ((5, 8, RED), (8, 6, (255, 224, 0)), (12, 6, BLUE),
                      (15, 8, (40, 170, 40))):
        cv.fill(R.rect(x - 1, y - 1, x + 1, y + 1), c)
    # The brush crosses the board from the lower right, tip to the centre.
    handle = R.line(18.0, 17.0, 13.0, 12.0, 2.2)
    _outlined(cv, _hard(handle), (170, 90, 30), (60, 30, 0))
    cv.fill(_hard(R.line(13.5, 12.5, 10.5, 9.5, 2.2)), (150, 150, 160))
    cv.fill(_hard(R.line(11.0, 10.0, 9.0, 8.0, 1.6)), (0, 0, 0))


def draw_rollup(cv, head=4):
    L, T, Rr, B = 3, 3, 17, 17
    cv.fill(R.rect(L, T, Rr, B), OUTLINE)
    cv.fill(R.rect(L + 1, T + 1, Rr - 1, B - 1), PAPER)
    cv.fill(R.rect(L + 1, T + 1, Rr - 1, T + 3), R.linear_gradient(
        L, 0, Rr, 0, [(0.0, TITLE_BOTTOM), (1.0, TITLE_LIGHT)]))
    # Tips on opposite corners of a square keep the shaft a true 45.
    (tx, ty), (bx, by) = (14, 7), (6, 15)
    n = by - ty
    pts = _diagonal(bx + n - 1, by - n + 1, n, -1)
    for r in range(head):
        pts += [(tx - j, ty + r) for j in range(head - r)]
        pts += [(bx + j, by - r) for j in range(head - r)]
    _outlined(cv, _pixels(pts), ORANGE, ORANGE_DARK)


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

ARTWORK = [app_icon, logo_banner] + CAPTION_BITMAPS


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
