"""Checks for the artwork toolchain: run with  python3 -m unittest discover
-s tools/art  (or python3 tools/art/test_raster.py)."""

import math
import os
import random
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import make_art  # noqa: E402
import raster as R  # noqa: E402


def area(path, w=40, h=40):
    return sum(path.mask(w, h).data)


class Coverage(unittest.TestCase):
    def test_fractional_rect_area_is_exact(self):
        # Edges on quarter pixels hit the sub-scanline grid exactly, so any
        # off-by-one in span accumulation shows up as a wrong area.
        self.assertAlmostEqual(area(R.rect(2.25, 1.5, 7.5, 4.75)),
                               5.25 * 3.25, places=9)

    def test_pixel_aligned_edges_are_crisp(self):
        m = R.rect(2, 3, 6, 5).mask(8, 8)
        for y in range(8):
            for x in range(8):
                want = 1.0 if 2 <= x < 6 and 3 <= y < 5 else 0.0
                self.assertAlmostEqual(m.data[y * 8 + x], want, places=9)

    def test_circle_area(self):
        self.assertAlmostEqual(area(R.circle(20, 20, 9.3)),
                               math.pi * 9.3 ** 2, delta=0.3)

    def test_overlaps_union_whatever_the_input_winding(self):
        a = R.polygon([(0, 0), (10, 0), (10, 10), (0, 10)])
        b = R.polygon([(15, 5), (5, 5), (5, 15), (15, 15)][::-1])
        self.assertAlmostEqual(area(a + b), 175.0, places=6)
        self.assertLessEqual(max((a + b).mask(40, 40).data), 1.0)

    def test_mirrored_shape_still_unions(self):
        flipped = R.rect(0, 0, 10, 10).transformed((1, 0, 0, -1, 0, 20))
        self.assertAlmostEqual(area(flipped + R.rect(5, 5, 15, 15)), 175.0,
                               places=6)

    def test_hole_removes_counter(self):
        ring = R.circle(20, 20, 12).hole(R.circle(20, 20, 7))
        self.assertAlmostEqual(area(ring), math.pi * (144 - 49), delta=0.5)

    def test_evenodd_rule(self):
        two = R.rect(0, 0, 10, 10) + R.rect(0, 0, 10, 10)
        self.assertAlmostEqual(sum(two.mask(20, 20, "evenodd").data), 0.0)
        self.assertAlmostEqual(sum(two.mask(20, 20).data), 100.0)

    def test_shapes_past_the_border_are_clipped(self):
        self.assertAlmostEqual(area(R.rect(-30, -5, 2, 3), 10, 10), 6.0)
        self.assertAlmostEqual(area(R.rect(8, 8, 50, 50), 10, 10), 4.0)

    def test_thick_line_area(self):
        self.assertAlmostEqual(area(R.line(5, 5, 25, 5, 3)), 60.0, places=6)
        self.assertAlmostEqual(area(R.line(5, 5, 5, 25, 3, "square")), 69.0,
                               places=6)


class MaskOps(unittest.TestCase):
    def test_shift_moves_right_and_down(self):
        m = R.rect(2, 2, 3, 3).mask(6, 6).shifted(1, 2)
        self.assertAlmostEqual(m.data[4 * 6 + 3], 1.0)
        half = R.rect(2, 2, 3, 3).mask(6, 6).shifted(0.5, 0)
        self.assertAlmostEqual(half.data[2 * 6 + 2], 0.5)
        self.assertAlmostEqual(half.data[2 * 6 + 3], 0.5)

    def test_blur_keeps_mass_and_spreads(self):
        m = R.rect(9, 9, 11, 11).mask(20, 20)
        b = m.blurred(1.5)
        self.assertAlmostEqual(sum(b.data), 4.0, places=6)
        self.assertGreater(b.data[10 * 20 + 13], 0.0)
        self.assertLess(b.data[10 * 20 + 10], 1.0)


class Painting(unittest.TestCase):
    def test_over_and_unpremultiplied_readback(self):
        cv = R.Canvas(2, 1)
        cv.fill(R.rect(0, 0, 2, 1), (255, 0, 0), 0.5)
        self.assertEqual(cv.pixel(0, 0), (255, 0, 0, 128))
        cv.fill(R.rect(1, 0, 2, 1), (0, 0, 255))
        self.assertEqual(cv.pixel(1, 0), (0, 0, 255, 255))
        self.assertEqual(cv.flat_pixel(0, 0, (0, 0, 0)), (128, 0, 0))

    def test_gradient_runs_from_first_to_last_stop(self):
        g = R.linear_gradient(0, 0, 10, 0, [(0, (0, 0, 0)), (1, (200, 100, 0))])
        self.assertEqual(g(-5, 0)[:3], (0, 0, 0))
        self.assertEqual(g(5, 3)[:3], (100, 50, 0))
        self.assertEqual(g(99, 0)[:3], (200, 100, 0))


def dib(data, off):
    return struct.unpack("<IiiHHIIiiII", data[off:off + 40])


class Writers(unittest.TestCase):
    def test_bmp24_layout(self):
        cv = R.Canvas(5, 2, (0, 255, 0))
        cv.fill(R.rect(0, 0, 1, 1), (255, 0, 0))
        cv.erase(R.rect(4, 1, 5, 2))
        data = R.bmp24(cv, bg=(10, 20, 30))
        magic, size, _, _, off = struct.unpack("<2sIHHI", data[:14])
        hdr = dib(data, 14)
        self.assertEqual((magic, size, off), (b"BM", len(data), 54))
        self.assertEqual(hdr[:5], (40, 5, 2, 1, 24))
        self.assertEqual(hdr[6], 2 * 16)        # 15 bytes padded to 16
        rows = [data[off + 16 * i: off + 16 * i + 16] for i in range(2)]
        self.assertEqual(rows[1][:3], bytes((0, 0, 255)))   # top-left red
        self.assertEqual(rows[0][12:15], bytes((30, 20, 10)))  # erased -> bg
        self.assertEqual(rows[0][15:], b"\0")

    def test_bmp24_key_colour_is_exact(self):
        cv = R.Canvas(2, 1)
        cv.fill(R.rect(1, 0, 2, 1), (0, 0, 0), 0.9)
        data = R.bmp24(cv, bg=(192, 192, 192), key=(255, 0, 255))
        self.assertEqual(data[54:57], bytes((255, 0, 255)))
        self.assertEqual(data[57:60], bytes((19, 19, 19)))

    def test_ico_directory_pixels_and_mask(self):
        small = R.Canvas(16, 16)
        small.fill(R.rect(0, 0, 1, 1), (255, 0, 0), 0.5)
        small.fill(R.rect(15, 15, 16, 16), (0, 0, 255))
        data = R.ico([small, R.Canvas(48, 48)])
        self.assertEqual(struct.unpack("<HHH", data[:6]), (0, 1, 2))
        expect_off = 6 + 32
        for i, n in enumerate((16, 48)):
            w, h, _, _, planes, bpp, size, off = struct.unpack(
                "<BBBBHHII", data[6 + 16 * i: 22 + 16 * i])
            self.assertEqual((w, h, planes, bpp, off), (n, n, 1, 32,
                                                        expect_off))
            hdr = dib(data, off)
            self.assertEqual(hdr[1:5], (n, 2 * n, 1, 32))
            self.assertEqual(size, 40 + n * n * 4 + ((n + 31) // 32) * 4 * n)
            expect_off += size
        self.assertEqual(expect_off, len(data))
        off = struct.unpack("<I", data[18:22])[0] + 40
        bottom_right = off + 15 * 4
        top_left = off + 15 * 16 * 4
        self.assertEqual(data[bottom_right:bottom_right + 4],
                         bytes((255, 0, 0, 255)))
        self.assertEqual(data[top_left:top_left + 4], bytes((0, 0, 255, 128)))
        mask = off + 16 * 16 * 4            # rows of 4 bytes, bottom-up
        self.assertEqual(data[mask:mask + 4], bytes((0xFF, 0xFE, 0, 0)))
        # half-covered top-left pixel is at the threshold: kept opaque
        self.assertEqual(data[mask + 60:mask + 64], bytes((0x7F, 0xFF, 0, 0)))

    def test_ico_16_colours_packs_nibbles_and_blacks_out_clear_pixels(self):
        cv = R.Canvas(3, 2)
        cv.fill(R.rect(0, 0, 1, 1), (250, 250, 10))     # nearest: yellow
        cv.fill(R.rect(1, 0, 2, 1), (0, 0, 130))        # nearest: navy
        cv.fill(R.rect(2, 0, 3, 1), (255, 255, 255), 0.3)   # mostly clear
        cv.fill(R.rect(0, 1, 3, 2), (255, 0, 0))
        data = R.ico([cv], bpp=4)
        w, h, colours, _, planes, bpp, size, off = struct.unpack(
            "<BBBBHHII", data[6:22])
        self.assertEqual((w, h, colours, planes, bpp), (3, 2, 16, 1, 4))
        self.assertEqual(dib(data, off)[1:5], (3, 4, 1, 4))
        self.assertEqual(size, 40 + 64 + 2 * 4 + 2 * 4)
        self.assertEqual(off + size, len(data))
        pal = off + 40
        self.assertEqual(data[pal + 44:pal + 48], bytes((0, 255, 255, 0)))
        xor = pal + 64                      # rows of 4 bytes, bottom-up
        self.assertEqual(data[xor:xor + 4], bytes((0x99, 0x90, 0, 0)))
        self.assertEqual(data[xor + 4:xor + 8], bytes((0xB4, 0x00, 0, 0)))
        mask = xor + 8
        self.assertEqual(data[mask:mask + 8],
                         bytes((0, 0, 0, 0, 0x20, 0, 0, 0)))
        with self.assertRaises(ValueError):
            R.ico([cv], bpp=8)

    def test_quantized_picks_the_nearest_palette_colour(self):
        # The search stops early along green; stopping too soon maps a
        # colour to an entry that is close in green but not the closest.
        rnd = random.Random(7)
        palette = [tuple(rnd.randrange(256) for _ in range(3))
                   for _ in range(256)]
        nearest_of = R._Nearest(palette)
        for _ in range(2000):
            c = tuple(rnd.randrange(256) for _ in range(3))
            self.assertEqual(math.dist(palette[nearest_of(c)], c),
                             math.dist(palette[R.nearest(palette, c)], c), c)

    def test_write_if_changed_leaves_identical_files_alone(self):
        with tempfile.TemporaryDirectory() as d:
            p = os.path.join(d, "x.bin")
            self.assertTrue(R.write_if_changed(p, b"abc"))
            os.utime(p, (1000, 1000))
            self.assertFalse(R.write_if_changed(p, b"abc"))
            self.assertEqual(os.stat(p).st_mtime, 1000)
            self.assertTrue(R.write_if_changed(p, b"abd"))
            with open(p, "rb") as f:
                self.assertEqual(f.read(), b"abd")


class Artwork(unittest.TestCase):
    def test_outputs_have_the_sizes_the_resources_expect(self):
        with tempfile.TemporaryDirectory() as d:
            out = os.path.join(d, "new", "dir")
            self.assertEqual(make_art.main(["make_art.py", out]), 0)
            with open(os.path.join(out, "icon128.ico"), "rb") as f:
                ico = f.read()
            sizes = [ico[6 + 16 * i] for i in range(ico[4])]
            self.assertEqual(sizes, [16, 20, 24, 28, 32, 40, 48, 56, 64])
            with open(os.path.join(out, "bitmap213.bmp"), "rb") as f:
                self.assertEqual(dib(f.read(), 14)[1:5], (150, 43, 1, 24))
            stamp = os.stat(os.path.join(out, "icon128.ico")).st_mtime_ns
            make_art.main(["make_art.py", out])
            self.assertEqual(
                os.stat(os.path.join(out, "icon128.ico")).st_mtime_ns, stamp)

    def test_icon_sizes_have_opaque_body_and_clear_corners(self):
        for cv in ([make_art.note_small(k) for k in (1, 1.25, 1.5)]
                   + [make_art.note_icon(n) for n in (28, 32, 48, 64)]):
            self.assertEqual(cv.pixel(0, cv.h - 1)[3], 0, cv.w)
            self.assertEqual(cv.pixel(cv.w // 3, cv.h // 2)[3], 255, cv.w)


if __name__ == "__main__":
    unittest.main()
