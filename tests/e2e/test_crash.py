"""What was typed survives a crash: a note is saved when it is hidden (and within a
minute while it stays open), so killing the process loses nothing that was hidden."""
import os
import signal
import unittest

import pinvel_e2e as e2e


class KilledProcess(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)

    def test_a_hidden_note_survives_a_kill(self):
        proc = self.folder.start()
        logic = e2e.wait_window(e2e.LOGIC_CLASS)
        note = e2e.new_note(e2e.tray_window(logic))
        self.assertIsNotNone(note)
        self.assertTrue(e2e.type_into(note, "survives a crash"), "the note took the typed text")
        e2e.probe("post", note, e2e.WM_COMMAND, 32771, 0)  # Hide Note
        self.assertTrue(e2e.window_gone("PCN_NOTE", "-", 5000))

        os.kill(proc.pid, signal.SIGKILL)
        proc.wait(timeout=10)
        self.folder.running.remove(proc)

        files = e2e.saved_notes(self.folder.path)
        self.assertEqual(len(files), 1)
        with open(files[0], "rb") as f:
            self.assertIn(b"survives a crash", f.read())


if __name__ == "__main__":
    unittest.main(verbosity=2)
