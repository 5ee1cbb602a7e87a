"""Damaged and hostile note files: each is loaded or skipped, a skipped one is left
exactly as it was, and the program neither crashes nor hangs, also when every loaded
note is shown."""
import os
import time
import unittest

import pinvel_e2e as e2e
from hostile_notes import hostile_notes

WM_COMMAND = 0x0111


class HostileFiles(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)

    def test_loaded_or_skipped_never_crashed(self):
        notes = os.path.join(self.folder.path, "笔记")
        os.mkdir(notes)
        corpus = hostile_notes()
        for name, data, _ in corpus:
            with open(os.path.join(notes, name), "wb") as f:
                f.write(data)
        proc = self.folder.start()
        logic = e2e.wait_window(e2e.LOGIC_CLASS, timeout_ms=60000)
        self.assertIsNotNone(logic)
        loadable = sum(1 for _, _, ok in corpus if ok)
        owners = e2e.note_owners(logic, loadable)
        self.assertEqual(len(owners), loadable, "every sound file loads, every damaged one is skipped")

        tray = e2e.tray_window(logic)
        e2e.probe("post", tray, WM_COMMAND, 32791, 0)  # show all
        deadline = time.time() + 240
        while time.time() < deadline:
            shown = [w for w in e2e.top_level_windows() if w["cls"] == "PCN_NOTE" and w["visible"]]
            if len(shown) == loadable:
                break
            time.sleep(0.5)
        self.assertEqual(len(shown), loadable)
        for w in shown:
            _, lines = e2e.probe("rect", w["hwnd"])
            left, top, right, bottom = map(int, lines[0].split())
            self.assertLessEqual(right - left, 4000, "a note fits a screen")
        e2e.probe("post", tray, WM_COMMAND, 32792, 0)  # hide all
        self.assertEqual(self.folder.run("-exit", timeout=240), 0)
        self.assertEqual(proc.wait(timeout=120), 0, "ended normally")
        for name, data, ok in corpus:
            if not ok:
                with open(os.path.join(notes, name), "rb") as f:
                    self.assertEqual(f.read(), data, name)


if __name__ == "__main__":
    unittest.main(verbosity=2)
