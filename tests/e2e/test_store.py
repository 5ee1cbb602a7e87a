"""Note files in the notes folder: loaded hidden at start, left alone at exit unless
they changed, and never damaged."""
import os
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import note_file


class NoteFolder(unittest.TestCase):
    def setUp(self):
        # Reads none of the program's texts: the folder stays exactly as the test wrote it.
        self.folder = e2e.ProgramFolder(language=None)
        self.addCleanup(self.folder.close)
        self.notes = os.path.join(self.folder.path, e2e.NOTES)

    def write(self, name, data):
        e2e.put_note(self.folder.path, name, data)

    def contents(self):
        result = {}
        for name in os.listdir(self.notes):
            with open(os.path.join(self.notes, name), "rb") as f:
                result[name] = f.read()
        return result

    def test_notes_load_hidden_and_their_files_stay_byte_for_byte(self):
        self.write("N021215 (1).pvl", note_file("购物", "anna", b"{\\rtf1 milk}"))
        self.write("N021215 (2).pvl", note_file("", "", b""))
        self.write("N021216 (1).pvl", note_file("newer", "x", b"{\\rtf1 y}", version=2))
        self.write("N021216 (2).pvl", note_file("cut", "x", b"{\\rtf1 y}")[:200])
        self.write("N021216 (3).pvl", b"PINVL\x01\x00\x00\x00\xff\xff\xff\xff")
        self.write("readme.txt", b"not a note")
        before = self.contents()

        proc = self.folder.start()
        logic = e2e.wait_window(e2e.LOGIC_CLASS)
        self.assertIsNotNone(logic)
        e2e.probe("send", logic, 0, 0, 0)  # WM_NULL: answered once every note is loaded
        owners = [w for w in e2e.children(logic) if w["cls"] == "PCN_DUMMY"]
        self.assertEqual(owners, [], "a note that was never shown has no window")
        visible = [w for w in e2e.top_level_windows() if w["visible"] and w["cls"].startswith("PCN_")]
        self.assertEqual(visible, [], "no note window opens at start")

        self.assertEqual(self.folder.run("-exit"), 0)
        self.assertEqual(proc.wait(timeout=15), 0)
        self.assertEqual(self.contents(), before)

        # Both are listed. Reading the list shows the last one and hides it again
        # unchanged: exit writes only what changed, so every file is still as it was.
        proc = self.folder.start()
        self.assertTrue(e2e.lists_notes(e2e.wait_window(e2e.LOGIC_CLASS), 2), "every loadable note is listed")
        self.assertEqual(self.folder.run("-exit"), 0)
        self.assertEqual(proc.wait(timeout=15), 0)
        self.assertEqual(self.contents(), before)


if __name__ == "__main__":
    unittest.main(verbosity=2)
