"""Damaged and hostile note files: each is loaded or skipped, a skipped one is left
exactly as it was, and the program neither crashes nor hangs, also when every loaded
note is shown."""
import os
import struct
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import note_file


def with_look(rect, stamp=27134.4375, info_kind=0):
    return note_file("look", "u", b"{\\rtf1 look}", look=e2e.DEFAULT_LOOK[:3] + (info_kind, 9) + rect,
                     stamps=(stamp, stamp))


def hostile_notes():
    """(file name, bytes, whether a reader may load it): every truncation of a real file,
    lengths that run past the end, dates that are not numbers, rectangles at the ends of
    the 32-bit range, text that is no RTF, and ten megabytes of text, more than a note's editor takes."""
    text = b"{\\rtf1\\ansi some {\\b bold} text\\par}"
    real = note_file("real note", "tester", text)
    files = [("real.pvl", real, True)]
    for cut in range(len(real)):
        files.append(("cut%04d.pvl" % cut, real[:cut], False))
    huge = bytearray(real)
    struct.pack_into("<I", huge, 9, 0xFFFFFFFF)
    files.append(("huge-title.pvl", bytes(huge), False))
    huge = bytearray(real)
    struct.pack_into("<I", huge, len(real) - len(text) - 4, 0x7FFFFFFF)
    files.append(("huge-text.pvl", bytes(huge), False))
    files.append(("nan-dates.pvl", with_look((10, 10, 300, 200), float("nan")), True))
    files.append(("inf-dates.pvl", with_look((10, 10, 300, 200), float("inf"), 1), True))
    files.append(("huge-date.pvl", with_look((10, 10, 300, 200), 1e300), True))
    top = 2 ** 31 - 1
    files.append(("rect-min.pvl", with_look((-2 ** 31, -2 ** 31, top, top)), True))
    files.append(("rect-max.pvl", with_look((0, 0, top, top)), True))
    files.append(("rect-upside-down.pvl", with_look((500, 400, 100, 50)), True))
    files.append(("garbage-rtf.pvl", note_file("garbage", "u", b"{\\rtf1 {{{{\\'zz\\u-99999?\\bin999999 }"), True))
    files.append(("not-rtf.pvl", note_file("binary", "u", bytes(range(256)) * 4), True))
    files.append(("ten-mb.pvl", note_file("big", "u", b"{\\rtf1 " + b"0123456789abcdef " * 600000 + b"}"), True))
    return files


class HostileFiles(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)

    def test_loaded_or_skipped_never_crashed(self):
        corpus = hostile_notes()
        for name, data, _ in corpus:
            e2e.put_note(self.folder.path, name, data)
        proc = self.folder.start()
        logic = e2e.wait_window(e2e.LOGIC_CLASS, timeout_ms=60000)
        self.assertIsNotNone(logic)
        loadable = sum(1 for _, _, ok in corpus if ok)

        tray = e2e.tray_window(logic)
        e2e.probe("post", tray, e2e.WM_COMMAND, 32791, 0)  # show all
        shown = e2e.poll(lambda: len(e2e.visible("PCN_NOTE")) == loadable and e2e.visible("PCN_NOTE"), 240)
        self.assertTrue(shown, "every sound file loads and shows, every damaged one is skipped")
        for w in shown:
            left, top, right, bottom = e2e.rect(w["hwnd"])
            self.assertLessEqual(right - left, 4000, "a note fits a screen")
        e2e.probe("post", tray, e2e.WM_COMMAND, 32792, 0)  # hide all
        self.assertEqual(self.folder.run("-exit", timeout=240), 0)
        self.assertEqual(proc.wait(timeout=120), 0, "ended normally")
        for name, data, ok in corpus:
            # Ten megabytes are more than a note's editor takes: shown cut short and
            # read-only, that note is never written over its whole text.
            if not ok or name == "ten-mb.pvl":
                with open(os.path.join(self.folder.path, e2e.NOTES, name), "rb") as f:
                    self.assertEqual(f.read(), data, name)


if __name__ == "__main__":
    unittest.main(verbosity=2)
