"""What was typed survives a crash: a note is saved when it is hidden (and within a
minute while it stays open), so killing the process loses nothing that was hidden."""
import glob
import os
import signal
import subprocess
import time
import unittest

import pinvel_e2e as e2e

WM_COMMAND = 0x0111
WM_TRAY_NOTIFY = 0x7EA
WM_LBUTTONDBLCLK = 0x203


class KilledProcess(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)

    def test_a_hidden_note_survives_a_kill(self):
        proc = self.folder.start()
        logic = e2e.wait_window(e2e.LOGIC_CLASS)
        tray = e2e.tray_window(logic)
        e2e.probe("post", tray, WM_TRAY_NOTIFY, 1, WM_LBUTTONDBLCLK)
        note = e2e.wait_window("PCN_NOTE")
        self.assertIsNotNone(note)
        time.sleep(0.5)
        _, lines = e2e.probe("rect", note)
        left, top, right, bottom = map(int, lines[0].split())
        subprocess.run(["xdotool", "mousemove", str(left + 40), str(top + 60), "click", "1"], capture_output=True)
        subprocess.run(["xdotool", "type", "--delay", "30", "survives a crash"], capture_output=True)
        time.sleep(0.5)
        e2e.probe("post", note, WM_COMMAND, 32771, 0)  # Hide Note
        self.assertTrue(e2e.window_gone("PCN_NOTE", "-", 5000))

        os.kill(proc.pid, signal.SIGKILL)
        proc.wait(timeout=10)
        self.folder.running.remove(proc)

        files = glob.glob(os.path.join(self.folder.path, "笔记", "*.pvl"))
        self.assertEqual(len(files), 1)
        with open(files[0], "rb") as f:
            self.assertIn(b"survives a crash", f.read())


if __name__ == "__main__":
    unittest.main(verbosity=2)
