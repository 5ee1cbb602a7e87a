"""Find any note from the tray: the list follows what is typed with real keys, reads
notes that were never shown from their files and a shown note from its editor, and
Enter shows the chosen note."""
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import WM_COMMAND, note_file

FIND_NOTES = 32831
IDCANCEL = 2
IDC_FIND_NOTES_TEXT = 1141
IDC_FIND_NOTES_LIST = 1142
LVM_GETITEMCOUNT = 0x1004
EM_GETSEL = 0x00B0
CAPTION = "查找笔记"
CHINESE_FONT = b"{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 SimSun;}}\\f0 "


class FindNotes(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)

    def dialog(self):
        found = e2e.poll(lambda: [w for w in e2e.visible("#32770") if w["title"] == CAPTION], 10)
        self.assertTrue(found, "the find dialog comes up")
        return found[0]["hwnd"]

    def rows(self, dialog):
        [listing] = [c["hwnd"] for c in e2e.children(dialog) if c["id"] == IDC_FIND_NOTES_LIST]
        _, lines = e2e.probe("send", listing, LVM_GETITEMCOUNT, 0, 0)
        return int(lines[0])

    def test_typed_words_list_the_matching_notes_and_enter_shows_one(self):
        put = lambda name, title, rtf: e2e.put_note(self.folder.path, name, note_file(title, "anna", rtf))
        put("N021215 (1).pvl", "Groceries", CHINESE_FONT + b"milk\\par Brown BREAD box\\par eggs\\par bread box}")
        put("N021215 (2).pvl", "Bread recipe", b"{\\rtf1 flour\\par water}")
        put("N021215 (3).pvl", "购物", b"{\\rtf1 butter\\par jam}")
        # Two characters whose trail bytes are "B" and "b": "bread" only across them.
        put("N021215 (4).pvl", "工作", CHINESE_FONT + b"\\'b0Bread and \\'b0bread}")
        self.folder.start()
        logic = e2e.wait_window(e2e.LOGIC_CLASS)
        self.assertIsNotNone(logic)
        tray = e2e.tray_window(logic)
        self.assertIsNotNone(tray)

        # A note on screen is searched by what it shows, saved or not.
        fresh = e2e.new_note(tray)
        self.assertIsNotNone(fresh)
        self.assertTrue(e2e.type_into(fresh, "fresh bread"))

        e2e.probe("post", tray, WM_COMMAND, FIND_NOTES, 0)
        dialog = self.dialog()
        e2e.type_keys("bREAD")
        self.assertTrue(e2e.poll(lambda: self.rows(dialog) == 3, 10), self.rows(dialog))
        e2e.type_keys(" box")
        self.assertTrue(e2e.poll(lambda: self.rows(dialog) == 1, 10), self.rows(dialog))

        e2e.xdo("key", "Return")
        shown = lambda: [w for w in e2e.visible("PCN_NOTE") if w["hwnd"] != fresh]
        self.assertTrue(e2e.poll(lambda: len(shown()) == 1, 10), "Enter shows the note listed")
        edit = e2e.editor(shown()[0]["hwnd"])
        self.assertIn("Brown BREAD box", e2e.text(edit))
        # It comes up with the words found selected, and F3 goes on with them.
        def selection():
            _, sel = e2e.probe("send", edit, EM_GETSEL, 0, 0)
            return int(sel[0]) & 0xFFFF, int(sel[0]) >> 16
        self.assertEqual(selection(), (11, 20), "milk\\rBrown [BREAD box]")
        e2e.xdo("key", "F3")
        self.assertTrue(e2e.poll(lambda: selection() == (26, 35), 10), "eggs\\r[bread box]: %r" % (selection(),))

        # Closed, the dialog is kept; the command brings the same one back.
        e2e.probe("command", dialog, IDCANCEL)
        self.assertTrue(e2e.poll(lambda: not [w for w in e2e.visible("#32770") if w["title"] == CAPTION], 10))
        e2e.probe("post", tray, WM_COMMAND, FIND_NOTES, 0)
        self.assertEqual(self.dialog(), dialog)


if __name__ == "__main__":
    unittest.main(verbosity=2)
