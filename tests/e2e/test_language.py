"""Text in any script: a title that code page 936 cannot hold keeps every character across
a restart, stored as 936 bytes where 936 has them and as GB18030's four-byte sequences
where it does not."""
import os
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import WM_COMMAND

NOTE_TITLE = 32776
TITLE = "Café ç ő 한국어 ☕"


class Language(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)
        self.path = e2e.put_note(self.folder.path, "N021215 (1).pvl",
                                 e2e.note_file("购物", "anna", b"{\\rtf1\\ansi milk\\par}"))

    def start(self):
        proc = self.folder.start()
        tray = e2e.tray_window(e2e.wait_window(e2e.LOGIC_CLASS))
        self.assertTrue(e2e.show_note(tray, 0))
        return proc, e2e.wait_window("PCN_NOTE")

    def exit(self, proc):
        self.assertEqual(self.folder.run("-exit"), 0)
        self.assertEqual(proc.wait(timeout=30), 0)

    def test_a_title_in_any_script_survives_a_restart(self):
        proc, note = self.start()
        e2e.probe("post", note, WM_COMMAND, NOTE_TITLE, 0)
        self.assertTrue(e2e.wait_window("#32770", "改变标题"))
        e2e.probe("clip", TITLE)
        e2e.xdo("key", "ctrl+a", "ctrl+v", "Return")
        self.assertTrue(e2e.poll(lambda: e2e.text(note) == TITLE), e2e.text(note))
        self.exit(proc)
        with open(self.path, "rb") as f:
            stored = f.read()
        # "Café ç " in 936 where it has them (é is A8A6), the rest as four bytes.
        self.assertIn(TITLE.encode("gb18030"), stored)
        self.assertIn(b"Caf\xa8\xa6 \x81\x30\x8a\x34 \x81\x30\x93\x32 ", stored)

        proc, note = self.start()
        self.assertEqual(e2e.text(note), TITLE)
        self.exit(proc)


if __name__ == "__main__":
    unittest.main(verbosity=2)
