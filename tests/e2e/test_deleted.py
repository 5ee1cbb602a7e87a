"""Deleting a note moves its file, saved first, into 笔记\\已删除; the tray's recently
deleted notes bring it back."""
import os
import time
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import WM_COMMAND, note_file

DELETED = "已删除"
NOTE_DELETE = 32772
FIRST_DELETED_COMMAND = 52000
WM_RBUTTONDOWN = 0x204


class DeletedNotes(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)
        self.name = "N021215 (1).pvl"
        self.stored = note_file("购物", "anna", b"{\\rtf1 milk}")
        self.path = e2e.put_note(self.folder.path, self.name, self.stored)
        self.deleted = os.path.join(self.folder.path, e2e.NOTES, DELETED, self.name)

    def read(self, path):
        with open(path, "rb") as f:
            return f.read()

    def test_a_deleted_note_keeps_its_last_words_and_comes_back_from_the_tray(self):
        self.folder.start()
        tray = e2e.tray_window(e2e.wait_window(e2e.LOGIC_CLASS))
        self.assertIsNotNone(tray)
        e2e.show_note(tray, 0)
        note = e2e.wait_window("PCN_NOTE")
        self.assertIsNotNone(note)
        self.assertTrue(e2e.type_into(note, "eggs"))

        # Deleted at once, before the minute's save: the typed word goes aside with it.
        deleted_at = time.time()
        e2e.probe("post", note, WM_COMMAND, NOTE_DELETE, 0)
        self.assertTrue(e2e.poll(lambda: not e2e.visible("PCN_NOTE")), "the note closes")
        self.assertTrue(e2e.poll(lambda: os.path.exists(self.deleted)))
        self.assertFalse(os.path.exists(self.path))
        aside = self.read(self.deleted)
        self.assertIn(b"eggs", aside)
        self.assertIn("购物".encode("gbk"), aside)
        self.assertLess(abs(os.path.getmtime(self.deleted) - deleted_at), 60, "stamped when it was deleted")

        # Its entry is chosen once the menu has closed, as a click on it would.
        e2e.tray_event(tray, WM_RBUTTONDOWN)
        self.assertTrue(e2e.poll(lambda: e2e.visible("#32768")), "the tray menu opens")
        self.assertTrue(e2e.click_menu_away())
        e2e.probe("post", tray, WM_COMMAND, FIRST_DELETED_COMMAND, 0)
        shown = e2e.poll(lambda: e2e.visible("PCN_NOTE"))
        self.assertTrue(shown, "the restored note is shown")
        self.assertIn("eggs", e2e.text(e2e.editor(shown[0]["hwnd"])) or "")
        self.assertEqual(self.read(self.path), aside, "back under its own name, byte for byte")
        self.assertFalse(os.path.exists(self.deleted))


if __name__ == "__main__":
    unittest.main(verbosity=2)
