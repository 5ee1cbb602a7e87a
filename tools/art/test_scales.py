"""The images at 100 % stay as they were, every scale is embedded, and the
scaling helpers keep shapes crisp."""

import hashlib
import math
import os
import re
import struct
import sys
import unittest
from unittest import mock

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import make_art as M  # noqa: E402
import raster as R  # noqa: E402
import scaled as sc  # noqa: E402
from icoread import read_ico  # noqa: E402
from test_buttons import artwork, read_bmp  # noqa: E402

# sha256 (first 12 digits) of each 100 % bitmap, and of each icon's images
# that existed before the other scales were added (name@size).
BEFORE = {
    "bitmap141.bmp": "dd3831f3704b", "bitmap142.bmp": "ae921c87c36e",
    "bitmap143.bmp": "22032c1eba5c", "bitmap193.bmp": "6347433dcb63",
    "bitmap194.bmp": "716a06f06eff", "bitmap195.bmp": "4669e2d617c9",
    "bitmap196.bmp": "4e62a2f174ad", "bitmap197.bmp": "062f44360f72",
    "bitmap198.bmp": "1716cc6bb932", "bitmap199.bmp": "cec86098ae70",
    "bitmap200.bmp": "76f21b528d72", "bitmap201.bmp": "f2de0325edd7",
    "bitmap202.bmp": "2026515fec8d", "bitmap203.bmp": "aedf12e6581e",
    "bitmap204.bmp": "b3eb54c6f350", "bitmap208.bmp": "be903d1678a6",
    "bitmap213.bmp": "f030f6d43bc0", "bitmap216.bmp": "f294fd08afb1",
    "bitmap217.bmp": "8538c83065ce", "bitmap218.bmp": "b5d7ba2f3dfe",
    "icon128.ico@16": "622bf12d8bf9", "icon128.ico@32": "e06462a8dafc",
    "icon128.ico@48": "c7108540d6db", "icon140.ico@16": "22199e34533d",
    "icon147.ico@16": "3c5b0725cac6", "icon148.ico@16": "863775e74850",
    "icon150.ico@16": "69bbeee1e3b3", "icon152.ico@16": "6c10185aa231",
    "icon157.ico@16": "c842035e3ac6", "icon159.ico@16": "d5e79bc587d5",
    "icon164.ico@16": "b71efef1a6cd", "icon165.ico@16": "9c1411a8456f",
    "icon166.ico@16": "a9b9c4a4922a", "icon167.ico@16": "790a0f407ae8",
    "icon168.ico@16": "4902584187e1", "icon169.ico@16": "e2b91af9bb51",
    "icon170.ico@16": "cc9587cf7ee0", "icon171.ico@16": "0ac1666a46b2",
    "icon172.ico@16": "75ef17fb1257", "icon174.ico@16": "d7407dedd798",
    "icon175.ico@16": "22fd245f756d", "icon176.ico@16": "c24141e7ae65",
    "icon177.ico@16": "dcee5274523a", "icon178.ico@16": "1c2fa6f8cf29",
    "icon179.ico@16": "f9b566c064c2", "icon181.ico@16": "92a172b4c7c1",
    "icon183.ico@16": "037c91cd05c9", "icon184.ico@16": "66bffe9ce21b",
    "icon185.ico@16": "d1fb86cda85f", "icon186.ico@16": "f1af5cc5f89e",
    "icon187.ico@16": "489662b84c71", "icon209.ico@32": "e06462a8dafc",
    "icon209.ico@16": "622bf12d8bf9", "icon210.ico@16": "7ee1442c540d",
    "icon215.ico@16": "0687f874e50a", "icon221.ico@16": "b1780fb47d3b",
    "icon222.ico@16": "dfa753fe785e", "icon223.ico@16": "cf64deae5679",
    "icon224.ico@16": "eddb2edfde74"}


SCALED_LOGOS = ["bitmap%d.bmp" % sc.scaled_id(rid, step)
                for rid in M.LOGOS for step in sc.STEPS[1:]]
_plain = {}


def plain_artwork():
    """Every file as it was stored before the larger images were packed:
    each icon image a bitmap, each bitmap 24 bits."""
    if not _plain:
        with mock.patch.multiple(M, SMALL_DIB=None, LARGE_DIB=None,
                                 bitmap_writer=lambda k: R.bmp24,
                                 logo_writer=lambda k: R.bmp24):
            _plain.update(make() for make in M.ARTWORK)
    return _plain


def digest(data):
    return hashlib.sha256(data).hexdigest()[:12]


def ico_images(data):
    """size -> the bytes of that image, as stored in the .ico."""
    out = {}
    for i in range(struct.unpack("<H", data[4:6])[0]):
        w, _, _, _, _, _, size, off = struct.unpack(
            "<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
        out[w or 256] = data[off:off + size]
    return out


class Scales(unittest.TestCase):
    def test_images_at_100_percent_are_unchanged(self):
        made = plain_artwork()
        for key, want in BEFORE.items():
            name, _, size = key.partition("@")
            data = ico_images(made[name])[int(size)] if size else made[name]
            self.assertEqual(digest(data), want, key)

    def test_packed_files_hold_the_same_pixels(self):
        # Byte for byte where a system asks for them at 100 %: the 100 %
        # bitmaps, every 16 px icon image and the 32 px of icons shown large.
        plain = plain_artwork()
        for name, data in artwork().items():
            rid = int(re.sub(r"\D", "", name))
            if name in SCALED_LOGOS:
                continue
            if name.endswith(".bmp"):
                self.assertEqual(read_bmp(data)[::3],
                                 read_bmp(plain[name])[::3], name)
                if rid < 1000:
                    self.assertEqual(data, plain[name], name)
            elif name.endswith(".ico"):
                large = rid in M.LARGE_ICON_IDS + (128, 209)
                before, after = ico_images(plain[name]), ico_images(data)
                for old, new in zip(read_ico(plain[name]), read_ico(data)):
                    n = old["w"]
                    self.assertEqual((new["w"], new["rgba"]),
                                     (n, old["rgba"]), (name, n))
                    if n == 16 or n == 32 and large:
                        self.assertEqual(after[n], before[n], (name, n))
                self.assertEqual(len(after), len(before), name)

    def test_scaled_logos_in_256_colours_look_the_same(self):
        # 16 is a few steps of one channel, unseen in a picture's fringes;
        # a palette in the wrong order or of too few colours puts pixels
        # far off.
        plain = plain_artwork()
        for name in SCALED_LOGOS:
            rows = read_bmp(artwork()[name])[3]
            for y, row in enumerate(read_bmp(plain[name])[3]):
                for x, want in enumerate(row):
                    self.assertLessEqual(math.dist(rows[y][x], want), 16,
                                         (name, x, y))

    def test_resource_script_embeds_every_drawn_image(self):
        with open(os.path.join(HERE, "..", "..", "src", "res", "Pinvel.rc"),
                  encoding="utf-8") as f:
            named = set(re.findall(r'"((?:bitmap|icon|wave)\d+\.\w+)"',
                                   f.read()))
        self.assertEqual(named, set(artwork()))


class Cells(unittest.TestCase):
    def test_boxes_snap_to_whole_pixels_and_curves_scale_exactly(self):
        for k in sc.SCALES:
            cv = sc.Cell(sc.scaled_size(16, k), k)
            for box in (R.rect(3, 5, 12, 6), R.rect(1, 2, 15, 16)):
                self.assertEqual([v for v in cv.soft(box).data
                                  if 0.0 < v < 1.0], [], k)
            disc = sum(cv.soft(R.circle(8, 8, 5)).data)
            self.assertAlmostEqual(disc, math.pi * (5 * k) ** 2,
                                   delta=disc * 0.01)

    def test_scale2x_turns_a_stair_into_a_diagonal_not_blocks(self):
        self.assertEqual(sc.scale2x(["#..",
                                     ".#.",
                                     "..#"]), ["##....",
                                               "###...",
                                               ".###..",
                                               "..###.",
                                               "...###",
                                               "....##"])


if __name__ == "__main__":
    unittest.main()
