"""Checks on the caption button bitmaps as the program will load them, at
every display scale."""

import os
import struct
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import make_art as M  # noqa: E402
import scaled as sc  # noqa: E402

KEY = (255, 0, 255)
TEAL = (101, 188, 183)
_made = {}


def artwork():
    """Every file the build embeds, by name; drawn once per test run."""
    if not _made:
        _made.update(make() for make in M.ARTWORK)
    return _made


def read_bmp(data):
    """(width, height, bpp, rows of (r, g, b) top-down) of an uncompressed
    BMP of 24 bits, or of 4 or 8 with a palette."""
    off = struct.unpack("<I", data[10:14])[0]
    w, h, _, bpp, compression = struct.unpack("<iiHHI", data[18:34])
    if compression:
        raise ValueError("compressed bitmap")
    palette = [tuple(data[p:p + 3][::-1]) for p in range(54, off, 4)]
    stride = ((w * bpp + 31) // 32) * 4
    rows = []
    for y in range(h - 1, -1, -1):
        o = off + y * stride
        if bpp == 24:
            rows.append([tuple(data[o + 3 * x:o + 3 * x + 3][::-1])
                         for x in range(w)])
        else:
            rows.append([palette[data[o + x] if bpp == 8 else
                                 data[o + x // 2] >> (0 if x & 1 else 4) & 15]
                         for x in range(w)])
    return w, h, bpp, rows


def ring(rows):
    n = len(rows)
    return [rows[y][x] for y in range(n) for x in range(n)
            if x in (0, n - 1) or y in (0, n - 1)]


def extent(cells):
    """Bounding box (x0, y0, x1, y1) and count of (x, y) cells."""
    xs, ys = [x for x, _ in cells], [y for _, y in cells]
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1), len(cells)


class CaptionButtons(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.files = {}      # (base id, step) -> (state, bmp)
        for step in sc.STEPS:
            for _, ids in M.CAPTION_BUTTONS:
                for state, rid in zip(M.STATES, ids):
                    name = "bitmap%d.bmp" % (rid + 1000 * step)
                    cls.files[rid, step] = (state,
                                            read_bmp(artwork()[name]))

    def test_every_state_and_scale_has_its_own_file(self):
        # 24 bits at 100 %, as it always was; a palette above
        self.assertEqual(len(self.files), 3 * 5 * len(M.CAPTION_BUTTONS))
        for (rid, step), (_, (w, h, bpp, _)) in self.files.items():
            n = (20, 25, 30, 35, 40)[step]
            self.assertEqual((w, h), (n, n), (rid, step))
            self.assertIn(bpp, (4, 8) if step else (24,), (rid, step))

    def test_normal_keys_only_the_background_and_has_no_pink_fringe(self):
        for key, (state, (w, _, _, rows)) in self.files.items():
            if state != "normal":
                continue
            self.assertEqual(set(ring(rows)), {KEY}, key)
            symbol = [p for row in rows for p in row if p != KEY]
            self.assertGreater(len(symbol), 15 * w / 20.0, key)
            pink = [p for p in symbol
                    if p[0] > 200 and p[1] < 60 and p[2] > 200]
            self.assertEqual(pink, [], key)

    def test_hover_and_pressed_are_opaque_teal_faces(self):
        for key, (state, (w, _, _, rows)) in self.files.items():
            if state == "normal":
                continue
            self.assertNotIn(KEY, [p for row in rows for p in row], key)
            for x, y in ((0, 0), (w - 1, 0), (0, w - 1), (w - 1, w - 1)):
                self.assertEqual(rows[y][x], TEAL, (key, x, y))

    def test_hover_face_brightens_towards_the_centre(self):
        for k in sc.SCALES:
            face = M.button_face("hover", k)
            c, corner = face.w // 2, face.pixel(0, 0)
            self.assertGreater(sum(face.pixel(c, c)[:3]),
                               sum(corner[:3]) + 150, k)
            self.assertGreater(sum(face.pixel(c // 2, c // 2)[:3]),
                               sum(corner[:3]), k)

    def test_three_states_show_the_same_symbol(self):
        for step in sc.STEPS:
            for _, ids in M.CAPTION_BUTTONS:
                normal, hover, pressed = (self.files[rid, step][1][3]
                                          for rid in ids)
                n = len(normal)
                for y in range(n):
                    for x in range(n):
                        if normal[y][x] != KEY:
                            self.assertEqual(hover[y][x], normal[y][x],
                                             (ids, step, x, y))
                            self.assertEqual(pressed[y][x], normal[y][x],
                                             (ids, step, x, y))

    def test_scaled_symbols_fill_the_cell_as_at_100_percent(self):
        # Catches a shape left at its 20 px place or size when the rest
        # of the symbol grew.
        for _, ids in M.CAPTION_BUTTONS:
            boxes = []
            for step in sc.STEPS:
                rows = self.files[ids[0], step][1][3]
                boxes.append(extent([(x, y) for y, row in enumerate(rows)
                                     for x, p in enumerate(row) if p != KEY]))
            box, count = boxes[0]
            for k, (scaled_box, scaled_count) in zip(sc.SCALES, boxes):
                for a, b in zip(box, scaled_box):
                    self.assertAlmostEqual(b / k, a, delta=1.2,
                                           msg=(ids, k, scaled_box))
                # dotted outlines keep one-pixel dots, so grow only by k
                self.assertTrue(0.5 < scaled_count / k ** 2 / count < 1.3,
                                (ids, k, scaled_count))


if __name__ == "__main__":
    unittest.main()
