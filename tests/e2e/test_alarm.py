"""An alarm fires from the real clock and the real timer: a note file with a daily
alarm for a coming minute, placed before start, brings its window up when that
minute begins."""
import os
import struct
import time
import unittest

import pinvel_e2e as e2e

OLE_EPOCH_DAYS = 25569  # 1899-12-30 to 1970-01-01


def note_with_daily_alarm(hour, minute):
    def string(b):
        return struct.pack("<I", len(b)) + b
    look = struct.pack("<IIIii4i", 0x00BDFFFF, 0x00808080, 0x007BDEFF, 2, 9, 100, 100, 400, 300)
    when = 27134 + (hour * 60 + minute) / 1440.0
    blocks = b""
    for kind, size in (("general", 10), ("daily", 10), ("weekly", 14), ("monthly", 14), ("yearly", 18)):
        for slot in range(6):
            enabled = kind == "daily" and slot == 0
            # sound off: the test machine has no sound card to speak of
            blocks += bytes([0, 1 if enabled else 0]) + struct.pack("<d", when if enabled else 27134.4375)
            blocks += b"\x00" * (size - 10)
    body = string(b"wake up") + string(b"tester") + struct.pack("<dd", 27134.4375, 27134.4375) + look + blocks
    return b"PINVL" + struct.pack("<I", 1) + body + string(b"{\\rtf1 alarm}")


class AlarmFromTheClock(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)

    def test_window_appears_when_the_minute_begins(self):
        now = time.time()
        # Start well inside a minute: the minute of start itself is never checked.
        if time.localtime(now).tm_sec > 40:
            time.sleep(61 - time.localtime(now).tm_sec)
            now = time.time()
        target = time.localtime(now + 60 - time.localtime(now).tm_sec)
        notes = os.path.join(self.folder.path, "笔记")
        os.mkdir(notes)
        with open(os.path.join(notes, "N021215 (1).pvl"), "wb") as f:
            f.write(note_with_daily_alarm(target.tm_hour, target.tm_min))

        self.folder.start()
        self.assertIsNotNone(e2e.wait_window(e2e.LOGIC_CLASS))
        self.assertIsNone(e2e.wait_window("PCN_NOTE", "-", 500), "no window before the minute")
        start_of_minute = time.mktime(target)
        wait_ms = int((start_of_minute - time.time() + 10) * 1000)
        note = e2e.wait_window("PCN_NOTE", "-", wait_ms)
        self.assertIsNotNone(note, "the alarm brought no window")
        self.assertLess(time.time() - start_of_minute, 10, "within a few seconds of the minute")
        self.assertGreaterEqual(time.time(), start_of_minute)


if __name__ == "__main__":
    unittest.main(verbosity=2)
