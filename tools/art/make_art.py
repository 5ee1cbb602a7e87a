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


ARTWORK = [app_icon, logo_banner]


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
