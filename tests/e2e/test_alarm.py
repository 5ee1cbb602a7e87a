"""An alarm fires from the real clock and the real timer: a note file with a daily
alarm for a coming minute, placed before start, brings its window up when that
minute begins."""
import time
import unittest

import pinvel_e2e as e2e


class AlarmFromTheClock(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)

    def test_window_appears_when_the_minute_begins(self):
        # Two minutes ahead: the minute of start itself is never checked, and Wine may
        # take many seconds to start the program under load.
        start_of_minute = (int(time.time()) // 60 + 2) * 60
        target = time.localtime(start_of_minute)
        when = 27134 + (target.tm_hour * 60 + target.tm_min) / 1440.0
        e2e.put_note(self.folder.path, "N021215 (1).pvl",
                     e2e.note_file("wake up", "tester", b"{\\rtf1 alarm}", alarms={("daily", 0): when}))

        self.folder.start()
        self.assertIsNotNone(e2e.wait_window(e2e.LOGIC_CLASS))
        self.assertIsNone(e2e.wait_window("PCN_NOTE", "-", 500), "no window before the minute")
        self.assertLess(time.time(), start_of_minute, "the program is up before the alarm's minute")
        wait_ms = int((start_of_minute - time.time() + 10) * 1000)
        note = e2e.wait_window("PCN_NOTE", "-", wait_ms)
        self.assertIsNotNone(note, "the alarm brought no window")
        self.assertLess(time.time() - start_of_minute, 10, "within a few seconds of the minute")
        self.assertGreaterEqual(time.time(), start_of_minute)


if __name__ == "__main__":
    unittest.main(verbosity=2)
