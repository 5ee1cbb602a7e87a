"""The notes folder changed underneath the running program as a sync program changes it:
a file cut short arriving over typing, and a file renamed. Nothing typed is lost, nothing
is written over the other computer's file, and no copies pile up."""
import glob
import os
import time
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import HIDE_ALL, WM_COMMAND, note_file, poll


class ChangedUnderneath(unittest.TestCase):
    def setUp(self):
        e2e.clear_user_folders()
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)
        self.notes = os.path.join(self.folder.path, e2e.NOTES)
        e2e.put_note(self.folder.path, "N261207 (1).pvl", note_file("plan", "anna", b"{\\rtf1 first}"))
        e2e.put_note(self.folder.path, "N261207 (2).pvl", note_file("list", "anna", b"{\\rtf1 milk}"))

    def names(self):
        return sorted(os.path.basename(p) for p in glob.glob(os.path.join(self.notes, "*.pvl")))

    def test_a_cut_file_over_typing_and_a_rename_lose_nothing_and_copy_nothing(self):
        proc = self.folder.start()
        logic = e2e.wait_window(e2e.LOGIC_CLASS)
        tray = e2e.tray_window(logic)
        self.assertTrue(e2e.show_note(tray, 0))
        note = e2e.visible("PCN_NOTE")[0]["hwnd"]
        poll(lambda: e2e.text(e2e.editor(note)))
        first = "first" in (e2e.text(e2e.editor(note)) or "")
        self.assertTrue(e2e.type_into(note, "typed here"))

        # The other computer's version, cut short by its sync, lands over the typing.
        name = "N261207 (1).pvl" if first else "N261207 (2).pvl"
        other = "N261207 (2).pvl" if name == "N261207 (1).pvl" else "N261207 (1).pvl"
        path = os.path.join(self.notes, name)
        cut = note_file("plan", "bo", b"{\\rtf1 second}")[:70]
        with open(path, "wb") as f:
            f.write(cut)
        time.sleep(6)  # settled, looked at, and a minute's save may have come
        self.assertEqual(len(self.names()), 2, "no copy of the note")
        with open(path, "rb") as f:
            self.assertEqual(f.read(), cut, "nothing written over the file")
        self.assertIn("typed here", e2e.text(e2e.editor(note)) or "")

        # The other note is renamed by the sync program: the same note, nothing deleted.
        os.rename(os.path.join(self.notes, other), os.path.join(self.notes, "N261207 (5).pvl"))
        time.sleep(5)
        e2e.probe("post", tray, WM_COMMAND, HIDE_ALL, 0)
        poll(lambda: not e2e.visible("PCN_NOTE"))
        self.assertTrue(e2e.lists_notes(logic, 2), "listed once under its new name")
        self.assertFalse(os.path.exists(os.path.join(self.notes, "已删除", other)))

        # At exit the typing that could not be saved is kept for the next start.
        self.assertEqual(self.folder.run("-exit"), 0)
        self.assertEqual(proc.wait(timeout=30), 0)
        with open(path, "rb") as f:
            self.assertEqual(f.read(), cut)
        # Kept for the next start, or, when the other computer's version settled before the
        # exit, written beside it: either way, once, and not over the cut file.
        folder, kept = e2e.rescued()
        places = [os.path.join(folder, k) for k in kept] + [os.path.join(self.notes, k) for k in self.names()]
        holding = [p for p in places if b"typed here" in open(p, "rb").read()]
        self.assertEqual(len(holding), 1, (kept, self.names()))


if __name__ == "__main__":
    unittest.main(verbosity=2)
