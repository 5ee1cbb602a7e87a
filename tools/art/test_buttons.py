"""Checks on the caption button bitmaps as the program will load them."""

import contextlib
import io
import os
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import make_art as M  # noqa: E402

KEY = (255, 0, 255)
TEAL = (101, 188, 183)


def read_bmp(data):
    """(width, height, bpp, rows of (r, g, b) top-down) of a 24-bit BMP."""
    off = struct.unpack("<I", data[10:14])[0]
    w, h, _, bpp = struct.unpack("<iiHH", data[18:30])
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in range(h - 1, -1, -1):
        o = off + y * stride
        rows.append([tuple(data[o + 3 * x:o + 3 * x + 3][::-1])
                     for x in range(w)])
    return w, h, bpp, rows


def ring(rows):
    n = len(rows)
    return [rows[y][x] for y in range(n) for x in range(n)
            if x in (0, n - 1) or y in (0, n - 1)]


class CaptionButtons(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with tempfile.TemporaryDirectory() as d:
            with contextlib.redirect_stdout(io.StringIO()):
                M.main(["make_art.py", d])
            cls.files = {}
            for _, ids in M.CAPTION_BUTTONS:
                for state, rid in zip(M.STATES, ids):
                    with open(os.path.join(d, "bitmap%d.bmp" % rid),
                              "rb") as f:
                        cls.files[rid] = (state, read_bmp(f.read()))

    def test_every_state_has_its_own_20px_24bit_file(self):
        self.assertEqual(len(self.files), 3 * len(M.CAPTION_BUTTONS))
        for rid, (_, (w, h, bpp, _)) in self.files.items():
            self.assertEqual((w, h, bpp), (20, 20, 24), rid)

    def test_normal_keys_only_the_background_and_has_no_pink_fringe(self):
        for rid, (state, (_, _, _, rows)) in self.files.items():
            if state != "normal":
                continue
            self.assertEqual(set(ring(rows)), {KEY}, rid)
            symbol = [p for row in rows for p in row if p != KEY]
            self.assertGreater(len(symbol), 15, rid)
            pink = [p for p in symbol
                    if p[0] > 200 and p[1] < 60 and p[2] > 200]
            self.assertEqual(pink, [], rid)

    def test_hover_and_pressed_are_opaque_teal_faces(self):
        for rid, (state, (_, _, _, rows)) in self.files.items():
            if state == "normal":
                continue
            self.assertNotIn(KEY, [p for row in rows for p in row], rid)
            for x, y in ((0, 0), (19, 0), (0, 19), (19, 19)):
                self.assertEqual(rows[y][x], TEAL, (rid, x, y))

    def test_hover_face_brightens_towards_the_centre(self):
        face = M.button_face("hover")
        centre, corner = face.pixel(10, 10), face.pixel(0, 0)
        self.assertGreater(sum(centre[:3]), sum(corner[:3]) + 150)
        self.assertGreater(sum(face.pixel(5, 5)[:3]), sum(corner[:3]))

    def test_three_states_show_the_same_symbol(self):
        for _, ids in M.CAPTION_BUTTONS:
            normal, hover, pressed = (self.files[rid][1][3] for rid in ids)
            for y in range(20):
                for x in range(20):
                    if normal[y][x] != KEY:
                        self.assertEqual(hover[y][x], normal[y][x],
                                         (ids, x, y))
                        self.assertEqual(pressed[y][x], normal[y][x],
                                         (ids, x, y))


if __name__ == "__main__":
    unittest.main()
