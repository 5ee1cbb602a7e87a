"""Checks on the menu, tray and dialog icons and the About logo, read back
from the files the resource script embeds."""

import contextlib
import io
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import make_art as M  # noqa: E402
import raster as R  # noqa: E402
from icoread import read_ico  # noqa: E402
from test_buttons import read_bmp  # noqa: E402

# The resource ids the menus ask for; a dropped or renumbered drawing
# would otherwise only show up as a blank menu item.
MENU_IDS = (148, 150, 157, 159, 164, 165, 166, 167, 168, 169, 170, 171,
            172, 174, 175, 176, 177, 178, 179, 181, 183, 184, 185, 186,
            187, 210, 215, 221, 222, 223, 224)
SIXTEEN_COLOUR_IDS = (140, 147)


def opaque(image):
    return {(x, y) for y in range(image["h"]) for x in range(image["w"])
            if not image["clear"][y][x]}


class Icons(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with tempfile.TemporaryDirectory() as d:
            with contextlib.redirect_stdout(io.StringIO()):
                M.main(["make_art.py", d])
            cls.icons = {}
            for rid in MENU_IDS + SIXTEEN_COLOUR_IDS + (152, 209):
                with open(os.path.join(d, "icon%d.ico" % rid), "rb") as f:
                    cls.icons[rid] = read_ico(f.read())
            with open(os.path.join(d, "bitmap208.bmp"), "rb") as f:
                cls.logo = read_bmp(f.read())

    def test_menu_icons_are_one_crisp_16px_image_whose_mask_matches(self):
        for rid in MENU_IDS:
            images = self.icons[rid]
            self.assertEqual([(i["w"], i["h"], i["bpp"]) for i in images],
                             [(16, 16, 32)], rid)
            im = images[0]
            for y in range(16):
                for x in range(16):
                    a = im["rgba"][y][x][3]
                    self.assertIn(a, (0, 255), (rid, x, y))
                    self.assertEqual(im["clear"][y][x], a == 0, (rid, x, y))
            self.assertGreater(len(opaque(im)), 20, rid)

    def test_menu_icons_are_all_different(self):
        seen = {}
        for rid in MENU_IDS:
            key = str(self.icons[rid][0]["rgba"])
            self.assertNotIn(key, seen, (rid, seen.get(key)))
            seen[key] = rid

    def test_sixteen_colour_icons_hold_one_image_that_masks_cleanly(self):
        for rid in SIXTEEN_COLOUR_IDS:
            images = self.icons[rid]
            self.assertEqual(
                [(i["w"], i["h"], i["bpp"], i["colours"]) for i in images],
                [(16, 16, 4, 16)], rid)
            im = images[0]
            self.assertEqual(im["palette"], R.VGA16, rid)
            for y in range(16):
                for x in range(16):
                    if im["clear"][y][x]:   # else it XORs into the taskbar
                        self.assertEqual(im["index"][y][x], 0, (rid, x, y))
            self.assertGreater(len(opaque(im)), 40, rid)
            self.assertLess(len(opaque(im)), 256, rid)

    def test_sixteen_colour_drawings_need_no_colour_matching(self):
        for draw in (M.draw_tray_note, M.draw_speaker):
            cv = M.menu_canvas(draw)
            off = {cv.pixel(x, y)[:3] for y in range(16) for x in range(16)
                   if cv.pixel(x, y)[3]} - set(R.VGA16)
            self.assertEqual(off, set(), draw.__name__)

    def test_tray_note_is_mostly_yellow_with_a_dark_rim(self):
        im = self.icons[147][0]
        colours = [im["rgba"][y][x][:3] for (x, y) in opaque(im)]
        self.assertGreater(colours.count((255, 255, 0)), len(colours) // 3)
        # the rim is what separates the note from a light taskbar
        self.assertEqual(im["rgba"][8][1][:3], (128, 128, 0))

    def test_submenu_mark_is_a_4x7_triangle_in_the_top_left(self):
        images = self.icons[152]
        self.assertEqual([(i["w"], i["h"]) for i in images], [(16, 16)])
        want = {(x, y) for y in range(7) for x in range(4 - abs(y - 3))}
        self.assertEqual(opaque(images[0]), want)
        for (x, y) in want:
            self.assertEqual(images[0]["rgba"][y][x], (0, 0, 0, 255))

    def test_about_icon_has_32_and_16_px_images(self):
        self.assertEqual(sorted(i["w"] for i in self.icons[209]), [16, 32])
        for im in self.icons[209]:
            self.assertEqual(im["h"], im["w"])
            self.assertTrue(im["clear"][im["h"] - 1][0])
            self.assertFalse(im["clear"][im["h"] // 2][im["w"] // 3])

    def test_about_logo_is_24bit_on_white(self):
        w, h, bpp, rows = self.logo
        self.assertEqual((w, h, bpp), (172, 47, 24))
        for x, y in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
            self.assertEqual(rows[y][x], (255, 255, 255), (x, y))
        pixels = [p for row in rows for p in row]
        self.assertTrue(any(b > 100 and r < 40 for (r, g, b) in pixels))
        self.assertTrue(any(r > 240 and g > 240 and b < 200
                            for (r, g, b) in pixels))


if __name__ == "__main__":
    unittest.main()
