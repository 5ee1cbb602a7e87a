"""Checks on the menu, tray and dialog icons, the About logo and the
setup's pictures, read back from the files the art script writes."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import make_art as M  # noqa: E402
import raster as R  # noqa: E402
from icoread import read_ico  # noqa: E402
from test_buttons import artwork, extent, read_bmp  # noqa: E402

# The resource ids the menus ask for; a dropped or renumbered drawing
# would otherwise only show up as a blank menu item.
MENU_IDS = (148, 150, 157, 159, 164, 165, 166, 167, 168, 169, 170, 171,
            172, 174, 175, 176, 177, 178, 179, 181, 183, 184, 185, 186,
            187, 210, 215, 221, 222, 223, 224, 225, 226, 227, 228,
            229, 230, 231)
SIXTEEN_COLOUR_IDS = (140, 147)
MENU_SIZES = [16, 20, 24, 28, 32]      # 100 to 200 %


def opaque(image):
    return {(x, y) for y in range(image["h"]) for x in range(image["w"])
            if not image["clear"][y][x]}


class Icons(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.icons = {rid: read_ico(artwork()["icon%d.ico" % rid])
                     for rid in MENU_IDS + SIXTEEN_COLOUR_IDS + (152, 209)}

    def test_menu_icons_hold_a_crisp_image_per_scale_whose_mask_matches(self):
        for rid in MENU_IDS:
            images = self.icons[rid]
            large = [40, 48, 56, 64] if rid in M.DIALOG_ICON_IDS else []
            self.assertEqual([(i["w"], i["h"], i["bpp"]) for i in images],
                             [(n, n, 32) for n in MENU_SIZES + large], rid)
            for im in images:
                n = im["w"]
                for y in range(n):
                    for x in range(n):
                        a = im["rgba"][y][x][3]
                        self.assertIn(a, (0, 255), (rid, n, x, y))
                        self.assertEqual(im["clear"][y][x], a == 0,
                                         (rid, n, x, y))
                self.assertGreater(len(opaque(im)), 20 * n / 16.0, (rid, n))

    def test_scaled_menu_icons_fill_the_cell_as_at_16px(self):
        # Catches a shape left at its 16 px place or size.
        for rid in MENU_IDS + SIXTEEN_COLOUR_IDS + (152,):
            (box, count), *scaled = [extent(opaque(im))
                                     for im in self.icons[rid]]
            for n, (scaled_box, scaled_count) in zip(MENU_SIZES[1:], scaled):
                k = n / 16.0
                for a, b in zip(box, scaled_box):
                    self.assertAlmostEqual(b / k, a, delta=1.2,
                                           msg=(rid, n, scaled_box))
                self.assertTrue(0.5 < scaled_count / k ** 2 / count < 1.3,
                                (rid, n, scaled_count))

    def test_menu_icons_are_all_different(self):
        seen = {}
        for rid in MENU_IDS:
            key = str(self.icons[rid][0]["rgba"])
            self.assertNotIn(key, seen, (rid, seen.get(key)))
            seen[key] = rid

    def test_sixteen_colour_icons_mask_cleanly_at_every_scale(self):
        for rid in SIXTEEN_COLOUR_IDS:
            images = self.icons[rid]
            self.assertEqual(
                [(i["w"], i["h"], i["bpp"], i["colours"]) for i in images],
                [(n, n, 4, 16) for n in MENU_SIZES], rid)
            for im in images:
                n = im["w"]
                self.assertEqual(im["palette"], R.VGA16, rid)
                for y in range(n):
                    for x in range(n):
                        if im["clear"][y][x]:   # else it XORs into the taskbar
                            self.assertEqual(im["index"][y][x], 0,
                                             (rid, n, x, y))
                self.assertGreater(len(opaque(im)), 40 * n / 16.0, rid)
                self.assertLess(len(opaque(im)), n * n, rid)

    def test_sixteen_colour_drawings_need_no_colour_matching(self):
        for draw in (M.draw_tray_note, M.draw_speaker):
            for cv in M.menu_images(draw):
                off = {cv.pixel(x, y)[:3] for y in range(cv.h)
                       for x in range(cv.w) if cv.pixel(x, y)[3]}
                self.assertEqual(off - set(R.VGA16), set(),
                                 (draw.__name__, cv.w))

    def test_tray_note_is_mostly_yellow_with_a_dark_rim(self):
        im = self.icons[147][0]
        colours = [im["rgba"][y][x][:3] for (x, y) in opaque(im)]
        self.assertGreater(colours.count((255, 255, 0)), len(colours) // 3)
        # the rim is what separates the note from a light taskbar
        self.assertEqual(im["rgba"][8][1][:3], (128, 128, 0))

    def test_submenu_mark_is_a_black_triangle_in_the_top_left(self):
        images = self.icons[152]
        self.assertEqual([(i["w"], i["h"]) for i in images],
                         [(n, n) for n in MENU_SIZES])
        for im, w in zip(images, (4, 5, 6, 7, 8)):
            want = {(x, y) for y in range(2 * w - 1)
                    for x in range(w - abs(y - w + 1))}
            self.assertEqual(opaque(im), want, w)
            for (x, y) in want:
                self.assertEqual(im["rgba"][y][x], (0, 0, 0, 255))

    def test_about_icon_has_16_px_and_a_large_icon_per_scale(self):
        self.assertEqual(sorted(i["w"] for i in self.icons[209]),
                         [16, 32, 40, 48, 56, 64])
        for im in self.icons[209]:
            self.assertEqual(im["h"], im["w"])
            self.assertTrue(im["clear"][im["h"] - 1][0])
            self.assertFalse(im["clear"][im["h"] // 2][im["w"] // 3])

    def test_logos_have_a_bitmap_per_scale_on_their_dialogs_colour(self):
        # Sizes are the 100 % ones times the scale, halves rounded up.
        sizes = {208: [(172, 47), (215, 59), (258, 71), (301, 82), (344, 94)],
                 213: [(150, 43), (188, 54), (225, 65), (263, 75), (300, 86)]}
        for rid, bg in ((208, (255, 255, 255)), (213, M.DIALOG_FACE)):
            for step, size in enumerate(sizes[rid]):
                w, h, bpp, rows = read_bmp(
                    artwork()["bitmap%d.bmp" % (rid + 1000 * step)])
                # 256 chosen colours at the larger scales (test_scales)
                self.assertEqual((w, h, bpp), size + (8 if step else 24,),
                                 (rid, step))
                for x, y in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
                    self.assertEqual(rows[y][x], bg, (rid, step, x, y))
                pixels = [p for row in rows for p in row]
                # the blue word and the yellow note are both there
                self.assertTrue(any(b > 100 and r < 40
                                    for (r, g, b) in pixels), (rid, step))
                self.assertTrue(any(r > 240 and g > 240 and b < 200
                                    for (r, g, b) in pixels), (rid, step))

    def test_setup_pictures_fit_the_wizard_and_keep_its_lower_third_plain(self):
        made = dict(make() for make in M.SETUP_ARTWORK)
        pictures = {}
        for name, size in (("setup-wizard.bmp", (164, 314)),
                           ("setup-header.bmp", (150, 57))):
            w, h, bpp, rows = read_bmp(made[name])
            self.assertEqual((w, h, bpp), size + (24,), name)
            pixels = set(p for row in rows for p in row)
            # the note's paper and its red pin
            self.assertTrue(any(r > 240 and g > 240 and b < 200
                                for (r, g, b) in pixels), name)
            self.assertTrue(any(r > 150 and g < 60 for (r, g, b) in pixels),
                            name)
            pictures[name] = rows
        # the page's text may run beside the lower third at any size
        wizard = pictures["setup-wizard.bmp"]
        self.assertEqual({p for row in wizard[314 * 2 // 3:] for p in row},
                         {M.WIZARD_BG})
        header = pictures["setup-header.bmp"]
        self.assertEqual({p for row in header for p in row[:60]},
                         {(255, 255, 255)})


if __name__ == "__main__":
    unittest.main()
