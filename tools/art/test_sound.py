"""Checks on the alarm sound as the program's player will read it."""

import math
import os
import struct
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import make_art as M  # noqa: E402
import sound as S  # noqa: E402


def chunks(data):
    out, i = {}, 12
    while i < len(data):
        size = struct.unpack("<I", data[i + 4:i + 8])[0]
        out[data[i:i + 4]] = data[i + 8:i + 8 + size]
        i += 8 + size + (size & 1)
    return out


def dbfs(samples):
    return 20 * math.log10(max(1, max(abs(v) for v in samples)) / 32768)


class AlarmWave(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.name, cls.data = S.alarm_wave()
        cls.pcm = S.chime()
        cls.c = chunks(cls.data)
        cls.played = S.decode(cls.c[b"data"], len(cls.pcm))

    def test_header(self):
        self.assertIn(S.alarm_wave, M.ARTWORK)
        self.assertEqual(self.name, "wave158.wav")
        d = self.data
        self.assertEqual((d[:4], d[8:12]), (b"RIFF", b"WAVE"))
        self.assertEqual(struct.unpack("<I", d[4:8])[0], len(d) - 8)
        fmt = self.c[b"fmt "]
        self.assertEqual(struct.unpack("<HHIIHHHHH", fmt[:22]),
                         (2, 1, 22050, 11156, 512, 4, 32, 1012, 7))
        self.assertEqual(struct.unpack("<14h", fmt[22:]),
                         (256, 0, 512, -256, 0, 0, 192, 64,
                          240, 0, 460, -208, 392, -232))
        self.assertEqual(struct.unpack("<I", self.c[b"fact"])[0], 22060)
        self.assertEqual(len(self.c[b"data"]), 21 * 512 + 410)

    def test_decodes_close_to_the_chime(self):
        noise = sum((a - b) ** 2 for a, b in zip(self.pcm, self.played))
        snr = 10 * math.log10(sum(v * v for v in self.pcm) / noise)
        self.assertGreater(snr, 30)
        self.assertAlmostEqual(dbfs(self.played), -6, delta=0.5)

    def test_quiet_at_the_loop_point(self):
        ms = 22050 // 1000
        self.assertLess(dbfs(self.played[:2 * ms]), -50)
        self.assertLess(dbfs(self.played[-5 * ms:]), -50)

    def test_same_bytes_every_run(self):
        self.assertEqual(S.alarm_wave()[1], self.data)


class BlockLayout(unittest.TestCase):
    def test_read_by_hand(self):
        # An encoder and decoder agreeing on the wrong sample or nibble
        # order would still round-trip, so pin the order down here.
        block = struct.pack("<Bhhh", 0, 16, 100, 50) + bytes([0x1F])
        self.assertEqual(S.decode(block, 4), [50, 100, 116, 100])
